// The control skinners on real widgets: every control shows the frame of the skin's picture for
// its state (normal, hot, pressed, disabled, focused, checked, selected), and what the skin
// lacks keeps the platform's drawing.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QHoverEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "skin/forms/SkinControls.h"
#include "skin/forms/WinSkinData.h"
#include "skin/forms/WinSkinPopMenu.h"
#include "tests/skin/TestSkin.h"

using testskin::Count;
using testskin::FrameColour;
using testskin::Grab;

namespace {

class SkinControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data = testskin::Load();
    host.resize(400, 300);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }

  template <class W>
  W* place(const QRect& geometry) {
    auto* w = new W(&host);
    w->setGeometry(geometry);
    w->show();
    return w;
  }

  template <class S>
  S* skin(QWidget* control) {
    auto* skinner = new S(control, *data);
    skinner->Attach();
    QCoreApplication::processEvents();
    return skinner;
  }

  // The bounding box of the pixels of `colour`.
  static QRect where(const QImage& image, const QColor& colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == colour.rgb()) box |= QRect(x, y, 1, 1);
    return box;
  }

  static void hover(QWidget* widget, QPoint at) {
    widget->setAttribute(Qt::WA_UnderMouse, true);
    QHoverEvent move(QEvent::HoverMove, at, widget->mapToGlobal(at), at);
    QCoreApplication::sendEvent(widget, &move);
  }

  std::unique_ptr<TSkinData> data;
  QWidget host;
};

QColor buttonFace(int frame) { return FrameColour("Buttons", frame); }

}  // namespace

TEST_F(SkinControlsTest, PushButtonShowsTheFrameOfEachState) {
  auto* button = place<QPushButton>({10, 10, 80, 30});
  button->setFocusPolicy(Qt::NoFocus);
  button->setText("OK");
  TSkinButton* skinner = skin<TSkinButton>(button);
  EXPECT_STREQ(skinner->ClassName(), "TSkinButton");
  EXPECT_EQ(SkinnerOf(button), skinner);

  // The corners keep the face whatever the text; every state its own frame.
  auto face = [&] { return QColor::fromRgb(Grab(*button).pixel(2, 2)); };
  EXPECT_EQ(face(), buttonFace(0));
  EXPECT_GT(Count(Grab(*button), buttonFace(0)), 80 * 30 / 2);
  button->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(face(), buttonFace(1));
  button->setDown(true);
  EXPECT_EQ(face(), buttonFace(2));
  button->setDown(false);
  button->setAttribute(Qt::WA_UnderMouse, false);
  button->setDefault(true);
  EXPECT_EQ(face(), buttonFace(4));
  button->setEnabled(false);
  EXPECT_EQ(face(), buttonFace(3));

  EXPECT_TRUE(button->testAttribute(Qt::WA_Hover));
  EXPECT_EQ(button->palette().color(QPalette::ButtonText), testskin::TextColour());
  EXPECT_EQ(button->palette().color(QPalette::Button), testskin::FaceColour());
}

TEST_F(SkinControlsTest, FlatToolButtonShowsItsFaceOnlyWhenHotOrPressed) {
  auto* flat = place<QToolButton>({10, 10, 40, 30});
  flat->setAutoRaise(true);
  auto* raised = place<QToolButton>({60, 10, 40, 30});
  skin<TSkinSpeedButton>(flat);
  skin<TSkinSpeedButton>(raised);

  for (int f = 0; f < 5; ++f) EXPECT_EQ(Count(Grab(*flat), buttonFace(f)), 0) << f;
  EXPECT_EQ(QColor::fromRgb(Grab(*raised).pixel(2, 2)), buttonFace(0));
  flat->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(QColor::fromRgb(Grab(*flat).pixel(2, 2)), buttonFace(1));
  flat->setDown(true);
  EXPECT_EQ(QColor::fromRgb(Grab(*flat).pixel(2, 2)), buttonFace(2));
}

