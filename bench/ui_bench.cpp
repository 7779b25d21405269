// The reader's own window over the real collection, under the offscreen platform: a content
// search from the click to the painted list against the data layer's search alone, showing
// poems, one keystroke of the title filter, searches by pinyin and poems shown with pinyin, the
// full list read to its end, the person's library (a favourite added, a random poem, the start
// with a large library), the start of the whole program, and the skinned repaint. A second
// argument is put before every figure's name (bench/run passes "all_" for the collection of
// every poem).

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPrinter>
#include <QRadioButton>
#include <QTextEdit>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/LibraryStore.h"
#include "app/PoemColumns.h"
#include "app/PoemPinyin.h"
#include "app/PoemPrinting.h"
#include "app/PoemSheet.h"
#include "app/PoemSource.h"
#include "app/VerticalPoemView.h"
#include "app/Program.h"
#include "app/Statements.h"
#include "app/sici.h"
#include "bench/bench_util.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"

namespace {

using bench::median;
using bench::print;

// The number of poems in the collection, as the tool that built it wrote it down.
long long poemCount() {
  std::ifstream file("sici.poems");
  long long count = 0;
  file >> count;
  return count;
}

double msSince(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

template <class Condition>
bool runEventsUntil(Condition done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// The window as the person sees it: drawn from its skin, the frame painted.
bool skinned(Tfsici& main) {
  TSkinManage* manager = TSkinManage::Instance();
  TWinSkinForm* skinner = manager ? manager->SkinnerOf(&main) : nullptr;
  return skinner && !skinner->Initial();
}

// Repainting the whole main window drawn from its skin against the platform's drawing of the
// same window at the same outer size, in alternating rounds.
bool skinnedPaintRatio(Tfsici& main) {
  std::vector<double> skinnedMs, plainMs;
  for (int round = 0; round < 3; ++round) {
    const QSize outer = main.size();
    skinnedMs.push_back(bench::bestMs(20, [&] { main.repaint(); }));
    main.SkinData1->SetActive(false);
    if (!runEventsUntil([&] { return !TSkinManage::Instance()->SkinnerOf(&main); })) return false;
    main.resize(outer);
    QApplication::processEvents();
    plainMs.push_back(bench::bestMs(20, [&] { main.repaint(); }));
    main.SkinData1->SetActive(true);
    if (!runEventsUntil([&] { return skinned(main); })) return false;
    main.resize(outer);
    QApplication::processEvents();
  }
  const double skinnedBest = *std::min_element(skinnedMs.begin(), skinnedMs.end());
  const double plainBest = *std::min_element(plainMs.begin(), plainMs.end());
  print("skinned_paint_ms", skinnedBest);
  print("unskinned_paint_ms", plainBest);
  print("skinned_paint_ratio", skinnedBest / plainBest);
  return true;
}

}  // namespace

// "--peak-rss PROGRAM ARGUMENTS…": runs the program and prints its peak resident memory in KiB,
// measured from this program before it has grown.
int peakRss(char** command) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    execv(command[0], command);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return 1;
  std::printf("%ld\n", usage.ru_maxrss);
  return 0;
}

int main(int argc, char** argv) {
  if (argc > 2 && std::string_view(argv[1]) == "--peak-rss") return peakRss(argv + 2);
  const std::filesystem::path folder = std::filesystem::absolute(bench::collectionFolder(argc, argv));
  if (argc > 2) bench::namePrefix = argv[2];
  const QString reader = QString::fromStdString(
      (std::filesystem::absolute(argv[0]).parent_path() / "sici").string());
  std::filesystem::current_path(folder);
  // Settings and a library of its own, so that the figures never depend on the person's, nor
  // change them.
  QTemporaryDir configHome;
  qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
  QTemporaryDir dataHome;
  qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
  TApplication application(argc, argv);
  application.SetTitle("Tavrin诗词大全"_gbk);
  // A first start in this folder asks about a desktop link: no.
  SetMessageBoxPresenter([](const TMessageBoxRequest&) { return int{mrNo}; });
  std::unique_ptr<Tfsici> main = CreateWindows(application);
  if (!main) return 1;
  main->resize(807, 585);
  main->show();
  if (!runEventsUntil([&] { return skinned(*main); })) return 1;

  // The data layer's content search alone: the lookup on the text file, read to its end.
  const AnsiString word = "明月"_gbk;
  const double layerMs = bench::bestMs(3, [&] {
    TUniQuery lookup(nullptr);
    lookup.SetConnection(main->c2);
    lookup.SQL().Add(statements::TextsContaining(word));
    lookup.Open();
    for (; !lookup.Eof(); lookup.Next()) {
    }
  });
  main->r2->setChecked(true);
  main->eso->setText(QStringLiteral("明月"));
  const double uiMs = bench::bestMs(3, [&] {
    main->Button1Click();
    main->DBGridEh4->viewport()->repaint();
  });
  print("content_search_layer_ms", layerMs);
  print("content_search_ui_ms", uiMs);
  print("content_search_ui_ratio", uiMs / layerMs);

  // 1000 poems spread evenly over the whole collection, with a two-character word to mark:
  // enough for the 99th percentile to rest on ten shows.
  SearchWord = word;
  constexpr int kShows = 1000;
  const long long poems = poemCount();
  if (poems < kShows) return 1;
  std::vector<double> shows;
  for (int i = 0; i < kShows; ++i) {
    const AnsiString id = std::to_string(1 + i * poems / kShows);
    QElapsedTimer timer;
    timer.start();
    main->shownr(statements::PoemRow(id));
    main->rc->viewport()->repaint();
    shows.push_back(msSince(timer));
  }
  print("show_poem_ms", median(shows));
  print("show_poem_p99_ms", bench::percentile(shows, 0.99));
  print("show_poem_max_ms", *std::max_element(shows.begin(), shows.end()));

  std::vector<double> keys;
  for (const QString& key : {QStringLiteral("春"), QStringLiteral("秋"), QStringLiteral("月"), QStringLiteral("山"),
                             QStringLiteral("江")}) {
    main->Edit1->clear();
    QElapsedTimer timer;
    timer.start();
    main->Edit1->setText(key);
    main->DBGridEh4->viewport()->repaint();
    keys.push_back(msSince(timer));
  }
  print("title_filter_ms", median(keys));

  // Pinyin: the first search reads the catalogue's syllables; later ones walk memory. Initials of
  // common titles, typed into the quick search, to the painted list.
  main->r1->setChecked(true);
  const auto pinyinSearch = [&](const QString& typed) {
    main->eso->setText(typed);
    QElapsedTimer timer;
    timer.start();
    main->Button1Click();
    main->DBGridEh4->viewport()->repaint();
    return msSince(timer);
  };
  print("pinyin_search_first_ms", pinyinSearch(QStringLiteral("cx")));
  std::vector<double> pinyinSearches;
  for (int round = 0; round < 3; ++round)
    for (const QString& typed : {QStringLiteral("cx"), QStringLiteral("qy"), QStringLiteral("jys"), QStringLiteral("sb"),
                                 QStringLiteral("dgql")})
      pinyinSearches.push_back(pinyinSearch(typed));
  print("pinyin_search_ms", median(pinyinSearches));

  // A poem shown with pinyin on; the first use loads the dictionary.
  PoemPinyin* pinyin = PoemPinyinOf(*main);
  if (!pinyin) return 1;
  QElapsedTimer firstUse;
  firstUse.start();
  pinyin->SetShown(true);
  if (!pinyin->Shown()) return 1;
  print("pinyin_first_use_ms", msSince(firstUse));
  std::vector<double> pinyinShows;
  for (int i = 0; i < 200; ++i) {
    const AnsiString id = std::to_string(1 + i * poems / 200);
    QElapsedTimer timer;
    timer.start();
    main->shownr(statements::PoemRow(id));
    main->rc->viewport()->repaint();
    pinyinShows.push_back(msSince(timer));
  }
  print("pinyin_show_poem_ms", median(pinyinShows));
  pinyin->SetShown(false);

  // The source's script and the columns, over the same poems and the longest.
  std::vector<AnsiString> sample;
  for (int i = 0; i < kShows; ++i) sample.push_back(std::to_string(1 + i * poems / kShows));
  {
    TUniQuery longest(nullptr);
    longest.SetConnection(main->c2);
    longest.SQL().Add("select id from sici order by length(nr) desc limit 1");
    longest.Open();
    sample.push_back(longest.Fields()[0]->AsString());
  }
  const auto showAll = [&](QWidget* painted) {
    std::vector<double> times;
    for (const AnsiString& id : sample) {
      QElapsedTimer timer;
      timer.start();
      main->shownr(statements::PoemRow(id));
      painted->repaint();
      times.push_back(msSince(timer));
    }
    return times;
  };
  PoemSource* source = PoemSourceOf(*main);
  PoemColumns* columns = PoemColumnsOf(*main);
  if (!source || !columns) return 1;
  source->SetTraditional(true);
  const std::vector<double> traditional = showAll(main->rc->viewport());
  source->SetTraditional(false);
  print("traditional_show_poem_ms", median(traditional));
  print("traditional_show_poem_max_ms", *std::max_element(traditional.begin(), traditional.end()));
  columns->SetVertical(true);
  const std::vector<double> vertical = showAll(columns->Columns()->viewport());
  print("vertical_show_poem_ms", median(vertical));
  print("vertical_show_poem_max_ms", *std::max_element(vertical.begin(), vertical.end()));
  // The longest poem printed into a PDF, across and in columns.
  main->shownr(statements::PoemRow(sample.back()));
  QTemporaryDir pdfs;
  for (const bool inColumns : {false, true}) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfs.filePath(QStringLiteral("poem.pdf")));
    QElapsedTimer timer;
    timer.start();
    if (!PrintPoem(printer, columns->Sheet(), inColumns, main->rc->font())) return 1;
    print(inColumns ? "print_pdf_vertical_ms" : "print_pdf_ms", msSince(timer));
  }
  columns->SetVertical(false);
  print("text_file_mib", static_cast<double>(std::filesystem::file_size("sici.dbf")) / (1024.0 * 1024.0));
  if (!skinnedPaintRatio(*main)) return 1;

  // The library: Ctrl+D to the painted page 我的, each time adding or removing the shown poem.
  const auto key = [&](int code, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, code, modifiers);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers);
    QApplication::sendEvent(main.get(), &press);
    QApplication::sendEvent(main.get(), &release);
  };
  std::vector<double> toggles;
  for (int i = 0; i < 40; ++i) {
    main->shownr(statements::PoemRow(std::to_string(1 + (i / 2) * poems / 20)));
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    key(Qt::Key_D, Qt::ControlModifier);
    main->DBGridEh5->viewport()->repaint();
    toggles.push_back(msSince(timer));
  }
  print("favourite_toggle_ms", median(toggles));
  // F5 to the painted poem.
  std::vector<double> randoms;
  for (int i = 0; i < 100; ++i) {
    QElapsedTimer timer;
    timer.start();
    key(Qt::Key_F5, Qt::NoModifier);
    main->rc->viewport()->repaint();
    randoms.push_back(msSince(timer));
    QApplication::processEvents();
  }
  print("random_poem_ms", median(randoms));
  print("random_poem_max_ms", *std::max_element(randoms.begin(), randoms.end()));

  // The full list read to its end, as Ctrl+End in its grid does; memory is what it costs.
  main->PageControl1->setCurrentIndex(2);
  main->DBGridEh1->setFocus();
  QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
  QElapsedTimer toEnd;
  toEnd.start();
  QApplication::sendEvent(main->DBGridEh1, &end);
  main->DBGridEh1->viewport()->repaint();
  print("end_ms", msSince(toEnd));
  print("end_rss_mib", bench::peakRssMiB());
  main.reset();

  // The whole program: from starting the process to its main window painted with its lists, with
  // the library of the person given by `data` (an XDG data home).
  const auto startup = [&](const QString& data) {
    std::vector<double> starts;
    for (int i = 0; i < 5; ++i) {
      QProcess process;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
      process.setProcessEnvironment(environment);
      QElapsedTimer timer;
      timer.start();
      process.start(reader, {QStringLiteral("--painted")});
      if (!process.waitForReadyRead(10000)) return -1.0;
      starts.push_back(msSince(timer));
      process.waitForFinished(10000);
    }
    return median(starts);
  };
  const double emptyStart = startup(dataHome.path() + QStringLiteral("/empty"));
  print("startup_ms", emptyStart);
  print("ui_peak_rss_mib", bench::peakRssMiB());

  // A library of 10,000 favourites and 500 poems read.
  QTemporaryDir largeHome;
  {
    TUniConnection connection(nullptr);
    LibraryStore library(connection, (largeHome.path() + QStringLiteral("/tavrin-sici/library.db")).toStdString());
    std::vector<LibraryPoem> favourites;
    for (long long id = 1; id <= 10000; ++id)
      favourites.push_back({id, "title" + std::to_string(id), "author" + std::to_string(id % 300)});
    library.AddFavourites(favourites, "2026-12-10 10:00:00");
    for (long long id = 1; id <= 500; ++id) library.AddToHistory(favourites[id - 1], "2026-12-10 10:00:00");
  }
  // What the library costs at its first use, when a poem is first shown: opening and checking it.
  QElapsedTimer opening;
  opening.start();
  {
    TUniConnection connection(nullptr);
    LibraryStore library(connection, (largeHome.path() + QStringLiteral("/tavrin-sici/library.db")).toStdString());
  }
  print("library_first_use_ms", msSince(opening));
  const double largeStart = startup(largeHome.path());
  print("library_startup_ms", largeStart);
  print("library_startup_difference_ms", largeStart - emptyStart);
  // The peak memory of that start-up, of the reader's process alone: started from a fresh, small
  // copy of this program, so that no memory of this one is counted in.
  QProcess measure;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_DATA_HOME"), largeHome.path());
  measure.setProcessEnvironment(environment);
  measure.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--peak-rss"), reader, QStringLiteral("--painted")});
  if (!measure.waitForFinished(20000)) return 1;
  print("library_startup_peak_rss_mib", measure.readAllStandardOutput().trimmed().toDouble() / 1024.0);
  return 0;
}
