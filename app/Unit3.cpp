#include "app/Unit3.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "app/Maker.h"
#include "app/sici.h"
#include "platform/forms/ApplicationEvents.h"
#include "platform/forms/Clickable.h"
#include "platform/forms/Shell.h"
#include "platform/forms/WebBrowser.h"

TForm3* Form3 = nullptr;

namespace {

const QColor kNavy(0, 0, 128);

void navy(QWidget* widget, int pixels) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, kNavy);
  palette.setColor(QPalette::ButtonText, kNavy);
  widget->setPalette(palette);
  QFont font = widget->font();
  font.setPixelSize(pixels);
  widget->setFont(font);
}

// True when `child` lies inside `parent`, not counting `parent` itself.
bool isChild(const QWidget* parent, const QObject* child) {
  for (const QObject* o = child ? child->parent() : nullptr; o; o = o->parent())
    if (o == parent) return true;
  return false;
}

}  // namespace

TForm3::TForm3(QWidget* parent) : TForm("Form3", parent) {
  Form3 = this;
  setWindowTitle(QStringLiteral("Tavrin诗词大全"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  QFont base(QStringLiteral("MS Sans Serif"));
  base.setPixelSize(11);
  setFont(base);
  setFixedSize(576, 462);

  GroupBox1 = Place(new QGroupBox(QStringLiteral("关于Tavrin诗词"), this), "GroupBox1", 16, 8, 545, 185);
  Button1 = Place(new QPushButton(QStringLiteral("返回"), this), "Button1", 488, 424, 73, 33);
  navy(Button1, 13);
  QObject::connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  Label1 = Place(new QLabel(GroupBox1), "Label1", 16, 24, 513, 129);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont description = Label1->font();
  description.setPixelSize(13);
  Label1->setFont(description);
  WebBrowser1 = Place(new TWebBrowser(this), "WebBrowser1", 16, 200, 545, 217);
  // The error text tells a person nothing; the window's own page stands in for the maker's. It
  // is made when the window shows, never at the program's start.
  WebBrowser1->OnNavigateError = [this](bool& cancel) {
    cancel = true;
    ownPage_ = true;
    if (isVisible()) showOwnPage();
  };
  WebBrowser1->viewport()->installEventFilter(this);
  ApplicationEvents1 = new TApplicationEvents(&Components());
  ApplicationEvents1->SetName("ApplicationEvents1");
  ApplicationEvents1->OnMessage = [this](QObject* receiver, QEvent* event, bool& handled) {
    ApplicationEvents1Message(receiver, event, handled);
  };
  auto* home = Place(new TClickLabel(QStringLiteral("官方主页: ") + kMakerHost + QStringLiteral(" "), GroupBox1), "Label2",
                     16, 160, 201, 16);
  home->setCursor(Qt::PointingHandCursor);
  home->OnClick = [this] { Label2Click(); };
  Label2 = home;
  auto* homeToo = Place(new TClickLabel(QStringLiteral("官方主页"), this), "Label3", 16, 432, 73, 16);
  homeToo->setCursor(Qt::PointingHandCursor);
  navy(homeToo, 13);
  homeToo->OnClick = [this] { Label3Click(); };
  Label3 = homeToo;

  FinishLoading();
  FormCreate();
}

TForm3::~TForm3() {
  if (Form3 == this) Form3 = nullptr;
}

void TForm3::FormCreate() {
  Label1->setText(QStringLiteral(
      "诗词大全Tavrin版为绿色免费软件，收录诗词104862首,包括了先秦至现代五千余位中国著名诗词作家的代表作品。"
      "每首诗词包括题目、作者、年代、体裁、类别、内容等信息；比较出名的诗词篇目带有详细的注释、译文、赏析。"
      "数据库量大，内容丰富，查找功能方便快捷。诗词大全Tavrin版是一个学习充电的好工具。"));
  WebBrowser1->Navigate(kStatisticsPage);
}

void TForm3::Button1Click() { Form3->Close(); }

void TForm3::ApplicationEvents1Message(QObject* receiver, QEvent* event, bool& handled) {
  // The web page's own context menu must never open: right-clicks inside it go nowhere.
  bool rightClick = event->type() == QEvent::ContextMenu;
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
      event->type() == QEvent::MouseButtonDblClick)
    rightClick = static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
  if (rightClick && isChild(WebBrowser1, receiver)) handled = true;
}

void TForm3::Label2Click() { ShellExecute(this, QStringLiteral("Open"), kHomePage); }

void TForm3::Label3Click() { ShellExecute(this, QStringLiteral("Open"), kHomePage); }

void TForm3::showEvent(QShowEvent* event) {
  TForm::showEvent(event);
  // Centred over the main window, as a dialog of it.
  if (const QWidget* main = parentWidget()) move(main->geometry().center() - rect().center());
  if (ownPage_) showOwnPage();
}

void TForm3::changeEvent(QEvent* event) {
  TForm::changeEvent(event);
  // The skin lays its colours over the window after it first shows.
  if (event->type() == QEvent::PaletteChange && ownPage_ && isVisible()) showOwnPage();
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && ownPage_ && count_ == Count::NotYet) {
    count_ = Count::Asked;
    QTimer::singleShot(0, this, [this] { countCollection(); });
  }
  return TForm::eventFilter(watched, event);
}

void TForm3::countCollection() {
  // The main window's connections are open already; connections of the window's own would pay
  // for the catalogue's key again.
  if (fsici) {
    try {
      figures_ = ReadCollectionFigures(*fsici->c1, *fsici->c2);
    } catch (const std::exception&) {
      // A collection that cannot be counted still leaves the version and the sources to show.
    }
  }
  count_ = Count::Done;
  showOwnPage();
}

void TForm3::showOwnPage() {
  WebBrowser1->setHtml(AboutPageHtml(figures_, count_ != Count::Done, palette().color(QPalette::Window)));
}