TEST_F(SkinControlsTest, CheckAndRadioMarksShowCheckedAndUncheckedFrames) {
  auto* check = place<QCheckBox>({10, 10, 120, 24});
  check->setText("Check");
  auto* radio = place<QRadioButton>({10, 40, 120, 24});
  radio->setText("Radio");
  skin<TSkinCheckBox>(check);
  skin<TSkinRadioButton>(radio);
  const int mark = 13 * 13;

  auto checkFrame = [&](int f) { return Count(Grab(*check), FrameColour("Buttons.CheckButton", f)); };
  EXPECT_EQ(checkFrame(0), mark);
  check->setChecked(true);
  EXPECT_EQ(checkFrame(4), mark);
  EXPECT_EQ(checkFrame(0), 0);
  check->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(checkFrame(5), mark);
  check->setDown(true);
  EXPECT_EQ(checkFrame(6), mark);
  check->setDown(false);
  check->setEnabled(false);
  EXPECT_EQ(checkFrame(7), mark);
  check->setChecked(false);
  EXPECT_EQ(checkFrame(3), mark);

  auto radioFrame = [&](int f) { return Count(Grab(*radio), FrameColour("Buttons.RadioButton", f)); };
  EXPECT_EQ(radioFrame(0), mark);
  radio->setChecked(true);
  EXPECT_EQ(radioFrame(4), mark);
  EXPECT_EQ(Count(Grab(*radio), FrameColour("Buttons.CheckButton", 4)), 0);
}

TEST_F(SkinControlsTest, GroupBoxHasTheSkinFrameAndTitleBackground) {
  auto* group = place<QGroupBox>({10, 10, 160, 100});
  group->setTitle("Title");
  skin<TSkinGroupBox>(group);
  const QImage image = Grab(*group);
  EXPECT_EQ(QColor::fromRgb(image.pixel(0, 98)), FrameColour("GroupBox", 0));
  EXPECT_EQ(QColor::fromRgb(image.pixel(159, 60)), FrameColour("GroupBox", 0));
  // The title's background lies at the top, over the frame's top edge.
  const QRect title = where(image, FrameColour("GroupBoxEdge", 0));
  ASSERT_FALSE(title.isEmpty());
  EXPECT_LT(title.top(), 4);
  EXPECT_LT(title.bottom(), where(image, FrameColour("GroupBox", 0)).center().y());
}

TEST_F(SkinControlsTest, ComboBoxHasTheSunkenFrameAndTheArrowButton) {
  auto* combo = place<QComboBox>({10, 10, 120, 24});
  combo->addItems({"one", "two"});
  skin<TSkinComBox>(combo);
  auto at = [&](int x, int y) { return QColor::fromRgb(Grab(*combo).pixel(x, y)); };
  EXPECT_EQ(at(0, 0), FrameColour("SunkEdge", 0));
  // The arrow button keeps its bitmap's width at the right, inside the 2-pixel frame.
  EXPECT_EQ(at(117, 12), FrameColour("ComboButton", 0));
  EXPECT_EQ(at(102, 12), FrameColour("ComboButton", 0));
  EXPECT_EQ(at(100, 12), FrameColour("SunkEdge", 0));
  combo->setAttribute(Qt::WA_UnderMouse, true);
  EXPECT_EQ(at(110, 12), FrameColour("ComboButton", 1));
  combo->setAttribute(Qt::WA_UnderMouse, false);
  combo->setEnabled(false);
  EXPECT_EQ(at(110, 12), FrameColour("ComboButton", 3));
  // The list that drops down has skinned scroll bars.
  EXPECT_EQ(combo->view()->verticalScrollBar()->style(), combo->style());
}

TEST_F(SkinControlsTest, EditShowsTheSunkenFrameAndItsFocus) {
  auto* edit = place<QLineEdit>({10, 10, 100, 24});
  auto* other = place<QLineEdit>({10, 50, 100, 24});
  skin<TSkinEdit>(edit);
  host.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  other->setFocus();
  EXPECT_EQ(QColor::fromRgb(Grab(*edit).pixel(0, 0)), FrameColour("SunkEdge", 0));
  EXPECT_EQ(QColor::fromRgb(Grab(*edit).pixel(99, 23)), FrameColour("SunkEdge", 0));
  edit->setFocus();
  EXPECT_EQ(QColor::fromRgb(Grab(*edit).pixel(0, 0)), FrameColour("SunkEdge", 1));
  EXPECT_EQ(Count(Grab(*other), FrameColour("SunkEdge", 0)), 0) << "an edit without a skinner";
}

