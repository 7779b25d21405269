// The person's own library in the main window: the page 我的, the favourites item of the view's
// menu, the page's menu (export, import, clearing the history) and the random poem.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTabWidget>

#include "app/FavouritesFile.h"
#include "app/LibraryStore.h"
#include "app/Lookup.h"
#include "app/RandomPoem.h"
#include "app/Statements.h"
#include "app/sici.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/FileDialogs.h"
#include "platform/text/QtText.h"

namespace {

std::string now() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString(); }

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The poem of the collection that `poem` stands for: the one with its number when that one still
// has its title and author, else the one with its title and author; nothing when none does.
std::optional<long long> findInCollection(TUniConnection* catalogue, const LibraryPoem& poem) {
  const auto byId = Lookup(*catalogue, statements::PoemRow(AnsiString(std::to_string(poem.Id))));
  if (!byId->Eof() && byId->FieldByName("tm").AsString() == poem.Title && byId->FieldByName("zz").AsString() == poem.Author)
    return poem.Id;
  const auto byName = Lookup(*catalogue, statements::PoemByTitleAndAuthor(poem.Title, poem.Author));
  if (byName->Eof()) return std::nullopt;
  return byName->Fields()[0]->AsLargeInt();
}

constexpr const char* kFavouritesList = "select poem,tm as 作品,zz as 作者 from favourite order by rowid desc";
constexpr const char* kHistoryList =
    "select poem,tm as 作品,zz as 作者,substr(shown,1,16) as 时间 from history order by rowid desc limit 500";

}  // namespace

QString Tfsici::LibraryFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tavrin-sici/library.db");
}

LibraryStore* Tfsici::Library() {
  if (library_) return library_.get();
  try {
    library_ = std::make_unique<LibraryStore>(*c3, LibraryFile().toStdString());
  } catch (const LibraryError& error) {
    libraryStatus(QStringLiteral("我的收藏无法保存：") + fromUtf8(error.what()));
    return nullptr;
  }
  if (!library_->SetAside().empty())
    MessageBoxWithCaption(
        MessageBoxCaption(TMsgDlgType::mtWarning),
        QStringLiteral("原来的收藏和阅读记录文件无法使用（%1），已原样移到：\n%2\n\n现在从空的收藏开始。")
            .arg(fromUtf8(library_->SetAsideReason()), fromUtf8(library_->SetAside().string())),
        TMsgDlgType::mtWarning, mbOK);
  return library_.get();
}

void Tfsici::SetRandomSource(std::function<std::uint64_t()> source) {
  randomSource_ = std::move(source);
  randomPoem_.reset();
}

void Tfsici::libraryStatus(const QString& message) {
  Label4->setVisible(true);
  Label4->setText(message);
  Label4->setToolTip(message);
}

void Tfsici::libraryPoemShown(const LibraryPoem& poem) {
  shownPoem_ = std::make_unique<LibraryPoem>(poem);
  if (LibraryStore* library = Library()) {
    try {
      library->AddToHistory(poem, now());
    } catch (const LibraryError& error) {
      libraryStatus(QStringLiteral("阅读记录无法保存：") + fromUtf8(error.what()));
    }
  }
  updateFavouriteItem();
  if (PageControl1->currentWidget() == TabSheet4) refreshLibraryLists();
}

void Tfsici::libraryPoemGone() {
  shownPoem_.reset();
  updateFavouriteItem();
}

void Tfsici::updateFavouriteItem() {
  bool favourite = false;
  if (shownPoem_ && library_) {
    try {
      favourite = library_->IsFavourite(*shownPoem_);
    } catch (const LibraryError&) {
    }
  }
  N10->setEnabled(shownPoem_ != nullptr);
  N10->setText(favourite ? QStringLiteral("取消收藏") : QStringLiteral("收藏本诗"));
}

void Tfsici::refreshLibraryLists() {
  if (!Library()) return;
  // Another reader may have changed the file: the lists are read again whenever they are shown.
  try {
    for (auto [query, sql] : {std::pair{uq6, kFavouritesList}, std::pair{uq7, kHistoryList}}) {
      query->Close();
      query->SQL().SetText(text::fromQString(QString::fromUtf8(sql)));
      query->Open();
    }
  } catch (const std::exception& error) {
    libraryStatus(QStringLiteral("我的收藏无法读取：") + QString::fromLocal8Bit(error.what()));
    return;
  }
  DBGridEh5->Columns()[0]->SetVisible(false);
  DBGridEh6->Columns()[0]->SetVisible(false);
  DBGridEh5->Columns()[1]->SetWidth(155);
  DBGridEh6->Columns()[1]->SetWidth(110);
  DBGridEh6->Columns()[3]->SetWidth(90);
}

void Tfsici::showLibraryPage() {
  // Turning to the page reads its lists again by itself; on the page already, they are read here.
  if (PageControl1->currentWidget() == TabSheet4)
    refreshLibraryLists();
  else
    showPage(PageControl1->indexOf(TabSheet4));
}

void Tfsici::N10Click() {
  if (!shownPoem_) return;
  LibraryStore* library = Library();
  if (!library) return;
  const QString title = text::toQString(shownPoem_->Title);
  try {
    if (library->IsFavourite(*shownPoem_)) {
      library->RemoveFavourite(*shownPoem_);
      libraryStatus(QStringLiteral("已取消收藏：") + title);
    } else {
      library->AddFavourite(*shownPoem_, now());
      libraryStatus(QStringLiteral("已收藏：") + title);
    }
  } catch (const LibraryError& error) {
    libraryStatus(QStringLiteral("收藏无法保存：") + fromUtf8(error.what()));
  }
  updateFavouriteItem();
  showLibraryPage();
}

