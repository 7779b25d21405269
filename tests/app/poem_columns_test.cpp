// The poem in columns, on paper and as a picture, through the real window: 竖排 in place of the
// view with the red word and the syllables of the view, the choice kept, copying as before, a PDF
// through Qt's print support read back with pdftotext, and a PNG at twice the scale.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTextEdit>

#include "app/PoemColumns.h"
#include "app/PoemPinyin.h"
#include "app/PoemPrinting.h"
#include "app/Statements.h"
#include "app/VerticalPoemView.h"
#include "app/sici.h"
#include "platform/forms/FileDialogs.h"
#include "platform/forms/PrintDialogs.h"
#include "platform/text/AnsiText.h"
#include "tests/app/app_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string g(const char* utf8) { return text::utf8ToAnsi(utf8); }

void fillCollection(const ReaderFolder& folder) {
  folder.execCatalogue({g("insert into sici values (1, '静夜思', '李白', '唐', '五绝', '')")});
  folder.execTexts({
      g("insert into sici values (1, '床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。', '“明月”：月亮', '', '')"),
      "insert into source values (1, '靜夜思', '李白', '床前明月光，疑是地上霜。\r\n舉頭望明月，低頭思故鄉。', 1, "
      "'唐诗三百首·五言绝句')",
  });
}

class PoemColumnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fillCollection(folder);
    start();
  }
  void TearDown() override { main.reset(); }
  void start() {
    main = StartReader();
    ASSERT_TRUE(main);
    columns = PoemColumnsOf(*main);
    ASSERT_NE(columns, nullptr);
  }
  void show() { main->shownr(statements::PoemRow("1")); }

  ConfigHome config;
  ReaderFolder folder;
  BoxRecorder boxes;
  std::unique_ptr<Tfsici> main;
  PoemColumns* columns = nullptr;
};

}  // namespace

TEST_F(PoemColumnsTest, TheColumnsTakeThePlaceOfTheViewWithItsRedWordAndTheChoiceIsKept) {
  SearchWord = g("明月");
  show();
  EXPECT_FALSE(columns->Columns()->isVisible());
  QTest::keyClick(main.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(main->N17->isChecked());
  EXPECT_TRUE(columns->Columns()->isVisible());
  EXPECT_FALSE(main->rc->isVisible());

  const TVerticalLayout& layout = columns->Columns()->Layout();
  const QPoint origin = columns->Columns()->LayoutOrigin();
  const QRect first = layout.CellRect(TVerticalLayout::kTitle, 0).translated(origin);
  const QRect line = layout.CellRect(0, 0).translated(origin);
  EXPECT_GT(first.left(), line.left()) << "the title stands right of the lines";
  EXPECT_GT(first.left(), columns->Columns()->viewport()->width() / 2) << "at the right, where reading begins";
  EXPECT_LT(first.top(), line.bottom());

  // 明 of the first line is red in the columns as in the view.
  const QImage shot = columns->Columns()->viewport()->grab().toImage();
  const QRect moon = layout.CellRect(0, 2).translated(origin);
  int red = 0;
  for (int y = moon.top(); y <= moon.bottom(); ++y)
    for (int x = moon.left(); x <= moon.right(); ++x) {
      const QColor c = shot.pixelColor(x * shot.width() / columns->Columns()->viewport()->width(),
                                       y * shot.height() / columns->Columns()->viewport()->height());
      red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
    }
  EXPECT_GT(red, 5) << "the search word is red in its column";

  // The zoom and the pinyin of the view go with it.
  const int before = columns->Columns()->font().pixelSize();
  QTest::keyClick(main.get(), Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_GT(columns->Columns()->font().pixelSize(), before) << "Ctrl+= widens the columns as it enlarges the view";
  main->N9->trigger();
  const PoemPinyin* pinyin = PoemPinyinOf(*main);
  // Without the dictionary (a build without the pinyin data) pinyin stays off.
  if (pinyin && pinyin->Shown()) {
    EXPECT_TRUE(columns->Columns()->SyllablesShown());
    EXPECT_EQ(columns->Sheet().Lines[0][0].Syllable, QStringLiteral("chuáng")) << "床 with its syllable beside it";
    main->N9->trigger();
  }

  // The same text as across: 全选 and 复制 take the view's.
  main->N2->trigger();
  main->N1->trigger();
  EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("举头望明月")));
  EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("【注释】"))) << "the notes as well";

  // Kept, and shown from the start of the next window.
  main.reset();
  start();
  EXPECT_TRUE(main->N17->isChecked());
  EXPECT_FALSE(columns->Columns()->isVisible()) << "the read-me stays in the view";
  show();
  EXPECT_TRUE(columns->Columns()->isVisible());
  main->N16->trigger();
  const QString title = [&] {
    QString t;
    for (const TPoemCell& cell : columns->Sheet().Title) t += cell.Text;
    return t;
  }();
  EXPECT_EQ(title, QStringLiteral("靜夜思")) << "the source's script in columns too";
  EXPECT_EQ(columns->Sheet().Source, QStringLiteral("出处：唐诗三百首·五言绝句"));
  main->N17->trigger();
  EXPECT_TRUE(main->rc->isVisible());
  EXPECT_NE(config.read().find("vertical=0"), std::string::npos);
}

TEST_F(PoemColumnsTest, PrintingWritesThePoemAsShownThroughQtsPrintSupport) {
  show();
  const fs::path pdf = folder.path() / "poem.pdf";
  int asked = 0;
  const auto previous = SetPrintDialogPresenter([&](QPrinter& printer) {
    ++asked;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    return true;
  });
  main->N18->trigger();
  SetPrintDialogPresenter(previous);
  ASSERT_EQ(asked, 1);
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QString::fromStdString(pdf.string()), QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(20000));
  const QString printed = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
  EXPECT_TRUE(printed.contains(QStringLiteral("静夜思"))) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("举头望明月"))) << printed.toStdString();
  EXPECT_TRUE(printed.contains(QStringLiteral("唐诗三百首"))) << "with its source";
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf.string())});
  ASSERT_TRUE(info.waitForFinished(20000));
  EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages: +1\\n"))));
}

TEST_F(PoemColumnsTest, APictureIsAPngAtTwiceTheScaleOnThePaperColourNamedAfterTheTitle) {
  show();
  main->N17->trigger();
  const fs::path png = folder.path() / "poem.png";
  QString offered;
  const auto previous = SetFileDialogPresenter([&](const TFileDialogRequest& request) {
    offered = request.file;
    return QString::fromStdString(png.string());
  });
  main->N19->trigger();
  SetFileDialogPresenter(previous);
  EXPECT_TRUE(offered.endsWith(QStringLiteral("/静夜思.png"))) << offered.toStdString();
  const QImage image(QString::fromStdString(png.string()));
  ASSERT_FALSE(image.isNull());
  const QImage once = RenderPoemImage(columns->Sheet(), true, main->rc->font(), QColor(240, 251, 255), 1.0);
  EXPECT_EQ(image.size(), once.size() * 2);
  EXPECT_EQ(image.pixelColor(1, 1), QColor(240, 251, 255));
  EXPECT_EQ(main->Label4->text(), QStringLiteral("已保存图片 ") + QString::fromStdString(png.string()));
}
