#include "app/sici.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/CollectionCaption.h"
#include "app/LibraryStore.h"
#include "app/Maker.h"
#include "app/PinyinSearch.h"
#include "app/RandomPoem.h"
#include "app/ReadingComfort.h"
#include "app/ShippedSkin.h"
#include "app/Statements.h"
#include "app/Unit3.h"
#include "data/sqlite/SQLiteUniProvider.h"
#include "data/access/Uni.h"
#include "data/access/UniQuery.h"
#include "platform/db/DataSource.h"
#include "grid/DBGridEh.h"
#include "platform/forms/Anchors.h"
#include "platform/forms/Application.h"
#include "platform/forms/Clickable.h"
#include "platform/forms/ControlProperties.h"
#include "platform/forms/HideSelection.h"
#include "platform/forms/ListBox.h"
#include "platform/forms/OverlaidTextEdit.h"
#include "platform/forms/Shell.h"
#include "platform/text/QtText.h"
#include "platform/text/Rtf.h"
#include "skin/forms/WinSkinData.h"

Tfsici* fsici = nullptr;
AnsiString SearchWord;

namespace {

const QColor kNavy(0, 0, 128);
const QColor kPurple(128, 0, 128);
// 16776176 in the window description: blue 255, green 251, red 240.
const QColor kPoemBackground(240, 251, 255);

QFont songti(int pixels) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixels);
  return font;
}

void colour(QWidget* widget, const QColor& text) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  palette.setColor(QPalette::Text, text);
  widget->setPalette(palette);
}

QFont pixelFont(const QFont& base, int pixels) {
  QFont font = base;
  font.setPixelSize(pixels);
  return font;
}

TDBGridEh* grid(QWidget* parent, const char* name, const QFont& font, int titlePixels) {
  auto* g = new TDBGridEh(parent);
  g->setObjectName(QString::fromLatin1(name));
  g->setFont(font);
  g->SetTitleFont(pixelFont(font, titlePixels));
  g->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgRowSelect | dgConfirmDelete |
                dgCancelOnExit);
  g->SetFlat(true);
  // Columns are built once the window's description has been read.
  g->BeginLoading();
  return g;
}

TClickLabel* link(QWidget* parent, const char* name, const QString& caption, int left) {
  auto* label = Place(new TClickLabel(caption, parent), name, left, 2, 0, 16);
  label->adjustSize();
  label->setCursor(Qt::PointingHandCursor);
  label->setFont(pixelFont(parent->font(), 11));
  colour(label, kNavy);
  return label;
}

const QStringList kDynasties = {QStringLiteral("秦"), QStringLiteral("汉"), QStringLiteral("魏晋"), QStringLiteral("南北"),
                                QStringLiteral("隋"), QStringLiteral("唐"), QStringLiteral("五代"), QStringLiteral("宋"),
                                QStringLiteral("辽"), QStringLiteral("金"), QStringLiteral("元"), QStringLiteral("明"),
                                QStringLiteral("清"), QStringLiteral("近代"), QStringLiteral("现代")};

}  // namespace

Tfsici::Tfsici(QWidget* parent) : TForm("fsici", parent) {
  fsici = this;
  setWindowTitle(CollectionCaption());
  QFont base(QStringLiteral("MS Sans Serif"));
  base.setPixelSize(11);
  setFont(base);
  resize(807, 585);

  buildListPages();
  buildPoemView();
  buildSearchBoxes();
  buildStatusLine();
  // The skin comes first, so that an error box of a connection that fails to open is already
  // drawn from it.
  buildSkin();
  buildDataComponents();
  // The description is read: the skin loads and the connections open now, in their stored
  // order, and the grids lay out their columns.
  try {
    FinishLoading();
    for (TDBGridEh* g : {DBGridEh1, DBGridEh2, DBGridEh3, DBGridEh4, DBGridEh5, DBGridEh6}) g->Loaded();
  } catch (const std::exception& error) {
    // The window's creation fails, but its error box is shown while the window still holds
    // the skin, so the box is drawn from it; what goes on is the silent EAbort.
    Application->ShowException(error);
    throw EAbort();
  }
  connectEvents();
  AddReadingComfort(*this);
  try {
    FormCreate();
  } catch (const std::exception& error) {
    // The window opens all the same, on whatever page it had reached.
    Application->ShowException(error);
  }
}

void Tfsici::FormCreate() {
  firstRunCheck();
  initialLists();
}

