// The reader as it looks: its main window and the About window drawn from the shipped skin.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include "app/Unit3.h"
#include "app/sici.h"
#include "grid/DBGridEh.h"
#include "platform/forms/ListBox.h"
#include "skin/forms/SkinControl.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/app/app_fixture.h"

namespace {

const char* skinnerOf(QWidget* control) {
  TSkinControl* skinner = SkinnerOf(control);
  return skinner ? skinner->ClassName() : "none";
}

TWinSkinForm* windowSkinner(QWidget* window) {
  TSkinManage* manager = TSkinManage::Instance();
  TWinSkinForm* skinner = manager ? manager->SkinnerOf(window) : nullptr;
  return skinner && !skinner->Initial() ? skinner : nullptr;
}

QColor pictureColour(const TSkinData& data, const char* name, int frame, QPoint at) {
  const TSkinPicture* picture = data.Picture(name);
  return picture ? QColor(picture->Image.pixel(picture->FrameRect(frame).topLeft() + at)) : QColor();
}

}  // namespace

TEST(SkinnedReader, EveryControlOfTheMainWindowGetsItsSkinner) {
  ReaderFolder folder;
  BoxRecorder boxes;
  const std::unique_ptr<Tfsici> main = StartReader();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitFor([&] { return windowSkinner(main.get()) != nullptr; }));
  EXPECT_EQ(main->SkinData1->Name(), "SkinData1");
  EXPECT_TRUE(main->SkinData1->Active());
  EXPECT_FALSE(main->SkinData1->Empty()) << main->SkinData1->LoadError();

  for (QWidget* w : std::initializer_list<QWidget*>{main->GroupBox1, main->GroupBox2, main->GroupBox3, main->GroupBox4})
    EXPECT_STREQ(skinnerOf(w), "TSkinGroupBox") << w->objectName().toStdString();
  EXPECT_STREQ(skinnerOf(main->PageControl1), "TSkinTab");
  for (QWidget* w : {main->TabSheet1, main->TabSheet2, main->TabSheet3}) EXPECT_STREQ(skinnerOf(w), "TSkinTabSheet");
  for (QWidget* w : std::initializer_list<QWidget*>{main->Edit1, main->eso, main->zz, main->bt})
    EXPECT_STREQ(skinnerOf(w), "TSkinEdit") << w->objectName().toStdString();
  EXPECT_STREQ(skinnerOf(main->Button1), "TSkinButton");
  for (QWidget* w : {main->r1, main->r2, main->r3}) EXPECT_STREQ(skinnerOf(w), "TSkinRadioButton");
  for (QWidget* w : {main->cd, main->tc, main->lb}) EXPECT_STREQ(skinnerOf(w), "TSkinComBox");
  EXPECT_STREQ(skinnerOf(main->SpeedButton1), "TSkinSpeedButton");
  EXPECT_STREQ(skinnerOf(main->Panel1), "TSkinBox");
  for (QWidget* w : std::initializer_list<QWidget*>{main->ListBox1, main->rc, main->DBGridEh1, main->DBGridEh2,
                                                    main->DBGridEh3, main->DBGridEh4})
    EXPECT_STREQ(skinnerOf(w), "TSkinScrollbar") << w->objectName().toStdString();
  for (QWidget* w : std::initializer_list<QWidget*>{main->Label1, main->Label2, main->Label3, main->Label4})
    EXPECT_STREQ(skinnerOf(w), "none") << "labels keep their own drawing";
}