TEST_F(SkinControlsTest, ScrollBarsOfAListShowArrowsGrooveAndThumb) {
  auto* list = place<QListWidget>({10, 10, 150, 120});
  for (int i = 0; i < 100; ++i) list->addItem(QString("item %1").arg(i));
  skin<TSkinScrollbar>(list);
  QScrollBar* bar = list->verticalScrollBar();
  EXPECT_EQ(bar->width(), 16) << "the arrows' width";

  QImage image = Grab(*bar);
  EXPECT_EQ(Count(image, FrameColour("Scrollbar", 0)), 16 * 16);  // up
  EXPECT_EQ(Count(image, FrameColour("Scrollbar", 1)), 16 * 16);  // down
  EXPECT_GT(Count(image, FrameColour("VertScroll", 0)), 0);
  const QRect thumb = where(image, FrameColour("VertScrollThumb", 0));
  ASSERT_FALSE(thumb.isEmpty());
  EXPECT_EQ(thumb.width(), 16);
  // The frame of the list is the sunken edge.
  EXPECT_EQ(QColor::fromRgb(Grab(*list).pixel(0, 0)), FrameColour("SunkEdge", 0));

  hover(bar, thumb.center());
  EXPECT_GT(Count(Grab(*bar), FrameColour("VertScrollThumb", 1)), 0);
  hover(bar, {8, 8});
  image = Grab(*bar);
  EXPECT_EQ(Count(image, FrameColour("Scrollbar", 4)), 16 * 16) << "the hot up arrow";
  EXPECT_GT(Count(image, FrameColour("VertScrollThumb", 0)), 0);
  QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
  EXPECT_GT(Count(Grab(*bar), FrameColour("VertScrollThumb", 2)), 0);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb.center());
  QTest::mousePress(bar, Qt::LeftButton, {}, {8, bar->height() - 8});
  EXPECT_EQ(Count(Grab(*bar), FrameColour("Scrollbar", 9)), 16 * 16) << "the pressed down arrow";
  QTest::mouseRelease(bar, Qt::LeftButton, {}, {8, bar->height() - 8});
}

TEST_F(SkinControlsTest, HorizontalScrollBarOfATextViewHasItsOwnPictures) {
  auto* text = place<QTextEdit>({10, 10, 200, 120});
  text->setLineWrapMode(QTextEdit::NoWrap);
  text->setPlainText(QString(300, 'x') + QString("\nline").repeated(50));
  skin<TSkinScrollbar>(text);
  QScrollBar* bar = text->horizontalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  const QImage image = Grab(*bar);
  EXPECT_EQ(bar->height(), 16);
  EXPECT_EQ(Count(image, FrameColour("Scrollbar", 2)), 16 * 16);  // left
  EXPECT_EQ(Count(image, FrameColour("Scrollbar", 3)), 16 * 16);  // right
  EXPECT_GT(Count(image, FrameColour("HorzScroll", 0)), 0);
  EXPECT_GT(Count(image, FrameColour("HorzScrollThumb", 0)), 0);
  EXPECT_EQ(Count(image, FrameColour("VertScrollThumb", 0)), 0);
}

TEST_F(SkinControlsTest, TabsShowNormalAndSelectedFramesOverThePane) {
  auto* tabs = place<QTabWidget>({10, 10, 240, 160});
  auto* first = new QWidget;
  tabs->addTab(first, "First");
  tabs->addTab(new QWidget, "Second");
  skin<TSkinTab>(tabs);
  skin<TSkinTabSheet>(first);
  const QImage image = Grab(*tabs);
  const QRect selected = where(image, FrameColour("Tabs", 2));
  const QRect normal = where(image, FrameColour("Tabs", 0));
  ASSERT_FALSE(selected.isEmpty());
  ASSERT_FALSE(normal.isEmpty());
  EXPECT_LT(selected.left(), normal.left());
  const QRect pane = where(image, FrameColour("Tab.Pane", 0));
  EXPECT_GT(pane.top(), selected.top());
  EXPECT_GE(pane.width(), 230);
  // The page is filled with the face colour.
  EXPECT_GT(Count(image, testskin::FaceColour()), 100 * 50);

  tabs->setCurrentIndex(1);
  const QImage after = Grab(*tabs);
  EXPECT_GT(where(after, FrameColour("Tabs", 2)).left(), where(after, FrameColour("Tabs", 0)).left());
}

TEST_F(SkinControlsTest, ButtonTabsAreDrawnAsButtons) {
  auto* tabs = place<QTabWidget>({10, 10, 240, 160});
  tabs->addTab(new QWidget, "First");
  tabs->addTab(new QWidget, "Second");
  skin<TSkinTabBtn>(tabs);
  const QImage image = Grab(*tabs);
  EXPECT_GT(Count(image, buttonFace(2)), 0) << "the selected tab pressed";
  EXPECT_GT(Count(image, buttonFace(0)), 0);
  EXPECT_EQ(Count(image, FrameColour("Tabs", 2)), 0);
}