void Tfsici::initialLists() {
  reopen(uq2, statements::TangPoets());
  DBGridEh2->Columns()[0]->SetWidth(155);
  reopen(uq3, statements::FixedAuthorWorks());
  DBGridEh1->Columns()[1]->SetWidth(155);
  DBGridEh1->Columns()[2]->SetWidth(55);
  DBGridEh3->Columns()[0]->SetVisible(false);
  DBGridEh4->Columns()[0]->SetVisible(false);
  rc->clear();
  showPage(1);
}

void Tfsici::connectEvents() {
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(eso, &QLineEdit::returnPressed, this, [this] {
    char key = '\r';
    esoKeyPress(key);
  });
  connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
  static_cast<TClickEdit*>(zz)->OnClick = [this] { zzClick(); };
  static_cast<TClickEdit*>(bt)->OnClick = [this] { btClick(); };
  static_cast<TClickEdit*>(Edit1)->OnClick = [this] { Edit1Click(); };
  connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
  ListBox1->OnClick = [this] { ListBox1Click(); };
  DBGridEh1->OnCellClick = [this](TColumnEh& column) { DBGridEh1CellClick(column); };
  DBGridEh2->OnCellClick = [this](TColumnEh& column) { DBGridEh2CellClick(column); };
  DBGridEh3->OnCellClick = [this](TColumnEh& column) { DBGridEh3CellClick(column); };
  DBGridEh4->OnCellClick = [this](TColumnEh& column) { DBGridEh4CellClick(column); };
  DBGridEh2->OnTitleClick = [this](TColumnEh& column) { DBGridEh2TitleClick(column); };
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
    if (!pageFromCode_) PageControl1Change();
  });
  connect(N1, &QAction::triggered, this, [this] { N1Click(); });
  connect(N2, &QAction::triggered, this, [this] { N2Click(); });
  connect(N4, &QAction::triggered, this, [this] { N4Click(); });
  connect(N6, &QAction::triggered, this, [this] { N6Click(); });

  DBGridEh5->OnCellClick = [this](TColumnEh& column) { DBGridEh5CellClick(column); };
  DBGridEh6->OnCellClick = [this](TColumnEh& column) { DBGridEh6CellClick(column); };
  connect(N10, &QAction::triggered, this, [this] { N10Click(); });
  connect(N11, &QAction::triggered, this, [this] { N11Click(); });
  connect(N12, &QAction::triggered, this, [this] { N12Click(); });
  connect(N14, &QAction::triggered, this, [this] { N14Click(); });
  connect(N15, &QAction::triggered, this, [this] { Label8Click(); });
  static_cast<TClickLabel*>(Label8)->OnClick = [this] { Label8Click(); };
  // Another reader may have changed the library: its lists are read again whenever they are shown.
  connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
    if (PageControl1->currentWidget() == TabSheet4) refreshLibraryLists();
  });
}

Tfsici::~Tfsici() {
  if (fsici == this) fsici = nullptr;
}

