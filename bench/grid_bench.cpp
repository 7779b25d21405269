// The reader's data grid against Qt's own pair, QTableView over QSqlQueryModel, both showing the
// list of every poem of the real collection in a window of the main window's list size, under
// the offscreen platform: the list opened to its first painted rows, Ctrl+End to its last row in
// time and in peak memory, and the wheel through the list. The Qt side reads a plain UTF-8 copy
// of the list that every run makes in a temporary folder. A second argument is put before every
// figure's name (bench/run passes "all_" for the collection of every poem).
//
// Peak memory is measured in a process of each side's own, which this program starts as
// "grid_bench rss-ours FOLDER" and "grid_bench rss-qt FILE ROW_HEIGHT".

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/Statements.h"
#include "bench/bench_connection.h"
#include "bench/bench_util.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/db/DataSource.h"
#include "platform/forms/Application.h"
#include "platform/text/QtText.h"

namespace {

// The size the list of every poem has in the main window at the window's own size, 807 x 585.
const QSize kListSize(255, 414);
// The main window's list font and title font.
constexpr int kListPixels = 16;
constexpr int kTitlePixels = 13;
// The widths the main window gives 作品 and 作者; it hides the number.
constexpr int kTitleWidth = 155;
constexpr int kAuthorWidth = 55;
constexpr int kTimedRuns = 9;
constexpr int kEndRuns = 5;
constexpr int kWheelNotches = 1000;

[[noreturn]] void fail(const std::string& why) {
  std::fprintf(stderr, "grid_bench: %s\n", why.c_str());
  std::exit(1);
}

QFont songti(int pixels) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixels);
  return font;
}

// Counts the paint events a viewport receives, so that every timed paint is known to have painted.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& viewport) { viewport.installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// One side of the comparison: a view of the poem list in a window of its own.
class PoemList {
 public:
  virtual ~PoemList() = default;
  virtual QAbstractScrollArea& view() = 0;
  // The whole list, or the same columns without a row.
  virtual void open(bool empty) = 0;
  virtual void toEnd() = 0;
  // Whether the last row of the list is in view.
  virtual bool lastRowInView() = 0;
  virtual int rows() = 0;

  void show() {
    view().resize(kListSize);
    view().show();
    view().activateWindow();
    view().setFocus();
    counter_ = std::make_unique<PaintCounter>(*view().viewport());
    QApplication::processEvents();
  }
  // viewport()->repaint() paints at once under the offscreen platform as on a desktop.
  void paint() {
    const int before = counter_->count;
    view().viewport()->repaint();
    if (counter_->count == before) fail("a repaint did not paint");
  }
  void openPainted(bool empty) {
    open(empty);
    paint();
  }
  // A notch of the wheel turned towards the end of the list, at the middle of the view.
  void wheelDown() {
    QWidget& viewport = *view().viewport();
    const QPointF at(viewport.width() / 2.0, viewport.height() / 2.0);
    QWheelEvent wheel(at, viewport.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&viewport, &wheel);
  }

 private:
  std::unique_ptr<PaintCounter> counter_;
};

// The reader's list: connection, query, data source and grid set up as the main window sets
// up its list of every poem.
class OurList : public PoemList {
 public:
  explicit OurList(const std::string& folder) {
    bench::connect(connection_, folder + "/sici.idb", true);
    query_.SetConnection(&connection_);
    source_.SetDataSet(&query_);
    grid_.setFont(songti(kListPixels));
    grid_.SetTitleFont(songti(kTitlePixels));
    grid_.SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgRowSelect | dgConfirmDelete |
                     dgCancelOnExit);
    grid_.SetFlat(true);
    grid_.SetDataSource(&source_);
  }
  TUniConnection& connection() { return connection_; }
  // Rows and their grid lines, as the Qt view is given them.
  int rowPitch() const { return grid_.DefaultRowHeight() + grid_.GridLineWidth(); }

  QAbstractScrollArea& view() override { return grid_; }
  void open(bool empty) override {
    query_.Close();
    query_.SQL().Clear();
    query_.SQL().Add(empty ? statements::AllPoems() + " where 0" : statements::AllPoems());
    query_.Open();
    grid_.Columns()[0]->SetVisible(false);
    grid_.Columns()[1]->SetWidth(kTitleWidth);
    grid_.Columns()[2]->SetWidth(kAuthorWidth);
  }
  void toEnd() override {
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(&grid_, &end);
  }
  bool lastRowInView() override { return query_.Eof() && query_.RecNo() == query_.RecordCount(); }
  int rows() override { return query_.RecordCount(); }

 private:
  TUniConnection connection_{nullptr};
  TUniQuery query_{nullptr};
  TDataSource source_{nullptr};
  TDBGridEh grid_;
};