void Tfsici::openLibraryPoem(TDBGridEh& grid) {
  TDataSet* dataSet = grid.DataSet();
  if (!dataSet || !dataSet->Active() || dataSet->IsEmpty()) return;
  const LibraryPoem poem{dataSet->Fields()[0]->AsLargeInt(), dataSet->Fields()[1]->AsString(),
                         dataSet->Fields()[2]->AsString()};
  const std::optional<long long> id = findInCollection(c1, poem);
  if (!id) {
    libraryStatus(QStringLiteral("诗词库中已没有这首诗：") + text::toQString(poem.Title));
    return;
  }
  shownr(statements::PoemRow(AnsiString(std::to_string(*id))));
}

void Tfsici::ShowAgain() {
  if (shownPoem_) shownr(statements::PoemRow(AnsiString(std::to_string(shownPoem_->Id))));
}

void Tfsici::DBGridEh5CellClick(TColumnEh&) { openLibraryPoem(*DBGridEh5); }
void Tfsici::DBGridEh6CellClick(TColumnEh&) { openLibraryPoem(*DBGridEh6); }

void Tfsici::Label8Click() {
  if (!randomPoem_) randomPoem_ = std::make_unique<RandomPoem>(*c1, randomSource_);
  if (const std::optional<long long> id = randomPoem_->Choose()) shownr(statements::PoemRow(AnsiString(std::to_string(*id))));
}

void Tfsici::N14Click() {
  LibraryStore* library = Library();
  if (!library) return;
  if (MessageDlg("确定清空全部阅读记录吗？"_gbk, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) return;
  try {
    library->ClearHistory();
    libraryStatus(QStringLiteral("阅读记录已清空"));
  } catch (const LibraryError& error) {
    libraryStatus(QStringLiteral("阅读记录无法清空：") + fromUtf8(error.what()));
  }
  refreshLibraryLists();
}

void Tfsici::N11Click() {
  LibraryStore* library = Library();
  if (!library) return;
  const QString file = ChooseFileToSave(this, QStringLiteral("导出收藏"), QDir::home().filePath(QStringLiteral("我的收藏.txt")),
                                        QStringLiteral("文本文件 (*.txt)"));
  if (file.isEmpty()) return;
  try {
    std::vector<favourites::Line> lines;
    for (const LibraryPoem& poem : library->Favourites())
      lines.push_back({text::ansiToUtf8(poem.Title), text::ansiToUtf8(poem.Author), poem.Id});
    const std::string bytes = favourites::Write(lines);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !out.commit()) {
      libraryStatus(QStringLiteral("无法写入 %1：%2").arg(file, out.errorString()));
      return;
    }
    libraryStatus(QStringLiteral("已导出%1首收藏到 %2").arg(lines.size()).arg(file));
  } catch (const LibraryError& error) {
    libraryStatus(QStringLiteral("收藏无法读取：") + fromUtf8(error.what()));
  }
}

void Tfsici::N12Click() {
  LibraryStore* library = Library();
  if (!library) return;
  const QString file = ChooseFileToOpen(this, QStringLiteral("导入收藏"), QDir::homePath(), QStringLiteral("文本文件 (*.txt)"));
  if (file.isEmpty()) return;
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    libraryStatus(QStringLiteral("无法读取 %1：%2").arg(file, in.errorString()));
    return;
  }
  // Never more than a favourites file can be: a larger one is refused by the parser's bound.
  const QByteArray bytes = in.read(static_cast<qint64>(favourites::kMaxBytes) + 1);
  favourites::Read read;
  try {
    read = favourites::Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  } catch (const favourites::FileError& error) {
    MessageBoxWithCaption(MessageBoxCaption(TMsgDlgType::mtError), fromUtf8(error.what()), TMsgDlgType::mtError, mbOK);
    return;
  }
  std::vector<LibraryPoem> found;
  QStringList missing;
  for (const favourites::Line& line : read.Lines) {
    const LibraryPoem poem{line.Id.value_or(0), text::utf8ToAnsi(line.Title), text::utf8ToAnsi(line.Author)};
    if (const std::optional<long long> id = findInCollection(c1, poem))
      found.push_back({*id, poem.Title, poem.Author});
    else
      missing << fromUtf8(line.Title) + QStringLiteral(" / ") + fromUtf8(line.Author);
  }
  int added = 0;
  try {
    added = library->AddFavourites(found, now());
  } catch (const LibraryError& error) {
    libraryStatus(QStringLiteral("收藏无法保存：") + fromUtf8(error.what()));
    return;
  }
  showLibraryPage();
  QString report = QStringLiteral("新增收藏%1首，已在收藏中%2首。").arg(added).arg(found.size() - static_cast<std::size_t>(added));
  if (!missing.isEmpty()) {
    report += QStringLiteral("\n%1首在本诗词库中找不到：\n").arg(missing.size());
    report += QStringList(missing.mid(0, 10)).join(QLatin1Char('\n'));
    if (missing.size() > 10) report += QStringLiteral("\n……");
  }
  if (!read.Unreadable.empty()) {
    QStringList numbers;
    for (const int n : read.Unreadable) numbers << QString::number(n);
    report += QStringLiteral("\n%1行无法读取（第%2行）。").arg(read.Unreadable.size()).arg(numbers.mid(0, 20).join(QStringLiteral("、")));
  }
  libraryStatus(QStringLiteral("已导入收藏：新增%1首").arg(added));
  MessageBoxWithCaption(MessageBoxCaption(TMsgDlgType::mtInformation), report, TMsgDlgType::mtInformation, mbOK);
}