void Tfsici::buildListPages() {
  GroupBox1 = Place(new QGroupBox(this), "GroupBox1", 8, 96, 273, 464);
  SetAnchors(GroupBox1, akLeft | akTop | akBottom);
  PageControl1 = new QTabWidget(GroupBox1);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setFont(pixelFont(font(), 13));
  auto* frame = new QVBoxLayout(GroupBox1);
  frame->setContentsMargins(4, 4, 4, 4);
  frame->addWidget(PageControl1);

  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  Edit1 = new TClickEdit(QStringLiteral("请输入作品名称"), TabSheet1);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  colour(Edit1, kPurple);
  DBGridEh4 = grid(TabSheet1, "DBGridEh4", songti(16), 11);
  auto* results = new QVBoxLayout(TabSheet1);
  results->setContentsMargins(0, 0, 0, 0);
  results->setSpacing(0);
  results->addWidget(Edit1);
  results->addWidget(DBGridEh4);
  PageControl1->addTab(TabSheet1, QStringLiteral("检索结果"));

  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  ListBox1 = new TListBox(TabSheet2);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setFont(songti(16));
  ListBox1->setFixedWidth(57);
  ListBox1->addItems(kDynasties);
  ListBox1->setCurrentRow(-1);
  DBGridEh2 = grid(TabSheet2, "DBGridEh2", PageControl1->font(), 13);
  DBGridEh3 = grid(TabSheet2, "DBGridEh3", PageControl1->font(), 13);
  auto* poets = new QVBoxLayout;
  poets->setSpacing(0);
  poets->addWidget(DBGridEh2, 1);
  poets->addWidget(DBGridEh3, 1);
  auto* byDynasty = new QHBoxLayout(TabSheet2);
  byDynasty->setContentsMargins(0, 0, 0, 0);
  byDynasty->setSpacing(0);
  byDynasty->addWidget(ListBox1);
  byDynasty->addLayout(poets, 1);
  PageControl1->addTab(TabSheet2, QStringLiteral("按朝代检索"));

  TabSheet3 = new QWidget;
  TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
  DBGridEh1 = grid(TabSheet3, "DBGridEh1", songti(16), 13);
  auto* all = new QVBoxLayout(TabSheet3);
  all->setContentsMargins(0, 0, 0, 0);
  all->addWidget(DBGridEh1);
  PageControl1->addTab(TabSheet3, QStringLiteral("浏览全部"));

  TabSheet4 = new QWidget;
  TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
  DBGridEh5 = grid(TabSheet4, "DBGridEh5", songti(16), 13);
  DBGridEh6 = grid(TabSheet4, "DBGridEh6", songti(16), 13);
  auto* mine = new QVBoxLayout(TabSheet4);
  mine->setContentsMargins(0, 0, 0, 0);
  mine->setSpacing(0);
  mine->addWidget(DBGridEh5, 1);
  mine->addWidget(DBGridEh6, 1);
  PageControl1->addTab(TabSheet4, QStringLiteral("我的"));

  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
  const auto item = [this](const char* name, const QString& caption) {
    QAction* action = caption == QStringLiteral("-") ? PopupMenu2->addSeparator() : PopupMenu2->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  N11 = item("N11", QStringLiteral("导出收藏…"));
  N12 = item("N12", QStringLiteral("导入收藏…"));
  N13 = item("N13", QStringLiteral("-"));
  N14 = item("N14", QStringLiteral("清空阅读记录"));
  for (TDBGridEh* list : {DBGridEh5, DBGridEh6}) {
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(list, &QWidget::customContextMenuRequested, this,
                     [this, list](const QPoint& at) { PopupMenu2->popup(list->mapToGlobal(at)); });
  }
}

void Tfsici::buildPoemView() {
  GroupBox2 = Place(new QGroupBox(QStringLiteral("Tavrin诗词大全"), this), "GroupBox2", 288, 96, 515, 464);
  SetAnchors(GroupBox2, akLeft | akTop | akRight | akBottom);
  rc = new TOverlaidTextEdit(GroupBox2);
  rc->setObjectName(QStringLiteral("rc"));
  rc->setReadOnly(true);
  HideSelectionWhileUnfocused(*rc);
  rc->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  rc->setFont(songti(16));
  QPalette palette = rc->palette();
  palette.setColor(QPalette::Base, kPoemBackground);
  rc->setPalette(palette);
  auto* frame = new QVBoxLayout(GroupBox2);
  frame->setContentsMargins(4, 4, 4, 4);
  frame->addWidget(rc);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  const auto item = [this](const char* name, const QString& caption) {
    QAction* action = caption == QStringLiteral("-") ? PopupMenu1->addSeparator() : PopupMenu1->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  N1 = item("N1", QStringLiteral("复制"));
  N2 = item("N2", QStringLiteral("全选"));
  N6 = item("N6", QStringLiteral("查诗词"));
  N3 = item("N3", QStringLiteral("-"));
  N4 = item("N4", QStringLiteral("复制全诗词"));
  N9 = item("N9", QStringLiteral("显示拼音"));
  // The shortcuts work anywhere in the window, not only while the menu is open.
  N9->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  addAction(N9);
  N10 = item("N10", QStringLiteral("收藏本诗"));
  N10->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  N10->setEnabled(false);
  addAction(N10);
  N16 = item("N16", QStringLiteral("繁体"));
  N16->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
  addAction(N16);
  N17 = item("N17", QStringLiteral("竖排"));
  N17->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V));
  addAction(N17);
  N18 = item("N18", QStringLiteral("打印…"));
  N19 = item("N19", QStringLiteral("保存为图片…"));
  N15 = new QAction(QStringLiteral("随机一首"), this);
  N15->setObjectName(QStringLiteral("N15"));
  N15->setShortcut(QKeySequence(Qt::Key_F5));
  addAction(N15);
  N7 = item("N7", QStringLiteral("-"));
  N8 = item("N8", QStringLiteral("关于"));
  QObject::connect(N8, &QAction::triggered, this, [this] { N8Click(); });
  rc->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(rc, &QWidget::customContextMenuRequested, this,
                   [this](const QPoint& at) { PopupMenu1->popup(rc->viewport()->mapToGlobal(at)); });
}