const QString kPlainConnection = QStringLiteral("plain");

// Qt's pair over the plain copy, with the grid's fonts, widths, row height and row selection.
class QtList : public PoemList {
 public:
  QtList(const QString& file, int rowPitch) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kPlainConnection);
    db.setDatabaseName(file);
    if (!db.open()) fail("cannot open the plain copy: " + db.lastError().text().toStdString());
    view_.setModel(&model_);
    view_.setFont(songti(kListPixels));
    view_.horizontalHeader()->setFont(songti(kTitlePixels));
    // No row numbers: the grid shows no indicator column.
    view_.verticalHeader()->hide();
    view_.verticalHeader()->setMinimumSectionSize(1);
    view_.verticalHeader()->setDefaultSectionSize(rowPitch);
    view_.setSelectionBehavior(QAbstractItemView::SelectRows);
    view_.setSelectionMode(QAbstractItemView::SingleSelection);
  }
  ~QtList() override {
    model_.clear();
    QSqlDatabase::removeDatabase(kPlainConnection);
  }

  QAbstractScrollArea& view() override { return view_; }
  void open(bool empty) override {
    const QString list = text::toQString(statements::AllPoems());
    model_.setQuery(empty ? list + QStringLiteral(" where 0") : list, QSqlDatabase::database(kPlainConnection));
    if (model_.lastError().isValid()) fail("Qt's query: " + model_.lastError().text().toStdString());
    view_.setColumnHidden(0, true);
    view_.setColumnWidth(1, kTitleWidth);
    view_.setColumnWidth(2, kAuthorWidth);
    view_.scrollToTop();
  }
  void toEnd() override {
    while (model_.canFetchMore()) model_.fetchMore();
    view_.scrollToBottom();
  }
  bool lastRowInView() override {
    const int top = view_.rowViewportPosition(model_.rowCount() - 1);
    return top >= 0 && top < view_.viewport()->height();
  }
  int rows() override { return model_.rowCount(); }

 private:
  QSqlQueryModel model_;
  QTableView view_;
};

// The list read through the data layer into a plain UTF-8 SQLite file.
void writePlainCopy(TUniConnection& connection, const QString& file) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copy"));
    db.setDatabaseName(file);
    if (!db.open()) fail("cannot write the plain copy: " + db.lastError().text().toStdString());
    QSqlQuery(QStringLiteral("CREATE TABLE sici(id INTEGER PRIMARY KEY, tm VARCHAR, zz VARCHAR)"), db);
    db.transaction();
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO sici VALUES (?, ?, ?)"));
    TUniQuery list(nullptr);
    list.SetConnection(&connection);
    list.SQL().Add(statements::AllPoems());
    for (list.Open(); !list.Eof(); list.Next()) {
      insert.bindValue(0, static_cast<qlonglong>(list.Fields()[0]->AsLargeInt()));
      insert.bindValue(1, text::toQString(list.Fields()[1]->AsString()));
      insert.bindValue(2, text::toQString(list.Fields()[2]->AsString()));
      if (!insert.exec()) fail("cannot write the plain copy: " + insert.lastError().text().toStdString());
    }
    db.commit();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("copy"));
}

// A figure of /proc/self/status ("VmHWM", "VmRSS") in MiB.
double statusMiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024.0;
  fail("no " + key + " in /proc/self/status");
}

// In a process of its own: the list shown over an empty result, then the whole list to its last
// row. Prints the growth of the peak resident memory between the two and the process's peak.
int measurePeak(PoemList& list) {
  list.open(true);
  list.show();
  list.paint();
  QApplication::processEvents();
  const double peakBefore = statusMiB("VmHWM");
  // Writing 5 sets the peak back to the present resident size, so that the growth is this
  // part's own and not an earlier peak's.
  std::ofstream("/proc/self/clear_refs") << "5";
  const double baseline = statusMiB("VmRSS");
  if (statusMiB("VmHWM") > baseline + 1.0)
    std::fprintf(stderr, "grid_bench: the peak could not be reset; the growth may be overstated\n");
  list.openPainted(false);
  list.toEnd();
  list.paint();
  if (!list.lastRowInView()) fail("the last row is not in view");
  const double peakAfter = statusMiB("VmHWM");
  std::printf("%.3f %.3f\n", peakAfter - baseline, std::max(peakBefore, peakAfter));
  return 0;
}

