// The skin manager and the window skinner on real windows: which windows and controls are
// skinned and with what, the frame painted around the client area and its hit areas, the
// answers of a skinned window, and unskinning that gives every window back as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/forms/ControlProperties.h"
#include "platform/forms/Form.h"
#include "skin/SkinWrite.h"
#include "skin/forms/SkinControl.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/skin/TestSkin.h"

namespace {

const QColor kTopActive(200, 0, 0), kTopInactive(100, 0, 0), kLeft(0, 150, 0), kRight(0, 0, 150),
    kBottom(150, 150, 0), kCaptionText(255, 255, 255);
constexpr int kTop = 20, kLeftWidth = 5, kRightWidth = 6, kBottomHeight = 7;

QColor buttonColour(int action, int frame) { return QColor(40 + action * 60, 40 + frame * 40, 200); }

std::vector<QColor> buttonFrames(int action) {
  return {buttonColour(action, 0), buttonColour(action, 1), buttonColour(action, 2), buttonColour(action, 3)};
}

// The test skin with a window frame and three caption buttons: close, maximise (hidden while
// maximised) and minimise, counted from the right edge.
std::string framedSkin(const std::string& extraIni = {}) {
  std::vector<TSkinFileData> files = testskin::Files();
  for (TSkinFileData& file : files)
    if (file.Name.find(".ini") != std::string::npos)
      file.Bytes +=
          "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nLeft=left.bmp\r\nLeftFrame=2\r\nRight=right.bmp\r\n"
          "RightFrame=2\r\nBottom=bottom.bmp\r\nBottomFrame=2\r\nActiveText=255 255 255\r\nInActiveText=0 0 0\r\n"
          "TextShift=8\r\nFontHeight=14\r\n"
          "[Button0]\r\nButtonImage=close.bmp\r\nAlign=1\r\nXcoord=22\r\nYcoord=2\r\nAction=0\r\nFrame=4\r\n"
          "[Button1]\r\nButtonImage=max.bmp\r\nAlign=1\r\nXcoord=42\r\nYcoord=2\r\nAction=1\r\nVisibility=1\r\nFrame=4\r\n"
          "[Button2]\r\nButtonImage=min.bmp\r\nAlign=1\r\nXcoord=62\r\nYcoord=2\r\nAction=2\r\nFrame=4\r\n" +
          extraIni;
  files.push_back({"top.bmp", testskin::FramesBitmap(30, kTop, {kTopActive, kTopInactive})});
  files.push_back({"left.bmp", testskin::FramesBitmap(kLeftWidth, 10, {kLeft, kLeft})});
  files.push_back({"right.bmp", testskin::FramesBitmap(kRightWidth, 10, {kRight, kRight})});
  files.push_back({"bottom.bmp", testskin::FramesBitmap(10, kBottomHeight, {kBottom, kBottom})});
  files.push_back({"close.bmp", testskin::FramesBitmap(16, 16, buttonFrames(0))});
  files.push_back({"max.bmp", testskin::FramesBitmap(16, 16, buttonFrames(1))});
  files.push_back({"min.bmp", testskin::FramesBitmap(16, 16, buttonFrames(2))});
  return SkinStreamOf(CompressSkin(WriteSkinContainer(70000, files)));
}

template <class Condition>
bool waitFor(Condition condition, int ms = 3000) {
  return QTest::qWaitFor(condition, ms);
}

// A toolkit window with one control of each kind the main window has, and a few that must stay
// as they are.
struct Window : TForm {
  Window() : TForm("Sample") {
    setWindowTitle(QStringLiteral("诗词 sample"));
    resize(400, 300);
    button = Place(new QPushButton(QStringLiteral("查找"), this), "button", 10, 10, 80, 24);
    edit = Place(new QLineEdit(this), "edit", 100, 10, 100, 24);
    group = Place(new QGroupBox(QStringLiteral("组"), this), "group", 10, 40, 180, 100);
    radio = Place(new QRadioButton(QStringLiteral("标题"), group), "radio", 10, 20, 80, 20);
    combo = Place(new QComboBox(group), "combo", 10, 50, 100, 22);
    list = Place(new QListWidget(this), "list", 200, 40, 180, 100);
    label = Place(new QLabel(QStringLiteral("请输入："), this), "label", 10, 150, 80, 20);
    panel = Place(new QWidget(this), "panel", 0, 270, 400, 30);
    panel->setProperty(kClassNameProperty, QStringLiteral("TPanel"));
    tagged = Place(new QPushButton(QStringLiteral("99"), this), "tagged", 100, 150, 60, 24);
    tagged->setProperty(kTagProperty, 99);
    refusing = Place(new RefusingButton(this), "refusing", 170, 150, 60, 24);
    unknown = Place(new QPushButton(QStringLiteral("nil"), this), "unknown", 240, 150, 60, 24);
    unknown->setProperty(kClassNameProperty, QStringLiteral("TFancyButton"));
  }

