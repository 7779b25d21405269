// The caption buttons of a skinned window as the user meets them: which ones the caption shows
// in the normal and the maximised state (a skin's restore button takes the maximise button's
// place while the window is maximised), and what a click of the mouse on each of them does.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/forms/Form.h"
#include "skin/SkinWrite.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/skin/TestSkin.h"

namespace {

constexpr int kCaption = 20;
constexpr int kButton = 16;

// The skin's caption buttons, each with four frames of colours no other picture has.
enum Button { Close, Maximise, Restore, Minimise, kButtons };

QColor buttonColour(Button button, int frame) { return QColor(30 + 50 * button, 20 + 50 * frame, 240); }

// Where the skin puts a button's left edge: this far from the window's right edge.
int fromRight(Button button) {
  switch (button) {
    case Close: return 22;
    case Maximise:
    case Restore: return 42;
    default: return 62;
  }
}

std::string buttonSection(int index, Button button, const char* file, int action, int visibility) {
  return "[Button" + std::to_string(index) + "]\r\nButtonImage=" + file + "\r\nAlign=1\r\nXcoord=" +
         std::to_string(fromRight(button)) + "\r\nYcoord=2\r\nAction=" + std::to_string(action) +
         "\r\nVisibility=" + std::to_string(visibility) + "\r\nFrame=4\r\n";
}

// The test skin with a window frame and a caption of close, maximise (Visibility 1: only while
// not maximised), restore (Visibility 2: only while maximised, in the same place) and minimise.
std::string captionSkin() {
  std::vector<TSkinFileData> files = testskin::Files();
  for (TSkinFileData& file : files)
    if (file.Name.find(".ini") != std::string::npos)
      file.Bytes += "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nLeft=side.bmp\r\nLeftFrame=2\r\nRight=side.bmp\r\n"
                    "RightFrame=2\r\nBottom=bottom.bmp\r\nBottomFrame=2\r\n" +
                    buttonSection(0, Close, "close.bmp", caClose, 0) +
                    buttonSection(1, Maximise, "max.bmp", caMaximize, 1) +
                    buttonSection(2, Restore, "restore.bmp", caMaximize, 2) +
                    buttonSection(3, Minimise, "min.bmp", caMinimize, 0);
  files.push_back({"top.bmp", testskin::FramesBitmap(30, kCaption, {QColor(200, 0, 0), QColor(100, 0, 0)})});
  files.push_back({"side.bmp", testskin::FramesBitmap(4, 10, {QColor(0, 150, 0), QColor(0, 150, 0)})});
  files.push_back({"bottom.bmp", testskin::FramesBitmap(10, 4, {QColor(150, 150, 0), QColor(150, 150, 0)})});
  const char* names[kButtons] = {"close.bmp", "max.bmp", "restore.bmp", "min.bmp"};
  for (int b = 0; b < kButtons; ++b) {
    std::vector<QColor> frames;
    for (int f = 0; f < 4; ++f) frames.push_back(buttonColour(static_cast<Button>(b), f));
    files.push_back({names[b], testskin::FramesBitmap(kButton, kButton, frames)});
  }
  return SkinStreamOf(CompressSkin(WriteSkinContainer(70000, files)));
}

// The pixels of `button`'s picture, in whatever state it is drawn, within `area` of `image`.
int buttonPixels(const QImage& image, const QRect& area, Button button) {
  int n = 0;
  for (int f = 0; f < 4; ++f) n += testskin::Count(image, area, buttonColour(button, f));
  return n;
}

class CaptionButtonsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = std::make_unique<TComponent>(nullptr);
    owner->BeginLoading();
    data = new TSkinData(owner.get());
    data->ReadSkinStream(captionSkin());
    ASSERT_FALSE(data->Empty()) << data->LoadError();
    data->SetActive(true);
    window.setWindowTitle(QStringLiteral("唐诗"));
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    owner->EndLoading();
    TSkinManage& manager = *TSkinManage::Instance();
    ASSERT_TRUE(QTest::qWaitFor([&] { return manager.SkinnerOf(&window) != nullptr; }));
    skinner = manager.SkinnerOf(&window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !skinner->Initial(); }));
  }

  void TearDown() override { owner.reset(); }

  // The middle of `button` as the skin places it in the window as it is now.
  QPoint centre(Button button) const {
    return {window.width() - fromRight(button) + kButton / 2, 2 + kButton / 2};
  }

  QRect caption() const { return {0, 0, window.width(), kCaption}; }

  void click(Button button) { QTest::mouseClick(&window, Qt::LeftButton, {}, centre(button)); }

  std::unique_ptr<TComponent> owner;
  TSkinData* data = nullptr;
  TForm window{"Sample"};
  TWinSkinForm* skinner = nullptr;
};

}  // namespace

TEST_F(CaptionButtonsTest, TheCaptionShowsMaximiseOrRestoreByTheWindowState) {
  const auto expectShown = [&](std::initializer_list<Button> shown, const char* state) {
    const QImage image = testskin::Grab(window);
    for (int b = 0; b < kButtons; ++b) {
      const auto button = static_cast<Button>(b);
      const bool wanted = std::find(shown.begin(), shown.end(), button) != shown.end();
      const QRect place(window.width() - fromRight(button), 2, kButton, kButton);
      EXPECT_EQ(buttonPixels(image, caption(), button), wanted ? kButton * kButton : 0)
          << "button " << b << " while " << state;
      if (wanted) {
        EXPECT_EQ(buttonPixels(image, place, button), kButton * kButton) << "button " << b << " in its place";
      }
    }
  };

  expectShown({Close, Maximise, Minimise}, "normal");

  window.showMaximized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMaximized(); }));
  QTest::qWait(20);
  expectShown({Close, Restore, Minimise}, "maximised");

  window.showNormal();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isMaximized(); }));
  QTest::qWait(20);
  expectShown({Close, Maximise, Minimise}, "normal again");
}

TEST_F(CaptionButtonsTest, ClicksOnTheButtonsMaximiseRestoreMinimiseAndClose) {
  click(Maximise);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMaximized(); })) << "the maximise button maximised";
  click(Restore);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isMaximized(); })) << "the restore button restored";
  EXPECT_TRUE(window.isVisible());

  click(Minimise);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMinimized(); })) << "the minimise button minimised";
  window.showNormal();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isMinimized(); }));

  click(Close);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); })) << "the close button closed the window";
}

TEST_F(CaptionButtonsTest, APressReleasedAwayFromItsButtonDoesNothing) {
  const QPoint client(window.width() / 2, window.height() / 2);
  const QPoint captionText(40, kCaption / 2);
  const std::vector<std::pair<Button, QPoint>> cases = {
      {Close, client}, {Close, captionText}, {Maximise, centre(Close)}, {Minimise, centre(Maximise)}};
  for (const auto& [button, releaseAt] : cases) {
    QTest::mousePress(&window, Qt::LeftButton, {}, centre(button));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, releaseAt);
    QTest::qWait(20);
    EXPECT_TRUE(window.isVisible()) << "pressed on " << button;
    EXPECT_FALSE(window.isMaximized()) << "pressed on " << button;
    EXPECT_FALSE(window.isMinimized()) << "pressed on " << button;
  }
  // The press over, the next click on a button acts as usual.
  click(Maximise);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.isMaximized(); }));
}