struct Peak {
  double growth = 0, whole = 0;
};

Peak peakOf(const QStringList& arguments) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(), arguments);
  if (!child.waitForFinished(600000) || child.exitCode() != 0) fail("the memory run failed");
  Peak peak;
  std::istringstream(child.readAllStandardOutput().toStdString()) >> peak.growth >> peak.whole;
  return peak;
}

// Alternating the two sides round by round, so that both meet the same load on a shared machine;
// `prepare` runs untimed before each timed `work`.
template <class Prepare, class Work>
std::pair<double, double> medianPair(OurList& ours, QtList& qt, int runs, Prepare prepare, Work work) {
  PoemList* const sides[] = {&ours, &qt};
  std::vector<double> ms[2];
  for (int round = 0; round < runs; ++round)
    for (int side = 0; side < 2; ++side) {
      prepare(*sides[side]);
      QApplication::processEvents();
      ms[side].push_back(bench::bestMs(1, [&] { work(*sides[side]); }));
    }
  return {bench::median(ms[0]), bench::median(ms[1])};
}

double wheelMsPerStep(PoemList& list) {
  list.openPainted(false);
  QApplication::processEvents();
  return bench::bestMs(1, [&] {
           for (int i = 0; i < kWheelNotches; ++i) {
             list.wheelDown();
             list.paint();
           }
         }) /
         kWheelNotches;
}

}  // namespace

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "rss-ours") {
    OurList ours(argv[2]);
    return measurePeak(ours);
  }
  if (mode == "rss-qt" && argc > 3) {
    QtList qt(QString::fromLocal8Bit(argv[2]), std::stoi(argv[3]));
    return measurePeak(qt);
  }
  const std::string folder = bench::collectionFolder(argc, argv);
  if (argc > 2) bench::namePrefix = argv[2];

  QTemporaryDir temporary;
  const QString plainFile = temporary.filePath(QStringLiteral("sici-utf8.db"));
  OurList ours(folder);
  writePlainCopy(ours.connection(), plainFile);
  ours.show();
  QtList qt(plainFile, ours.rowPitch());
  qt.show();

  const auto empty = [](PoemList& list) { list.openPainted(true); };
  const auto whole = [](PoemList& list) { list.openPainted(false); };
  const auto [firstPaintMs, qtFirstPaintMs] = medianPair(ours, qt, kTimedRuns, empty, whole);
  const auto [endMs, qtEndMs] = medianPair(ours, qt, kEndRuns, whole, [](PoemList& list) {
    list.toEnd();
    list.paint();
  });
  if (!ours.lastRowInView() || !qt.lastRowInView()) fail("the last row is not in view");
  if (ours.rows() != qt.rows()) fail("the two sides disagree on the number of rows");
  const int rows = ours.rows();

  const double scrollMs = wheelMsPerStep(ours);
  const double qtScrollMs = wheelMsPerStep(qt);

  const Peak ourPeak = peakOf({QStringLiteral("rss-ours"), QString::fromStdString(folder)});
  const Peak qtPeak = peakOf({QStringLiteral("rss-qt"), plainFile, QString::number(ours.rowPitch())});

  bench::print("grid_rows", rows);
  bench::print("grid_first_paint_ms", firstPaintMs);
  bench::print("qt_first_paint_ms", qtFirstPaintMs);
  bench::print("grid_end_ms", endMs);
  bench::print("qt_end_ms", qtEndMs);
  bench::print("grid_end_ratio", endMs / qtEndMs);
  bench::print("grid_scroll_ms_per_step", scrollMs);
  bench::print("qt_scroll_ms_per_step", qtScrollMs);
  bench::print("grid_rss_growth_mib", ourPeak.growth);
  bench::print("qt_rss_growth_mib", qtPeak.growth);
  bench::print("grid_rss_ratio", ourPeak.growth / qtPeak.growth);
  bench::print("grid_peak_rss_mib", ourPeak.whole);
  return 0;
}
