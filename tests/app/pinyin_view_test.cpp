// Pinyin over the poem through the real window: the syllables painted above the title, the author
// and the poem's lines and nowhere else, the text the view holds and copies unchanged, the red
// search word still red, the choice kept across windows, and a dictionary that cannot be had.

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <fstream>

#include "app/PoemPinyin.h"
#include "app/PoemZoom.h"
#include "app/ReaderConfig.h"
#include "app/sici.h"
#include "platform/text/AnsiText.h"
#include "platform/text/PinyinDictionary.h"
#include "tests/app/app_fixture.h"

namespace {

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

class PinyinView : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.execCatalogue({g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '羁旅')"),
                          g("insert into poet values ('李白', '唐', '字太白')")});
    folder.execTexts({g("insert into sici values (1, '床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。', "
                        "'明月：月亮', '', '思乡之作')")});
    main = StartReader();
    ASSERT_TRUE(main);
    SearchWord.clear();
    pinyin = PoemPinyinOf(*main);
    ASSERT_NE(pinyin, nullptr);
  }
  void TearDown() override {
    main.reset();
    SetPoemPinyinDictionary({});
  }

  // The cases that read poems need the dictionary the build puts beside the programs.
  bool withoutDictionary() const { return !std::filesystem::exists(text::PinyinDictionaryBesideProgram()); }

  void show() {
    main->shownr(g("SELECT * FROM sici where id='1' limit 1"));
    QCoreApplication::processEvents();
  }
  QTextBlock block(int number) const { return main->rc->document()->findBlockByNumber(number); }
  // The block whose text begins with `start`.
  QTextBlock blockStarting(const QString& start) const {
    for (QTextBlock b = main->rc->document()->firstBlock(); b.isValid(); b = b.next())
      if (b.text().startsWith(start)) return b;
    return {};
  }
  // The view's pixels in a band of half a character's height just above the character at
  // `position` of the document, within the view.
  QImage bandAbove(int position) const {
    QTextCursor at(main->rc->document());
    at.setPosition(position);
    const QRect character = main->rc->cursorRect(at);
    const QImage view = main->rc->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect band(character.left() - 6, character.top() - character.height() / 2 - 2, character.height() + 12,
                     character.height() / 2);
    const QRect inside = band & view.rect();
    return inside.isEmpty() ? QImage() : view.copy(inside);
  }
  static int inked(const QImage& image, QColor background) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += QColor(image.pixel(x, y)) != background;
    return n;
  }

  ConfigHome config;
  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
  PoemPinyin* pinyin = nullptr;
};

}  // namespace

TEST_F(PinyinView, TheItemAndItsShortcutShowSyllablesOverTitleAuthorAndLinesOnly) {
  if (withoutDictionary()) GTEST_SKIP() << "built without the pinyin data";
  EXPECT_EQ(main->N9->text(), QStringLiteral("显示拼音"));
  EXPECT_TRUE(main->N9->isCheckable());
  EXPECT_FALSE(main->N9->isChecked());
  show();
  const QString plain = main->rc->toPlainText();
  const QColor background = main->rc->palette().color(QPalette::Base);
  const int title = block(0).position() + static_cast<int>(QStringLiteral("【标题】：").size());
  EXPECT_EQ(inked(bandAbove(title), background), 0);

  QTest::keyClick(main.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(pinyin->Shown());
  EXPECT_TRUE(main->N9->isChecked());
  QCoreApplication::processEvents();

  const std::vector<QString> titleSyllables = pinyin->SyllablesOf(block(0));
  ASSERT_EQ(titleSyllables.size(), static_cast<std::size_t>(block(0).text().size()));
  EXPECT_TRUE(titleSyllables[0].isEmpty()) << "the heading has none";
  EXPECT_EQ(titleSyllables[5], QStringLiteral("jìng"));
  EXPECT_EQ(titleSyllables[7], QStringLiteral("sī"));
  EXPECT_EQ(pinyin->SyllablesOf(block(1))[5], QStringLiteral("lǐ"));
  const QTextBlock line = blockStarting(QStringLiteral("床前"));
  ASSERT_TRUE(line.isValid());
  const std::vector<QString> lineSyllables = pinyin->SyllablesOf(line);
  EXPECT_EQ(lineSyllables[0], QStringLiteral("chuáng"));
  EXPECT_EQ(lineSyllables[5], QString()) << "punctuation has none";
  EXPECT_TRUE(pinyin->SyllablesOf(blockStarting(QStringLiteral("【朝代】"))).empty());
  EXPECT_TRUE(pinyin->SyllablesOf(blockStarting(QStringLiteral("明月："))).empty()) << "notes stay as they are";
  EXPECT_TRUE(pinyin->SyllablesOf(blockStarting(QStringLiteral("【作者小传】"))).empty());

  EXPECT_GT(inked(bandAbove(title), background), 10) << "a syllable is painted above the title";
  EXPECT_EQ(main->rc->toPlainText(), plain) << "the view's text holds no syllable";

  // Off again: the room and the syllables go.
  main->N9->trigger();
  EXPECT_FALSE(pinyin->Shown());
  EXPECT_TRUE(pinyin->SyllablesOf(block(0)).empty());
  EXPECT_EQ(line.blockFormat().topMargin(), 0);
  EXPECT_EQ(inked(bandAbove(title), background), 0);
}

TEST_F(PinyinView, CopyingTakesTheCharactersOnlyAndTheSearchWordStaysRed) {
  if (withoutDictionary()) GTEST_SKIP() << "built without the pinyin data";
  SearchWord = g("明月");
  pinyin->SetShown(true);
  show();
  int red = 0;
  for (QTextBlock b = main->rc->document()->firstBlock(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().foreground().color() == QColor(255, 0, 0))
        red += static_cast<int>(it.fragment().text().count(QStringLiteral("明月")));
  EXPECT_EQ(red, 3) << "both lines and the note";

  QTextCursor cursor(blockStarting(QStringLiteral("床前")));
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  main->rc->setTextCursor(cursor);
  main->N1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("床前明月光，疑是地上霜。"));
}

TEST_F(PinyinView, TheChoiceIsKeptForTheNextWindow) {
  if (withoutDictionary()) GTEST_SKIP() << "built without the pinyin data";
  main->N9->trigger();
  EXPECT_EQ(ReadSetting(kPinyinSetting), 1);
  main.reset();
  main = StartReader();
  ASSERT_TRUE(main);
  PoemPinyin* again = PoemPinyinOf(*main);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->Shown());
  EXPECT_TRUE(main->N9->isChecked());
  main->shownr(g("SELECT * FROM sici where id='1' limit 1"));
  EXPECT_EQ(again->SyllablesOf(main->rc->document()->firstBlock())[5], QStringLiteral("jìng"));
}