  // A control that asks not to be skinned.
  struct RefusingButton : QPushButton {
    using QPushButton::QPushButton;
    bool event(QEvent* e) override {
      if (IsSkinMessage(e, kSkinQueryNoSkin)) {
        static_cast<TSkinMessage*>(e)->Result = 1;
        return true;
      }
      return QPushButton::event(e);
    }
  };

  QPushButton* button;
  QLineEdit* edit;
  QGroupBox* group;
  QRadioButton* radio;
  QComboBox* combo;
  QListWidget* list;
  QLabel* label;
  QWidget* panel;
  QPushButton* tagged;
  QPushButton* refusing;
  QPushButton* unknown;
};

const char* skinnerName(QWidget* control) {
  TSkinControl* skinner = SkinnerOf(control);
  return skinner ? skinner->ClassName() : "none";
}

class SkinManageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = std::make_unique<TComponent>(nullptr);
    owner->BeginLoading();
    data = new TSkinData(owner.get());
    data->Skin3rd().Add("TFancyButton=nil");
    data->ReadSkinStream(framedSkin());
    ASSERT_FALSE(data->Empty()) << data->LoadError();
    data->SetActive(true);
  }

  // Ends loading: the manager skins every window a quarter second later.
  TSkinManage& start() {
    owner->EndLoading();
    return *TSkinManage::Instance();
  }

  void TearDown() override { owner.reset(); }

  std::unique_ptr<TComponent> owner;
  TSkinData* data = nullptr;
};

}  // namespace

TEST_F(SkinManageTest, TheSkinPassSkinsEachControlWithItsKindAndLeavesTheOthers) {
  Window window;
  window.show();
  TSkinManage& manager = start();
  EXPECT_EQ(manager.SkinnerOf(&window), nullptr) << "nothing before the quarter second";
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  EXPECT_TRUE(manager.Active());

  EXPECT_STREQ(skinnerName(window.button), "TSkinButton");
  EXPECT_STREQ(skinnerName(window.edit), "TSkinEdit");
  EXPECT_STREQ(skinnerName(window.group), "TSkinGroupBox");
  EXPECT_STREQ(skinnerName(window.radio), "TSkinRadioButton");
  EXPECT_STREQ(skinnerName(window.combo), "TSkinComBox");
  EXPECT_STREQ(skinnerName(window.list), "TSkinScrollbar");
  EXPECT_STREQ(skinnerName(window.panel), "TSkinBox");
  EXPECT_STREQ(skinnerName(window.label), "none");
  EXPECT_STREQ(skinnerName(window.tagged), "none") << "Tag 99 is the disable tag";
  EXPECT_STREQ(skinnerName(window.refusing), "none") << "it answered 1";
  EXPECT_STREQ(skinnerName(window.unknown), "none") << "its class maps to nil";

  EXPECT_EQ(SendSkinMessage(&window, kSkinQuerySkinned), kSkinnedMarker);
  EXPECT_EQ(SendSkinMessage(&window, kSkinQuerySkinned2), kSkinnedMarker);
  EXPECT_EQ(window.palette().color(QPalette::Window), testskin::FaceColour());
}

TEST_F(SkinManageTest, AnotherDisableTagFreesTag99AndHoldsItsOwn) {
  data->SetDisableTag(7);
  Window window;
  window.button->setProperty(kTagProperty, 7);
  window.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  EXPECT_STREQ(skinnerName(window.tagged), "TSkinButton");
  EXPECT_STREQ(skinnerName(window.button), "none");
}

