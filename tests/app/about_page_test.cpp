// The About window's own page, which stands in for the maker's page that cannot be had: the
// version, the collection's figures per dynasty and the sources with their licences, while the
// window's own texts stay as they were.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "app/AboutPage.h"
#include "app/Maker.h"
#include "app/Unit3.h"
#include "app/sici.h"
#include "platform/forms/WebBrowser.h"
#include "platform/text/AnsiText.h"
#include "skin/forms/SkinManage.h"
#include "tests/app/app_fixture.h"

namespace {

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

std::string poem(int id, const char* author, const char* dynasty) {
  return g("insert into sici values (") + std::to_string(id) + g(", '诗', '") + g(author) + "', '" + g(dynasty) +
         "', '', '')";
}

std::string poet(const char* name, const char* dynasty) {
  return g("insert into poet values ('") + g(name) + "', '" + g(dynasty) + "', '')";
}

std::string texts(int id, const char* notes, const char* appreciation) {
  return g("insert into sici values (") + std::to_string(id) + g(", '床前明月光', '") + g(notes) + "', '', '" +
         g(appreciation) + "')";
}

// The rows of the page's table, each its cells joined by blanks.
QStringList tableRows(QTextDocument* page) {
  QStringList rows;
  for (QTextFrame* frame : page->rootFrame()->childFrames()) {
    const auto* table = qobject_cast<QTextTable*>(frame);
    if (!table) continue;
    for (int r = 0; r < table->rows(); ++r) {
      QStringList cells;
      for (int c = 0; c < table->columns(); ++c) {
        const QTextTableCell cell = table->cellAt(r, c);
        QTextCursor text = cell.firstCursorPosition();
        text.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
        cells << text.selectedText();
      }
      rows << cells.join(QLatin1Char(' '));
    }
  }
  return rows;
}

QColor textColourAt(QTextDocument* page, const QString& words) {
  const QTextCursor found = page->find(words);
  return found.isNull() ? QColor() : found.charFormat().foreground().color();
}

bool skinSettled() {
  const TSkinManage* skin = TSkinManage::Instance();
  return skin && skin->Active() && skin->PendingAction() == saNone;
}

const QString kDescription = QStringLiteral(
    "诗词大全Tavrin版为绿色免费软件，收录诗词104862首,包括了先秦至现代五千余位中国著名诗词作家的代表作品。"
    "每首诗词包括题目、作者、年代、体裁、类别、内容等信息；比较出名的诗词篇目带有详细的注释、译文、赏析。"
    "数据库量大，内容丰富，查找功能方便快捷。诗词大全Tavrin版是一个学习充电的好工具。");

// Three Tang poems by two poets, one with notes and one with an appreciation; one Song poem.
class AboutPage : public ::testing::Test {
 protected:
  void fill() {
    folder.execCatalogue({poem(1, "李白", "唐"), poem(2, "李白", "唐"), poem(3, "杜甫", "唐"), poem(4, "苏轼", "宋"),
                          poet("李白", "唐"), poet("杜甫", "唐"), poet("苏轼", "宋")});
    folder.execTexts(
        {texts(1, "注：床，井栏。", ""), texts(2, "", ""), texts(3, "", "此诗写安史之乱。"), texts(4, "", "")});
  }
  void start() {
    main = StartReader();
    ASSERT_TRUE(main);
    ASSERT_TRUE(waitFor([] { return Form3->WebBrowser1->ShowsErrorPage(); }));
  }
  QTextDocument* page() { return Form3->WebBrowser1->document(); }
  QString pageText() { return Form3->WebBrowser1->toPlainText(); }

  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
};

}  // namespace