TEST_F(PinyinView, ADamagedOrMissingDictionaryLeavesPinyinOffAndSaysSo) {
  for (const std::string& bytes : {std::string(), std::string("sici.pinyin 1\n明月\tmíng\n")}) {
    main.reset();
    const std::filesystem::path file = folder.path() / "broken.pinyin";
    if (bytes.empty()) std::filesystem::remove(file);
    else std::ofstream(file, std::ios::binary) << bytes;
    SetPoemPinyinDictionary(file);
    WriteSetting(kPinyinSetting, 1);  // kept on from an earlier run
    main = StartReader();
    ASSERT_TRUE(main);
    PoemPinyin* view = PoemPinyinOf(*main);
    show();
    EXPECT_FALSE(view->Shown()) << "the first poem finds no dictionary";
    EXPECT_FALSE(main->N9->isChecked());
    view->SetShown(true);
    EXPECT_FALSE(view->Shown());
    EXPECT_FALSE(main->N9->isChecked());
    EXPECT_TRUE(main->Label4->text().startsWith(QStringLiteral("拼音不可用"))) << main->Label4->text().toStdString();
    EXPECT_NE(main->rc->toPlainText().indexOf(QStringLiteral("床前明月光")), -1) << "the poem is still shown";
  }
}

TEST_F(PinyinView, TheSyllablesFollowTheZoom) {
  if (withoutDictionary()) GTEST_SKIP() << "built without the pinyin data";
  pinyin->SetShown(true);
  show();
  const auto room = [this] { return blockStarting(QStringLiteral("床前")).blockFormat().lineHeight(); };
  const qreal normal = room();
  ASSERT_GT(normal, 0);
  PoemZoomOf(*main)->SetPercent(200);
  EXPECT_TRUE(waitFor([&] { return room() != normal; }));
  EXPECT_NEAR(room(), 2 * normal, 2) << "the syllables grow with the characters";
  EXPECT_EQ(pinyin->SyllablesOf(blockStarting(QStringLiteral("床前")))[0], QStringLiteral("chuáng"));
}

TEST_F(PinyinView, TheSyllablesScrollWithTheirCharactersAndStaySharpAtTwiceTheDevicePixels) {
  if (withoutDictionary()) GTEST_SKIP() << "built without the pinyin data";
  pinyin->SetShown(true);
  show();
  const QColor background = main->rc->palette().color(QPalette::Base);
  const int second = blockStarting(QStringLiteral("举头")).position();
  const QRect before = [&] {
    QTextCursor at(main->rc->document());
    at.setPosition(second);
    return main->rc->cursorRect(at);
  }();
  main->rc->verticalScrollBar()->setValue(before.top() - 40);
  QCoreApplication::processEvents();
  QTextCursor at(main->rc->document());
  at.setPosition(second);
  ASSERT_LT(main->rc->cursorRect(at).top(), before.top()) << "the view scrolled";
  EXPECT_GT(inked(bandAbove(second), background), 10) << "the syllable moved with its character";

  // Painted again at twice the device pixels, a syllable has about four times the ink, drawn
  // sharp: not a picture of the normal size blown up, whose pixels come in uniform 2×2 blocks, nor
  // smoothed, which greys its strokes.
  const auto render = [&](qreal ratio) {
    QImage image(main->rc->viewport()->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    main->rc->viewport()->render(&image);
    const QRect character = main->rc->cursorRect(at);
    const QRect band(character.left() - 6, character.top() - character.height() / 2 - 2, character.height() + 12,
                     character.height() / 2);
    const QRect scaled(band.topLeft() * ratio, band.size() * ratio);
    return image.copy(scaled & image.rect());
  };
  const auto dark = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 96;
    return n;
  };
  const QImage normal = render(1), twice = render(2);
  ASSERT_GT(dark(normal), 0);
  EXPECT_GE(dark(twice), 3 * dark(normal));
  int inkedBlocks = 0, unevenBlocks = 0;
  for (int y = 0; y + 1 < twice.height(); y += 2)
    for (int x = 0; x + 1 < twice.width(); x += 2) {
      const QRgb p[] = {twice.pixel(x, y), twice.pixel(x + 1, y), twice.pixel(x, y + 1), twice.pixel(x + 1, y + 1)};
      if (std::all_of(std::begin(p), std::end(p), [&](QRgb c) { return QColor(c) == background; })) continue;
      ++inkedBlocks;
      unevenBlocks += !std::all_of(std::begin(p), std::end(p), [&](QRgb c) { return c == p[0]; });
    }
  ASSERT_GT(inkedBlocks, 0);
  EXPECT_GT(unevenBlocks * 5, inkedBlocks) << "drawn at the device's own pixels";
}