void Tfsici::buildSearchBoxes() {
  GroupBox3 = Place(new QGroupBox(QStringLiteral("快速检索"), this), "GroupBox3", 8, 8, 369, 81);
  Label1 = Place(new QLabel(QStringLiteral("请输入："), GroupBox3), "Label1", 10, 22, 84, 22);
  Label1->setFont(songti(19));
  colour(Label1, kNavy);
  eso = Place(new QLineEdit(GroupBox3), "eso", 96, 20, 145, 24);
  Button1 = Place(new QPushButton(QStringLiteral("查找"), GroupBox3), "Button1", 256, 18, 64, 28);
  Button1->setFont(songti(16));
  colour(Button1, kNavy);
  r1 = Place(new QRadioButton(QStringLiteral("标题"), GroupBox3), "r1", 20, 52, 70, 20);
  r3 = Place(new QRadioButton(QStringLiteral("作者"), GroupBox3), "r3", 110, 52, 70, 20);
  r2 = Place(new QRadioButton(QStringLiteral("内容"), GroupBox3), "r2", 200, 52, 70, 20);
  r1->setChecked(true);

  GroupBox4 = Place(new QGroupBox(QStringLiteral("高级搜索"), this), "GroupBox4", 384, 8, 417, 81);
  SetAnchors(GroupBox4, akLeft | akTop | akRight);
  const auto pick = [this](const char* name, int left, const QString& any, const QStringList& entries) {
    auto* box = Place(new QComboBox(GroupBox4), name, left, 20, 100, 22);
    box->setEditable(false);
    box->addItem(any);
    box->addItems(entries);
    box->setCurrentIndex(0);
    return box;
  };
  cd = pick("cd", 10, QStringLiteral("朝代不限"), kDynasties);
  tc = pick("tc", 116, QStringLiteral("体裁不限"),
            {QStringLiteral("五律"), QStringLiteral("七绝"), QStringLiteral("七律"), QStringLiteral("五古"),
             QStringLiteral("乐府"), QStringLiteral("五排"), QStringLiteral("五绝"), QStringLiteral("七古"),
             QStringLiteral("杂言"), QStringLiteral("散曲"), QStringLiteral("七言"), QStringLiteral("四古"),
             QStringLiteral("五言"), QStringLiteral("七排"), QStringLiteral("六古")});
  lb = pick("lb", 222, QStringLiteral("类别不限"),
            {QStringLiteral("怀古"), QStringLiteral("记时"), QStringLiteral("静物"), QStringLiteral("动物"),
             QStringLiteral("山水"), QStringLiteral("酬赠"), QStringLiteral("答谢"), QStringLiteral("边塞"),
             QStringLiteral("送别"), QStringLiteral("记景"), QStringLiteral("羁旅"), QStringLiteral("田园"),
             QStringLiteral("论人生"), QStringLiteral("记物"), QStringLiteral("闺情"), QStringLiteral("题物"),
             QStringLiteral("记人"), QStringLiteral("代简"), QStringLiteral("论政"), QStringLiteral("留别"),
             QStringLiteral("记兵"), QStringLiteral("记事"), QStringLiteral("人民"), QStringLiteral("怀人"),
             QStringLiteral("题画"), QStringLiteral("记游"), QStringLiteral("抒怀")});
  Label2 = Place(new QLabel(QStringLiteral("作者："), GroupBox4), "Label2", 10, 52, 40, 20);
  zz = Place(new TClickEdit(QStringLiteral("包含字"), GroupBox4), "zz", 50, 50, 106, 22);
  colour(zz, kPurple);
  Label3 = Place(new QLabel(QStringLiteral("标题："), GroupBox4), "Label3", 166, 52, 40, 20);
  bt = Place(new TClickEdit(QStringLiteral("包含字"), GroupBox4), "bt", 206, 50, 116, 22);
  colour(bt, kPurple);
  SpeedButton1 = Place(new QToolButton(GroupBox4), "SpeedButton1", 334, 18, 72, 54);
  SpeedButton1->setText(QStringLiteral("搜索"));
  SpeedButton1->setAutoRaise(true);
  SpeedButton1->setFont(songti(16));
  colour(SpeedButton1, kNavy);
}

