#pragma once
// The main window: quick and advanced search, the list pages, the poem view and the status
// line, over the catalogue (c1) and the text file (c2).

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/Form.h"

class LibraryStore;
class PinyinSearch;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class TListBox;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;
class QToolButton;
class TColumnEh;
class TDBGridEh;
class TDataSource;
class TSQLiteUniProvider;
class TSkinData;
class TUniConnection;
class TUniQuery;
class RandomPoem;
struct LibraryPoem;

class Tfsici : public TForm {
 public:
  explicit Tfsici(QWidget* parent = nullptr);
  ~Tfsici() override;

  // Controls, in the order the window declares them.
  QGroupBox* GroupBox1;
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QWidget* TabSheet3;
  TDataSource* DataSource1;
  TUniConnection* c1;
  TUniQuery* uq1;
  TSQLiteUniProvider* SQLiteUniProvider1;
  TDBGridEh* DBGridEh1;
  TListBox* ListBox1;
  TDBGridEh* DBGridEh2;
  TDBGridEh* DBGridEh3;
  TDBGridEh* DBGridEh4;
  TDataSource* DataSource2;
  TDataSource* DataSource3;
  TUniQuery* uq2;
  TUniQuery* uq3;
  TUniQuery* uq4;
  TDataSource* DataSource4;
  QLineEdit* Edit1;
  QGroupBox* GroupBox2;
  QTextEdit* rc;
  TUniConnection* c2;
  QGroupBox* GroupBox3;
  QLabel* Label1;
  QLineEdit* eso;
  QPushButton* Button1;
  QRadioButton* r1;
  QRadioButton* r2;
  QRadioButton* r3;
  TUniQuery* uq5;
  QGroupBox* GroupBox4;
  QComboBox* cd;
  QComboBox* tc;
  QComboBox* lb;
  QLineEdit* zz;
  QLabel* Label2;
  QLabel* Label3;
  QLineEdit* bt;
  QToolButton* SpeedButton1;
  QMenu* PopupMenu1;
  QAction* N1;
  QAction* N2;
  QAction* N3;
  QAction* N4;
  QAction* N6;
  QAction* N7;
  QAction* N8;
  QAction* N9;
  QWidget* Panel1;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QLabel* Label7;
  TSkinData* SkinData1;

  // The person's own library: the page 我的 with the favourites and the reading history over
  // library.db (c3), the view menu's 收藏本诗 / 取消收藏 (Ctrl+D), the page's menu with export,
  // import and clearing, and a random poem (F5 and the status line's 随机一首).
  QWidget* TabSheet4;
  TDBGridEh* DBGridEh5;
  TDBGridEh* DBGridEh6;
  TDataSource* DataSource5;
  TDataSource* DataSource6;
  TUniConnection* c3;
  TUniQuery* uq6;
  TUniQuery* uq7;
  QAction* N10;
  QMenu* PopupMenu2;
  QAction* N11;
  QAction* N12;
  QAction* N13;
  QAction* N14;
  QAction* N15;
  QLabel* Label8;
  // The poem as its source wrote it (繁体, Ctrl+Shift+T), in columns (竖排, Ctrl+Shift+V), on
  // paper (打印…) and as a picture (保存为图片…).
  QAction* N16;
  QAction* N17;
  QAction* N18;
  QAction* N19;

  // Creation: the first-run question, then the lists of the dynasty page.
  void FormCreate();

  // The poem view and the result list.
  void shownr(const AnsiString& sql);
  void showxx(const AnsiString& sql, int mode);
  void RearchAndReplace(const AnsiString& findText, const AnsiString& replaceText);

  // Searching and browsing.
  void Button1Click();
  void esoKeyPress(char& key);
  void SpeedButton1Click();
  void zzClick();
  void btClick();
  void Edit1Click();
  void Edit1Change();
  void ListBox1Click();
  void DBGridEh1CellClick(TColumnEh& column);
  void DBGridEh2CellClick(TColumnEh& column);
  void DBGridEh3CellClick(TColumnEh& column);
  void DBGridEh4CellClick(TColumnEh& column);
  void DBGridEh2TitleClick(TColumnEh& column);
  void PageControl1Change();

  // The text menu and the links.
  void N1Click();
  void N2Click();
  void N4Click();
  void N6Click();
  void N8Click();
  void Label5Click();
  void Label6Click();

  // The personal library.
  void N10Click();
  void N11Click();
  void N12Click();
  void N14Click();
  void Label8Click();
  void DBGridEh5CellClick(TColumnEh& column);
  void DBGridEh6CellClick(TColumnEh& column);
  // The library, opened at its first use; null when it cannot be had (the status line said why).
  LibraryStore* Library();
  // Where library.db lives: the user's data folder, never the collection's.
  static QString LibraryFile();
  // Shows the shown poem again, as a change of how poems are shown requires.
  void ShowAgain();
  // Replaces the random poem's source of numbers; for checking how even the choice is.
  void SetRandomSource(std::function<std::uint64_t()> source);

  // Writes a link that starts `target` into a special folder (`folderId` >= 0) or into
  // `directory`; true when the link file was saved.
  bool CreateShortcut(const AnsiString& target, const AnsiString& linkName, const AnsiString& directory, int folderId);

 protected:
  void FormActivate() override;

 private:
  void firstRunCheck();
  void initialLists();
  void openPoem(TDBGridEh& grid);
  // The scratch list replaced by `ids` in one transaction, or left as it was; `batched` sends
  // many ids a statement instead of one.
  void fillScratch(const std::vector<AnsiString>& ids, bool batched = false);
  // Lists the poems whose title (or author) the pinyin `typed` spells, through the scratch list.
  void showByPinyin(const AnsiString& typed, bool author, bool fromStart, int mode);
  PinyinSearch& pinyinSearch();
  std::unique_ptr<PinyinSearch> pinyinSearch_;
  // A list query closed, given `sql` as its text and opened again.
  void reopen(TUniQuery* query, const AnsiString& sql);
  void connectEvents();
  // Shows a page from code: the page control's change handler does not run.
  void showPage(int index);
  bool pageFromCode_ = false;
  void buildSearchBoxes();
  void buildListPages();
  void buildPoemView();
  void buildStatusLine();
  void buildDataComponents();
  void buildSkin();
  // A poem is shown: it goes into the history and becomes the one 收藏本诗 takes.
  void libraryPoemShown(const LibraryPoem& poem);
  // The view holds no poem (the read-me).
  void libraryPoemGone();
  void refreshLibraryLists();
  // Shows the page 我的 with its lists read afresh.
  void showLibraryPage();
  void updateFavouriteItem();
  void libraryStatus(const QString& message);
  void openLibraryPoem(TDBGridEh& grid);
  std::unique_ptr<LibraryStore> library_;
  std::unique_ptr<LibraryPoem> shownPoem_;
  std::unique_ptr<RandomPoem> randomPoem_;
  std::function<std::uint64_t()> randomSource_;
};

// The main window, while it exists.
extern Tfsici* fsici;

// The word the poem view marks in red; set by the searches.
extern AnsiString SearchWord;