TEST_F(SkinControlsTest, ProgressBarFillsItsShareWithTheChunk) {
  auto* bar = place<QProgressBar>({10, 10, 200, 20});
  bar->setTextVisible(false);
  bar->setRange(0, 100);
  bar->setValue(25);
  skin<TSkinProgress>(bar);
  const QImage image = Grab(*bar);
  const QRect chunk = where(image, FrameColour("Progress.Chunk", 0));
  ASSERT_FALSE(chunk.isEmpty());
  EXPECT_NEAR(chunk.width(), 50, 3);
  EXPECT_LT(chunk.left(), 4);
  EXPECT_EQ(QColor::fromRgb(image.pixel(190, 10)), FrameColour("Progress", 0));
  bar->setValue(100);
  EXPECT_GT(where(Grab(*bar), FrameColour("Progress.Chunk", 0)).width(), 190);
}

TEST_F(SkinControlsTest, TrackBarShowsGrooveAndThumbStates) {
  auto* slider = place<QSlider>({10, 10, 200, 30});
  slider->setOrientation(Qt::Horizontal);
  skin<TSkinTrackBar>(slider);
  QImage image = Grab(*slider);
  const QRect track = where(image, FrameColour("Track", 0));
  const QRect thumb = where(image, FrameColour("Trackbar.ThumbHorz", 0));
  ASSERT_FALSE(thumb.isEmpty());
  EXPECT_EQ(thumb.size(), QSize(10, 18));
  EXPECT_GT(track.width(), 150);
  EXPECT_EQ(track.height(), 6);
  QTest::mousePress(slider, Qt::LeftButton, {}, thumb.center());
  EXPECT_EQ(where(Grab(*slider), FrameColour("Trackbar.ThumbHorz", 2)).size(), QSize(10, 18));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb.center());

  auto* vertical = place<QSlider>({250, 10, 30, 150});
  vertical->setOrientation(Qt::Vertical);
  skin<TSkinTrackBar>(vertical);
  image = Grab(*vertical);
  EXPECT_EQ(where(image, FrameColour("Trackbar.ThumbVert", 0)).size(), QSize(18, 10));
  EXPECT_EQ(where(image, FrameColour("TRACKVERT", 0)).width(), 6);
}

TEST_F(SkinControlsTest, SpinBoxHasTheSunkenFrameAndSkinnedButtons) {
  auto* spin = place<QSpinBox>({10, 10, 90, 26});
  spin->setRange(0, 10);
  spin->setValue(5);
  skin<TSkinUpDown>(spin);
  QImage image = Grab(*spin);
  EXPECT_EQ(QColor::fromRgb(image.pixel(0, 0)), FrameColour("SunkEdge", 0));
  const QRect buttons = where(image, FrameColour("UpDown.Vert", 0));
  ASSERT_FALSE(buttons.isEmpty());
  EXPECT_GT(buttons.left(), 45);
  const QPoint up(buttons.center().x(), buttons.top() + 3);
  QTest::mousePress(spin, Qt::LeftButton, {}, up);
  image = Grab(*spin);
  QTest::mouseRelease(spin, Qt::LeftButton, {}, up);
  EXPECT_GT(Count(image, FrameColour("UpDown.Vert", 2)), 0);
  EXPECT_GT(Count(image, FrameColour("UpDown.Vert", 0)), 0) << "the other button stays normal";
}

TEST_F(SkinControlsTest, PopupMenuHasTheSkinBackgroundAndHighlight) {
  QMenu menu;
  QAction* open = menu.addAction("Open");
  menu.addAction("Close");
  TWinSkinPopMenu skinner(&menu, *data);
  skinner.Attach();
  EXPECT_EQ(skinner.Menu(), &menu);
  menu.popup({100, 100});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QImage image = Grab(menu);
  EXPECT_EQ(QColor::fromRgb(image.pixel(0, 0)), FrameColour("MenuBackground", 0));
  EXPECT_GT(Count(image, FrameColour("MenuBackground", 0)), image.width() * image.height() * 3 / 4)
      << "behind the items too";
  EXPECT_EQ(Count(image, FrameColour("MenuItem", 0)), 0);
  menu.setActiveAction(open);
  image = Grab(menu);
  const QRect item = where(image, FrameColour("MenuItem", 0));
  EXPECT_EQ(item, menu.actionGeometry(open));
  EXPECT_EQ(menu.palette().color(QPalette::HighlightedText), testskin::HilightTextColour());
  menu.hide();
}