TEST(SkinnedReader, AGrabOfTheMainWindowShowsTheSkinWhereTheFrameAndTheControlsAre) {
  ReaderFolder folder;
  BoxRecorder boxes;
  const std::unique_ptr<Tfsici> main = StartReader();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitFor([&] { return windowSkinner(main.get()) != nullptr; }));
  const TSkinData& skin = *main->SkinData1;
  const QImage image = main->grab().toImage();
  const QMargins m = windowSkinner(main.get())->FrameMargins();
  ASSERT_GT(m.top(), 0);
  const int state = main->isActiveWindow() ? 0 : 1;
  // The frame's sides, away from their ends and from the caption's text and buttons.
  const TSkinPicture* left = skin.Picture("Personality.Left");
  const TSkinPicture* right = skin.Picture("Personality.Right");
  ASSERT_TRUE(left && right);
  EXPECT_EQ(QColor(image.pixel(1, image.height() / 2)),
            pictureColour(skin, "Personality.Left", state, {1, left->Image.height() / 2}));
  EXPECT_EQ(QColor(image.pixel(image.width() - 1, image.height() / 2)),
            pictureColour(skin, "Personality.Right", state, {right->FrameWidth() - 1, right->Image.height() / 2}));
  EXPECT_EQ(QColor(image.pixel(image.width() / 2, image.height() - 1)),
            pictureColour(skin, "Personality.Bottom", state, {10, skin.Picture("Personality.Bottom")->Image.height() - 1}));
  // The caption keeps the window's text as the window system reports it.
  EXPECT_EQ(main->windowTitle(), QStringLiteral("Tavrin诗词大全  (104862首诗词)"));
  // The face of the search button is the button picture's normal frame at its middle.
  const QPoint middle = main->Button1->mapTo(main.get(), QPoint(3, main->Button1->height() / 2));
  const TSkinPicture* button = skin.Picture("Buttons");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(QColor(image.pixel(middle)), pictureColour(skin, "Buttons", 0, {3, button->Image.height() / 2}));
  // The window's face is the skin's face colour.
  const QPoint face = main->mapFromGlobal(main->GroupBox3->mapToGlobal(QPoint(2, main->GroupBox3->height() - 3)));
  EXPECT_EQ(QColor(image.pixel(face.x() - 4, face.y())).rgb(), SkinColour(skin.Colours().ButtonFace).rgb());
}

TEST(SkinnedReader, TheSearchCommandsStayNavyAndThePromptsPurpleUnderTheSkin) {
  ReaderFolder folder;
  BoxRecorder boxes;
  const std::unique_ptr<Tfsici> main = StartReader();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitFor([&] { return windowSkinner(main.get()) != nullptr; }));
  const QColor navy(0, 0, 128), purple(128, 0, 128);
  const QColor skinText = SkinColour(main->SkinData1->Colours().ButtonText);
  ASSERT_NE(skinText, navy);
  const auto pixels = [](QWidget* control, const QColor& colour) {
    const QImage image = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour.rgb();
    return count;
  };
  for (QWidget* command : std::initializer_list<QWidget*>{main->Button1, main->SpeedButton1}) {
    SCOPED_TRACE(command->objectName().toStdString());
    EXPECT_GT(pixels(command, navy), 5);
  }
  for (QWidget* prompt : std::initializer_list<QWidget*>{main->zz, main->bt}) {
    SCOPED_TRACE(prompt->objectName().toStdString());
    EXPECT_GT(pixels(prompt, purple), 5);
  }
}

TEST(SkinnedReader, TheAboutWindowIsSkinnedWhenItIsShown) {
  ReaderFolder folder;
  BoxRecorder boxes;
  const std::unique_ptr<Tfsici> main = StartReader();
  ASSERT_TRUE(main);
  ASSERT_TRUE(waitFor([&] { return windowSkinner(main.get()) != nullptr; }));
  ASSERT_NE(Form3, nullptr);
  Form3->show();
  Form3->activateWindow();
  ASSERT_TRUE(waitFor([&] { return windowSkinner(Form3) != nullptr; }));
  EXPECT_STREQ(skinnerOf(Form3->Button1), "TSkinButton");
  // A fixed-size window offers only the close button.
  ASSERT_EQ(windowSkinner(Form3)->CaptionButtons().size(), 1u);
  EXPECT_EQ(windowSkinner(Form3)->CaptionButtons()[0].Spec->Action, caClose);
  Form3->close();
}