TEST_F(SkinManageTest, WindowsThatRefuseOrAreVetoedOrTaggedStayAsTheyAre) {
  struct Refusing : TForm {
    Refusing() : TForm("Refusing") {}
    bool event(QEvent* e) override {
      if (IsSkinMessage(e, kSkinQueryNoSkin)) {
        static_cast<TSkinMessage*>(e)->Result = 1;
        return true;
      }
      return TForm::event(e);
    }
  } refusing;
  TForm tagged("Tagged"), vetoed("Vetoed"), plain("Plain");
  tagged.setProperty(kTagProperty, 99);
  std::vector<std::string> asked;
  data->OnFormSkin = [&](TObject&, const AnsiString& className, bool& skinIt) {
    asked.push_back(className);
    if (className == "TVetoed") skinIt = false;
  };
  for (QWidget* w : std::initializer_list<QWidget*>{&refusing, &tagged, &vetoed, &plain}) w->show();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&plain) != nullptr; }));
  EXPECT_EQ(manager.SkinnerOf(&refusing), nullptr);
  EXPECT_EQ(manager.SkinnerOf(&tagged), nullptr);
  EXPECT_EQ(manager.SkinnerOf(&vetoed), nullptr);
  EXPECT_NE(std::find(asked.begin(), asked.end(), "TVetoed"), asked.end());
  EXPECT_EQ(std::find(asked.begin(), asked.end(), "TTagged"), asked.end()) << "the tag rule comes first";
  EXPECT_EQ(SendSkinMessage(&vetoed, kSkinQuerySkinned), 0);
}

TEST_F(SkinManageTest, AMessageBoxIsSkinnedWhenItIsActivated) {
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.Active(); }));
  QMessageBox box(QMessageBox::Warning, QStringLiteral("提示"), QStringLiteral("没有找到"), QMessageBox::Ok);
  box.show();
  QApplication::setActiveWindow(&box);
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&box) != nullptr; }));
  EXPECT_EQ(manager.SkinnerOf(&box)->ClassName(), "TMessageForm");
  EXPECT_TRUE(box.isVisible()) << "skinning must not end the box";
}

TEST_F(SkinManageTest, TheFrameIsPaintedAroundTheClientAreaWhichKeepsItsSize) {
  Window window;
  window.show();
  const QSize client = window.size();
  const QPoint buttonAt = window.button->pos();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  TWinSkinForm& skinner = *manager.SkinnerOf(&window);
  ASSERT_TRUE(waitFor([&] { return !skinner.Initial(); })) << "the attach message arrives";

  EXPECT_EQ(skinner.FrameMargins(), QMargins(kLeftWidth, kTop, kRightWidth, kBottomHeight));
  EXPECT_EQ(window.size(), client + QSize(kLeftWidth + kRightWidth, kTop + kBottomHeight));
  EXPECT_EQ(window.button->pos(), buttonAt + QPoint(kLeftWidth, kTop));
  EXPECT_EQ(window.contentsRect().size(), client);

  const QImage image = testskin::Grab(window);
  const int w = image.width(), h = image.height();
  const QColor top = window.isActiveWindow() ? kTopActive : kTopInactive;
  EXPECT_EQ(image.pixelColor(w / 2, 1), top);
  EXPECT_EQ(image.pixelColor(1, h / 2), kLeft);
  EXPECT_EQ(image.pixelColor(w - 1, h / 2), kRight);
  EXPECT_EQ(image.pixelColor(w / 2, h - 1), kBottom);
  // The three caption buttons, right-based; the window is not active here or it is.
  const int state = window.isActiveWindow() ? 0 : 3;
  for (int action : {0, 1, 2}) {
    const int x = w - (22 + 20 * action) + 8;
    EXPECT_EQ(image.pixelColor(x, 10), buttonColour(action, state)) << "button " << action;
  }
  // The caption text in its colour, between the left edge and the buttons.
  const QColor text = window.isActiveWindow() ? kCaptionText : QColor(0, 0, 0);
  EXPECT_GT(testskin::Count(image, QRect(8, 0, w - 80, kTop), text), 10);
}