TEST_F(SkinControlsTest, CheckListItemsHeadersAndPanelsAreSkinned) {
  auto* list = place<QListWidget>({10, 10, 150, 100});
  auto* item = new QListWidgetItem("Item", list);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(Qt::Checked);
  skin<TSkinCheckList>(list);
  EXPECT_EQ(Count(Grab(*list), FrameColour("Buttons.CheckButton", 4)), 13 * 13);

  auto* table = place<QTableWidget>({10, 120, 200, 100});
  table->setColumnCount(2);
  table->setRowCount(2);
  skin<TSkinHeader>(table->horizontalHeader());
  const QImage header = Grab(*table->horizontalHeader());
  EXPECT_GT(Count(header, buttonFace(0)), header.width() * header.height() / 2);

  auto* panel = place<QWidget>({220, 10, 60, 60});
  auto* status = place<QStatusBar>({220, 80, 150, 24});
  skin<TSkinBox>(panel);
  skin<TSkinStatusBar>(status);
  EXPECT_EQ(Count(Grab(*panel), testskin::FaceColour()), 60 * 60);
  EXPECT_GT(Count(Grab(*status), testskin::FaceColour()), 150 * 24 / 2);
}

TEST_F(SkinControlsTest, WhatTheSkinLacksKeepsThePlatformDrawing) {
  auto lacking = testskin::Load(0, {"Buttons", "Scrollbar"});
  auto* skinned = place<QPushButton>({10, 10, 80, 30});
  auto* plain = place<QPushButton>({100, 10, 80, 30});
  for (QPushButton* b : {skinned, plain}) {
    b->setText("OK");
    b->setFocusPolicy(Qt::NoFocus);
  }
  auto* skinner = new TSkinButton(skinned, *lacking);
  skinner->Attach();
  plain->setPalette(skinned->palette());
  EXPECT_EQ(Grab(*skinned), Grab(*plain));

  // A scroll bar without arrow pictures keeps the platform's arrows beneath a skinned groove
  // and thumb.
  auto* bar = place<QScrollBar>({200, 10, 16, 150});
  bar->setRange(0, 10);
  auto* barSkinner = new TSkinScControl(bar, *lacking);
  barSkinner->Attach();
  const QImage image = Grab(*bar);
  for (int f = 0; f < 12; ++f) EXPECT_EQ(Count(image, FrameColour("Scrollbar", f)), 0);
  EXPECT_GT(Count(image, FrameColour("VertScroll", 0)), 0);
  EXPECT_GT(Count(image, FrameColour("VertScrollThumb", 0)), 0);
  delete skinner;
  delete barSkinner;
}

TEST_F(SkinControlsTest, ControlsKeepTheTextColourTheyWereGivenAndTheOthersTakeTheSkins) {
  const QColor navy(0, 0, 128), purple(128, 0, 128);
  const auto give = [](QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
      palette.setColor(role, colour);
    control->setPalette(palette);
  };
  QFont large = host.font();
  large.setPixelSize(22);
  large.setBold(true);
  host.setFont(large);
  auto* find = place<QPushButton>({10, 10, 90, 36});
  find->setText(QStringLiteral("查找"));
  give(find, navy);
  auto* plain = place<QPushButton>({110, 10, 90, 36});
  plain->setText(QStringLiteral("查找"));
  auto* search = place<QToolButton>({210, 10, 90, 36});
  search->setText(QStringLiteral("搜索"));
  give(search, navy);
  auto* prompt = place<QLineEdit>({10, 60, 150, 34});
  prompt->setText(QStringLiteral("包含字"));
  give(prompt, purple);
  for (QWidget* w : std::initializer_list<QWidget*>{find, plain, search, prompt}) w->setFocusPolicy(Qt::NoFocus);
  skin<TSkinButton>(find);
  skin<TSkinButton>(plain);
  skin<TSkinSpeedButton>(search);
  skin<TSkinEdit>(prompt);

  const auto shows = [](QWidget* w, const QColor& colour) { return Count(Grab(*w), colour) > 10; };
  EXPECT_TRUE(shows(find, navy));
  EXPECT_FALSE(shows(find, testskin::TextColour()));
  EXPECT_TRUE(shows(search, navy));
  EXPECT_TRUE(shows(prompt, purple));
  EXPECT_FALSE(shows(prompt, testskin::TextColour()));
  EXPECT_TRUE(shows(plain, testskin::TextColour())) << "a control left at the default takes the skin's colour";

  // A new skin changes the default controls only.
  testskin::Reload(*data, 1);
  for (QWidget* w : std::initializer_list<QWidget*>{find, plain, search, prompt})
    if (TSkinControl* skinner = SkinnerOf(w)) skinner->Refresh();
  EXPECT_TRUE(shows(find, navy));
  EXPECT_TRUE(shows(prompt, purple));
  EXPECT_TRUE(shows(plain, testskin::TextColour(1)));
}
