// The poem view's zoom through the real window: keys and wheel, its bounds, the lists that
// keep their fonts, and the size kept between runs in the configuration folder.

#include <gtest/gtest.h>

#include <QGlyphRun>
#include <QLineEdit>
#include <QListWidget>
#include <QRawFont>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextEdit>
#include <QWheelEvent>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/PoemZoom.h"
#include "app/sici.h"
#include "grid/DBGridEh.h"
#include "platform/forms/ListBox.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"

namespace fs = std::filesystem;

namespace {

void ctrlWheel(QWidget* viewport, int delta, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
  const QPointF at(10, 10);
  QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(viewport, &wheel);
}

class Zoom : public ::testing::Test {
 protected:
  void SetUp() override {
    main = StartReader();
    ASSERT_TRUE(main);
    zoom = PoemZoomOf(*main);
    ASSERT_NE(zoom, nullptr);
  }
  int viewPixels() const { return main->rc->document()->defaultFont().pixelSize(); }
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    QTest::keyClick(main->rc, static_cast<Qt::Key>(key), modifiers);
  }

  ConfigHome home;
  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
  PoemZoom* zoom = nullptr;
};

}  // namespace

TEST_F(Zoom, KeysStepTheViewByTenPercentBetweenHalfAndThreeTimesItsSize) {
  EXPECT_EQ(zoom->Percent(), 100);
  EXPECT_EQ(viewPixels(), 16);
  key(Qt::Key_Equal);
  key(Qt::Key_Plus);
  key(Qt::Key_Equal);
  EXPECT_EQ(zoom->Percent(), 130);
  EXPECT_EQ(viewPixels(), 21);
  key(Qt::Key_Minus);
  EXPECT_EQ(zoom->Percent(), 120);
  for (int i = 0; i < 20; ++i) key(Qt::Key_Minus);
  EXPECT_EQ(zoom->Percent(), 50);
  EXPECT_EQ(viewPixels(), 8);
  key(Qt::Key_0);
  EXPECT_EQ(viewPixels(), 16);
  for (int i = 0; i < 30; ++i) key(Qt::Key_Equal);
  EXPECT_EQ(zoom->Percent(), 300);
  EXPECT_EQ(viewPixels(), 48);
  key(Qt::Key_Equal, Qt::NoModifier);
  EXPECT_EQ(zoom->Percent(), 300) << "only with Ctrl";
  key(Qt::Key_0);

  // The keys work wherever the focus is in the window.
  main->eso->setFocus();
  QTest::keyClick(main->eso, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(zoom->Percent(), 110);
  EXPECT_TRUE(main->eso->text().isEmpty());
}

TEST_F(Zoom, CtrlWheelOverTheViewZoomsByNotchesAndTheListsKeepTheirFonts) {
  const std::vector<QWidget*> others{main->DBGridEh1, main->DBGridEh2, main->DBGridEh3, main->DBGridEh4,
                                     main->ListBox1,   main->eso,       main->Edit1};
  std::vector<QFont> fonts;
  for (QWidget* w : others) fonts.push_back(w->font());
  QWidget* viewport = main->rc->viewport();
  ctrlWheel(viewport, 120);
  EXPECT_EQ(zoom->Percent(), 110);
  ctrlWheel(viewport, -360);
  EXPECT_EQ(zoom->Percent(), 80);
  ctrlWheel(viewport, 60);
  EXPECT_EQ(zoom->Percent(), 80) << "half a notch waits for the other half";
  ctrlWheel(viewport, 60);
  EXPECT_EQ(zoom->Percent(), 90);
  ctrlWheel(viewport, 120, Qt::NoModifier);
  EXPECT_EQ(zoom->Percent(), 90) << "a plain wheel scrolls";
  ctrlWheel(viewport, 2147483647);
  EXPECT_EQ(zoom->Percent(), 300) << "one wild turn crosses the range once";
  ctrlWheel(viewport, -2147483647 - 1);
  EXPECT_EQ(zoom->Percent(), 50);

  for (std::size_t i = 0; i < others.size(); ++i) EXPECT_EQ(others[i]->font(), fonts[i]) << others[i]->objectName().toStdString();
}

TEST_F(Zoom, AMarkedWordStaysRedAtEverySize) {
  folder.execCatalogue({text::utf8ToAnsi("insert into sici values (1, '静夜思', '李白', '唐', '', '')")});
  folder.execTexts({text::utf8ToAnsi("insert into sici values (1, '床前明月光，举头望明月。', '', '', '')")});
  SearchWord = text::utf8ToAnsi("明月");
  main->shownr(text::utf8ToAnsi("SELECT * FROM sici where id='1' limit 1"));
  SearchWord.clear();
  key(Qt::Key_Equal);
  key(Qt::Key_Equal);
  main->rc->grab();  // laid out as it is drawn
  int red = 0, runs = 0;
  for (QTextBlock block = main->rc->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().foreground().color() == QColor(255, 0, 0)) {
        red += static_cast<int>(it.fragment().text().count(QStringLiteral("明月")));
        // As laid out for drawing: the red word is drawn at the zoomed size too.
        for (const QGlyphRun& run : block.layout()->glyphRuns(it.fragment().position() - block.position(), it.fragment().length())) {
          EXPECT_EQ(run.rawFont().pixelSize(), 19);
          ++runs;
        }
      }
  EXPECT_EQ(red, 2);
  EXPECT_GE(runs, 2);
}

TEST(ZoomBetweenRuns, TheSizeIsKeptInTheConfigurationFolderAndOnlyWhenChanged) {
  ConfigHome home;
  ReaderFolder folder;
  BoxRecorder boxes;
  {
    auto main = StartReader();
    ASSERT_TRUE(main);
    EXPECT_FALSE(fs::exists(home.file())) << "nothing written until the size changes";
    PoemZoomOf(*main)->SetPercent(150);
    EXPECT_EQ(home.read(), "zoom=150\n");
  }
  auto main = StartReader();
  ASSERT_TRUE(main);
  EXPECT_EQ(PoemZoomOf(*main)->Percent(), 150);
  EXPECT_EQ(main->rc->document()->defaultFont().pixelSize(), 24);
  EXPECT_EQ(main->DBGridEh4->font().pixelSize(), 16);
}

TEST(ZoomBetweenRuns, ADamagedOrHostileFileNeverStopsTheStart) {
  ReaderFolder folder;
  BoxRecorder boxes;
  const auto startingPercent = [] {
    auto main = StartReader();
    return main ? PoemZoomOf(*main)->Percent() : -1;
  };
  const struct {
    std::string bytes;
    int percent;
  } cases[] = {
      {"zoom=abc\n", 100},
      {"zoom=-40", 50},
      {"zoom=99999999999999999999\n", 100},
      {"zoom=125\r\n", 130},
      {"zoom = 70 \n", 70},
      {"zoom=200\nzoom=60\n", 60},
      {"colour=red\nzoom\n=\n", 100},
      {std::string("\0\xFF\xFEzoom=\x80\n", 9), 100},
      {std::string(8192, 'x') + "\nzoom=200\n", 100},
  };
  for (const auto& c : cases) {
    ConfigHome home;
    home.write(c.bytes);
    EXPECT_EQ(startingPercent(), c.percent) << c.bytes.substr(0, 40);
  }

  // A folder where the file should be, or a configuration home that is a file: the reader
  // starts at the normal size and zooms all the same, only without keeping it.
  {
    ConfigHome home;
    fs::create_directories(home.file());
    auto main = StartReader();
    ASSERT_TRUE(main);
    PoemZoom* zoom = PoemZoomOf(*main);
    EXPECT_EQ(zoom->Percent(), 100);
    zoom->ZoomIn();
    EXPECT_EQ(zoom->Percent(), 110);
    EXPECT_TRUE(fs::is_directory(home.file()));
  }
  ConfigHome home;
  const fs::path plain = home.path() / "plain";
  std::ofstream(plain) << "zoom=200\n";
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(plain.string()));
  auto main = StartReader();
  ASSERT_TRUE(main);
  EXPECT_EQ(PoemZoomOf(*main)->Percent(), 100);
  PoemZoomOf(*main)->ZoomOut();
  EXPECT_EQ(PoemZoomOf(*main)->Percent(), 90);
  EXPECT_EQ(main->rc->document()->defaultFont().pixelSize(), 14);
}