TEST_F(AboutPage, StandsInForTheMakersPageWithTheVersionFiguresAndLicences) {
  fill();
  start();
  EXPECT_TRUE(pageText().isEmpty()) << "nothing is counted before a person opens the window";

  Form3->show();
  EXPECT_TRUE(pageText().contains(QStringLiteral("正在统计"))) << "the window stands before the counting";
  EXPECT_TRUE(waitFor(
      [this] { return pageText().contains(QStringLiteral("收录诗词4首，诗人3位；其中1首带有注释，1首带有赏析。")); }));
  waitFor(skinSettled);
  EXPECT_FALSE(pageText().contains(QStringLiteral("无法显示此网页")));
  EXPECT_FALSE(pageText().contains(QStringLiteral("正在统计")));
  EXPECT_TRUE(pageText().contains(QStringLiteral("Tavrin诗词大全 1.0.0")));
  const QStringList rows = tableRows(page());
  ASSERT_EQ(rows.size(), 16);
  EXPECT_EQ(rows[0].toStdString(), "朝代 诗词 诗人 有注释 有赏析");
  EXPECT_EQ(rows[1].toStdString(), "秦 0 0 0 0");
  EXPECT_EQ(rows[6].toStdString(), "唐 3 2 1 1");
  EXPECT_EQ(rows[8].toStdString(), "宋 1 1 0 0");
  EXPECT_EQ(rows[15].toStdString(), "现代 0 0 0 0");
  for (const char* named : {"chinese-poetry 2.0.1", "MIT", "https://github.com/chinese-poetry/chinese-poetry",
                            "@pinyin-pro/data 1.3.1", "ISC", "Unihan", "Unicode License v3", "OpenCC", "Apache-2.0",
                            "fonts-noto-cjk", "SIL Open Font License 1.1"})
    EXPECT_TRUE(pageText().contains(QString::fromUtf8(named))) << named;

  EXPECT_EQ(textColourAt(page(), QStringLiteral("有注释")), QColor(0, 0, 128));
  EXPECT_EQ(textColourAt(page(), QStringLiteral("Apache-2.0")), QColor(0, 0, 128));
  EXPECT_EQ(page()->rootFrame()->frameFormat().background().color(), Form3->palette().color(QPalette::Window))
      << "the window's background, as the skin has coloured it";

  EXPECT_EQ(Form3->windowTitle(), QStringLiteral("Tavrin诗词大全"));
  EXPECT_EQ(Form3->Label1->text(), kDescription);
  EXPECT_EQ(Form3->GroupBox1->title(), QStringLiteral("关于Tavrin诗词"));
  EXPECT_EQ(Form3->Label2->text(), QStringLiteral("官方主页: ") + kMakerHost + QStringLiteral(" "));
  EXPECT_EQ(Form3->Label3->text(), QStringLiteral("官方主页"));
  EXPECT_EQ(Form3->Button1->text(), QStringLiteral("返回"));
  Form3->hide();
}

TEST_F(AboutPage, ComesAlsoWhenTheLoadFailsWhileTheWindowIsOpen) {
  fill();
  start();
  Form3->show();
  Form3->WebBrowser1->Navigate(kStatisticsPage);
  EXPECT_TRUE(pageText().isEmpty());
  EXPECT_TRUE(waitFor([this] { return pageText().contains(QStringLiteral("收录诗词4首")); }));
  EXPECT_FALSE(pageText().contains(QStringLiteral("无法显示此网页")));
  Form3->hide();
}

TEST_F(AboutPage, NamesTheVersionAndSourcesWhenTheCollectionCannotBeCounted) {
  fill();
  folder.execTexts({"DROP TABLE sici"});
  start();
  Form3->show();
  EXPECT_TRUE(waitFor([this] { return pageText().contains(QStringLiteral("无法读取本目录中诗词库的统计数字。")); }));
  EXPECT_TRUE(pageText().contains(QStringLiteral("Tavrin诗词大全 1.0.0")));
  EXPECT_TRUE(pageText().contains(QStringLiteral("chinese-poetry 2.0.1")));
  EXPECT_TRUE(tableRows(page()).isEmpty());
  Form3->hide();
}

TEST_F(AboutPage, CountsEveryDynastyAsTheDynastySearchFindsIt) {
  // 五代 and 魏晋 are found by 五 and 晋, as the dynasty search finds them; 先秦 counts under 秦.
  folder.execCatalogue({poem(1, "李煜", "五代"), poem(2, "李煜", "五代"), poem(3, "冯延巳", "五代"),
                        poem(4, "陶渊明", "东晋"), poem(5, "屈原", "先秦"), poem(6, "无名氏", ""),
                        poet("李煜", "五代"), poet("冯延巳", "五代"), poet("陶渊明", "东晋"), poet("嵇康", "魏晋"),
                        poet("屈原", "先秦")});
  folder.execTexts({texts(1, "注", "赏析"), texts(2, "注", ""), texts(3, "", ""), texts(4, "", "赏析"),
                    texts(5, "", ""), texts(6, "注", "")});
  main = StartReader();
  ASSERT_TRUE(main);
  const CollectionFigures figures = ReadCollectionFigures(*main->c1, *main->c2);
  ASSERT_EQ(figures.dynasties.size(), 15u);
  // Poems, poets, poems with notes, with an appreciation.
  const auto row = [&](const char* dynasty) {
    for (const DynastyCount& r : figures.dynasties)
      if (r.dynasty == QString::fromUtf8(dynasty))
        return std::to_string(r.poems) + ' ' + std::to_string(r.poets) + ' ' + std::to_string(r.notes) + ' ' +
               std::to_string(r.appreciations);
    return std::string();
  };
  EXPECT_EQ(row("五代"), "3 2 2 1");
  EXPECT_EQ(row("魏晋"), "1 2 0 1");
  EXPECT_EQ(row("秦"), "1 1 0 0");
  EXPECT_EQ(row("唐"), "0 0 0 0");
  EXPECT_EQ(figures.dynasties[6].dynasty, QStringLiteral("五代")) << "in the order of the dynasty list";
  EXPECT_EQ(figures.all.poems, 6);
  EXPECT_EQ(figures.all.poets, 5);
  EXPECT_EQ(figures.all.notes, 3);
  EXPECT_EQ(figures.all.appreciations, 2);
}