TEST_F(SkinManageTest, HitAreasOfTheFrame) {
  Window window;
  window.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  TWinSkinForm& s = *manager.SkinnerOf(&window);
  const int w = window.width(), h = window.height();
  EXPECT_EQ(s.HitTest({w / 2, 12}).Area, TSkinHit::Caption);
  EXPECT_EQ(s.HitTest({w / 2, 1}).Area, TSkinHit::Top);
  EXPECT_EQ(s.HitTest({1, h / 2}).Area, TSkinHit::Left);
  EXPECT_EQ(s.HitTest({w - 1, h / 2}).Area, TSkinHit::Right);
  EXPECT_EQ(s.HitTest({w / 2, h - 1}).Area, TSkinHit::Bottom);
  EXPECT_EQ(s.HitTest({1, 1}).Area, TSkinHit::TopLeft);
  EXPECT_EQ(s.HitTest({w - 2, h - 2}).Area, TSkinHit::BottomRight);
  EXPECT_EQ(s.HitTest({w / 2, h / 2}).Area, TSkinHit::Client);

  const auto buttons = s.CaptionButtons();
  ASSERT_EQ(buttons.size(), 3u);
  const TWinSkinForm::THit close = s.HitTest(buttons[0].Rect.center());
  EXPECT_EQ(close.Area, TSkinHit::Button);
  EXPECT_EQ(buttons[static_cast<std::size_t>(close.Button)].Spec->Action, caClose);

  // Maximising hides the maximise button (visibility 1) and the sizing edges.
  s.Press(1);
  ASSERT_TRUE(waitFor([&] { return window.isMaximized(); }));
  EXPECT_EQ(s.CaptionButtons().size(), 2u);
  EXPECT_EQ(s.HitTest({1, window.height() / 2}).Area, TSkinHit::Client);
  s.Press(0);
  EXPECT_FALSE(window.isVisible()) << "the close button closed the window";
}

TEST_F(SkinManageTest, AFixedSizeDialogHasNoSizingEdgesNorMaximiseButton) {
  TForm dialog("Fixed");
  dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  dialog.setFixedSize(200, 100);
  dialog.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&dialog) != nullptr; }));
  TWinSkinForm& s = *manager.SkinnerOf(&dialog);
  EXPECT_EQ(dialog.size(), QSize(200 + kLeftWidth + kRightWidth, 100 + kTop + kBottomHeight)) << "the fixed size grows too";
  ASSERT_EQ(s.CaptionButtons().size(), 1u);
  EXPECT_EQ(s.CaptionButtons()[0].Spec->Action, caClose);
  EXPECT_EQ(s.HitTest({1, dialog.height() / 2}).Area, TSkinHit::Client);
}

TEST_F(SkinManageTest, UnskinningGivesEveryWindowAndControlBackAndSkinningAgainWorks) {
  Window window;
  window.show();
  QTest::qWait(50);
  const QSize size = window.size();
  const QPoint buttonAt = window.button->pos();
  const QPalette palette = window.palette();
  const QImage before = testskin::Grab(window);
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));

  data->SetActive(false);
  EXPECT_NE(manager.SkinnerOf(&window), nullptr) << "a quarter second later, not at once";
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) == nullptr; }));
  EXPECT_FALSE(manager.Active());
  EXPECT_EQ(window.size(), size);
  EXPECT_EQ(window.button->pos(), buttonAt);
  EXPECT_EQ(window.palette(), palette);
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  for (QWidget* control : window.findChildren<QWidget*>()) EXPECT_EQ(SkinnerOf(control), nullptr);
  EXPECT_EQ(testskin::Grab(window), before);

  data->SetActive(true);
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  EXPECT_STREQ(skinnerName(window.button), "TSkinButton");
}

TEST_F(SkinManageTest, UnskinningAMaximisedWindowGivesItBackMaximisedWithItsNormalSize) {
  Window window;
  window.show();
  QTest::qWait(50);
  const QSize normal = window.size();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  const QSize skinned = window.size();
  window.showMaximized();
  // The window system answers the new state first and the new size a moment later.
  ASSERT_TRUE(waitFor([&] { return window.isMaximized() && window.size() != skinned; }));
  const QSize screen = window.size();
  QTest::qWait(50);

  data->SetActive(false);
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) == nullptr; }));
  EXPECT_TRUE(waitFor([&] { return window.isMaximized() && window.size() == screen; }))
      << "a maximised window keeps the screen's size";
  window.showNormal();
  ASSERT_TRUE(waitFor([&] { return !window.isMaximized() && window.size() != screen; }));
  EXPECT_EQ(window.size(), normal);

  // Skinned while maximised: the size it goes back to grows by the frame, and shrinks again.
  window.showMaximized();
  ASSERT_TRUE(waitFor([&] { return window.isMaximized() && window.size().width() > normal.width(); }));
  data->SetActive(true);
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  EXPECT_TRUE(waitFor([&] { return window.isMaximized() && window.size() == screen; }))
      << "the frameless window fills the screen";
  window.showNormal();
  ASSERT_TRUE(waitFor([&] { return !window.isMaximized() && window.size() != screen; }));
  EXPECT_EQ(window.size(), normal + QSize(kLeftWidth + kRightWidth, kTop + kBottomHeight));
  data->SetActive(false);
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) == nullptr; }));
  EXPECT_EQ(window.size(), normal);
}