void Tfsici::buildStatusLine() {
  Panel1 = Place(new QWidget(this), "Panel1", 0, height() - 20, width(), 20);
  Panel1->setProperty(kClassNameProperty, QStringLiteral("TPanel"));
  SetAnchors(Panel1, akLeft | akRight | akBottom);
  Label4 = Place(new QLabel(Panel1), "Label4", 0, 2, 273, 16);
  Label7 = link(Panel1, "Label7", kMakerHost, 294);
  Label8 = link(Panel1, "Label8", QStringLiteral("随机一首"), 570);
  Label5 = link(Panel1, "Label5", QStringLiteral("关于Tavrin诗词"), 632);
  Label6 = link(Panel1, "Label6", QStringLiteral("官方主页"), 736);
  static_cast<TClickLabel*>(Label7)->OnClick = [this] { Label6Click(); };
  static_cast<TClickLabel*>(Label5)->OnClick = [this] { Label5Click(); };
  static_cast<TClickLabel*>(Label6)->OnClick = [this] { Label6Click(); };
}

// The window's skin, stored with its description: every window of the program is drawn from it
// a quarter of a second after the window is loaded.
void Tfsici::buildSkin() {
  SkinData1 = new TSkinData(&Components(), this);
  SkinData1->SetName("SkinData1");
  SkinData1->ReadSkinStream(ShippedSkinStream());
  SkinData1->SetActive(true);
}

void Tfsici::buildDataComponents() {
  // In the window's stored order: each connection exists before the queries that use it,
  // and the active queries open right after their connection once loading ends.
  const auto source = [this](const char* name) {
    auto* s = new TDataSource(&Components());
    s->SetName(name);
    return s;
  };
  const auto query = [this](const char* name, TUniConnection* connection) {
    auto* q = new TUniQuery(&Components());
    q->SetName(name);
    q->SetConnection(connection);
    return q;
  };
  DataSource1 = source("DataSource1");
  c1 = new TUniConnection(&Components());
  c1->SetName("c1");
  c1->SetProviderName("SQLite");
  c1->SetDatabase("sici.idb");
  c1->SpecificOptions().Add("SQLite.ASCIIDataBase=True");
  c1->SpecificOptions().Add("SQLite.EncryptionKey=lirn4302986K");
  c1->SetConnected(true);
  uq1 = query("uq1", c1);
  uq1->SQL().Add("select id,tm as 作品,zz as 作者 from sici"_gbk);
  uq1->SetActive(true);

  SQLiteUniProvider1 = new TSQLiteUniProvider(&Components());
  SQLiteUniProvider1->SetName("SQLiteUniProvider1");

  DataSource2 = source("DataSource2");
  DataSource3 = source("DataSource3");
  uq2 = query("uq2", c1);
  uq3 = query("uq3", c1);
  uq4 = query("uq4", c1);
  uq4->SQL().Add("select id,tm as 作品 from sici"_gbk);
  uq4->SetActive(true);
  DataSource4 = source("DataSource4");
  DataSource1->SetDataSet(uq1);
  DataSource2->SetDataSet(uq2);
  DataSource3->SetDataSet(uq3);
  DataSource4->SetDataSet(uq4);
  DBGridEh1->SetDataSource(DataSource1);
  DBGridEh2->SetDataSource(DataSource2);
  DBGridEh3->SetDataSource(DataSource3);
  DBGridEh4->SetDataSource(DataSource4);

  c2 = new TUniConnection(&Components());
  c2->SetName("c2");
  c2->SetProviderName("SQLite");
  c2->SetDatabase("sici.dbf");
  c2->SpecificOptions().Add("SQLite.ASCIIDataBase=True");
  c2->SetConnected(true);
  uq5 = query("uq5", c1);

  // The person's library, opened at its first use, never at start-up.
  c3 = new TUniConnection(&Components());
  c3->SetName("c3");
  uq6 = query("uq6", c3);
  uq7 = query("uq7", c3);
  DataSource5 = source("DataSource5");
  DataSource6 = source("DataSource6");
  DataSource5->SetDataSet(uq6);
  DataSource6->SetDataSet(uq7);
  DBGridEh5->SetDataSource(DataSource5);
  DBGridEh6->SetDataSource(DataSource6);
}

void Tfsici::FormActivate() {
  rc->clear();
  libraryPoemGone();
  QFile readme(QStringLiteral("readme.txt"));
  if (!readme.exists() || !readme.open(QIODevice::ReadOnly)) return;
  const QByteArray bytes = readme.readAll();
  const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  rc->setPlainText(text::toQString(rtf::isRichText(content) ? rtf::plainText(content) : AnsiString(content)));
}

void Tfsici::Label5Click() { Form3->ShowModal(); }

void Tfsici::N8Click() { Form3->ShowModal(); }

void Tfsici::Label6Click() { ShellExecute(this, QStringLiteral("Open"), kHomePage); }