TEST_F(SkinManageTest, UnskinningKeepsTheWindowsOwnLimitsMouseTrackingAndCursor) {
  Window window;
  window.setMouseTracking(true);
  window.setCursor(Qt::CrossCursor);
  window.setMinimumSize(400, 300);
  window.show();
  QTest::qWait(50);
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  EXPECT_EQ(window.size(), QSize(400 + kLeftWidth + kRightWidth, 300 + kTop + kBottomHeight))
      << "a window at its least size grows by the frame once";
  // The frame's sizing cursor over an edge, then the client area.
  QTest::mouseMove(&window, QPoint(1, window.height() / 2));
  QTest::mouseMove(&window, QPoint(window.width() / 2, window.height() / 2));

  data->SetActive(false);
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) == nullptr; }));
  EXPECT_EQ(window.size(), QSize(400, 300));
  EXPECT_EQ(window.minimumSize(), QSize(400, 300));
  EXPECT_TRUE(window.hasMouseTracking());
  EXPECT_TRUE(window.testAttribute(Qt::WA_SetCursor));
  EXPECT_EQ(window.cursor().shape(), Qt::CrossCursor);
}

TEST_F(SkinManageTest, ANewSkinIsTakenUpByTheSkinnedWindows) {
  Window window;
  window.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  testskin::Reload(*data, 1);
  manager.RequestAction(saRefresh, 0);
  ASSERT_TRUE(waitFor([&] { return window.palette().color(QPalette::Window) == testskin::FaceColour(1); }));
  EXPECT_EQ(manager.SkinnerOf(&window)->FrameMargins(), QMargins()) << "the new skin has no frame";
  EXPECT_EQ(window.contentsRect(), window.rect());
}

TEST_F(SkinManageTest, TheComponentGoingAwayUnskinsFirst) {
  Window window;
  window.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  owner.reset();
  EXPECT_EQ(manager.SkinnerOf(&window), nullptr);
  EXPECT_EQ(SkinnerOf(window.button), nullptr);
  window.update();
  QTest::qWait(20);
}

TEST_F(SkinManageTest, TheComponentsHandlerMaySupplyItsOwnSkinnerBeforeAnyRule) {
  // A skinner of the program's own that only paints the control's face.
  struct OwnSkinner : TSkinControl {
    OwnSkinner(QWidget* control, TSkinData& data) : TSkinControl(control, data, "TOwnSkinner") {}
    void Attach() override { SkinWidget(Control(), sfFace); }
  };
  std::vector<std::string> asked;
  data->OnSkinControl = [&](TObject&, TSkinData& d, QWidget* form, QWidget* control, const AnsiString& className,
                            TSkinControl*& skinner) {
    asked.push_back(className);
    EXPECT_NE(form, nullptr);
    if (control->objectName() == QStringLiteral("label") || control->objectName() == QStringLiteral("button"))
      skinner = new OwnSkinner(control, d);
  };
  Window window;
  window.show();
  TSkinManage& manager = start();
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
  EXPECT_STREQ(skinnerName(window.button), "TOwnSkinner") << "before the class rules";
  EXPECT_STREQ(skinnerName(window.label), "TOwnSkinner") << "even for a control no rule skins";
  EXPECT_STREQ(skinnerName(window.edit), "TSkinEdit");
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "TButton"), 1);
  EXPECT_EQ(std::count(asked.begin(), asked.end(), "TPanel"), 1);
  EXPECT_NE(std::find(asked.begin(), asked.end(), "TFancyButton"), asked.end()) << "asked before the class list";

  data->SetActive(false);
  ASSERT_TRUE(waitFor([&] { return manager.SkinnerOf(&window) == nullptr; }));
  EXPECT_EQ(SkinnerOf(window.label), nullptr) << "given back like the others";
}
