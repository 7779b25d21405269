// The poem on paper and as a picture: real PDF files written through QPdfWriter and through
// QPrinter, read back with poppler's pdfinfo and pdftotext, and a PNG file read back.

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/HorizontalLayout.h"
#include "app/PoemPrinting.h"
#include "app/VerticalLayout.h"

namespace {

const QColor kPaper(240, 251, 255);

QFont songti(int pixels) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixels);
  return font;
}

TPoemSheet quietNight() {
  return SheetOf(QStringLiteral("静夜思"), QStringLiteral("李白"), QStringLiteral("唐"),
                 QStringLiteral("出处：全唐诗·卷一百六十五"),
                 {QStringLiteral("床前明月光，"), QStringLiteral("疑是地上霜。"), QStringLiteral("举头望明月，"),
                  QStringLiteral("低头思故乡。")});
}

// About 3,000 characters, every line numbered so that a line lost between pages shows.
TPoemSheet longPoem() {
  QStringList lines;
  for (int i = 0; i < 200; ++i) lines << QStringLiteral("春江潮水连海平%1海上明月共潮生。").arg(i);
  return SheetOf(QStringLiteral("春江花月夜"), QStringLiteral("张若虚"), QStringLiteral("唐"), QString(), lines);
}

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

int pages(const QString& pdf) {
  const QRegularExpressionMatch count =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
  return count.hasMatch() ? count.captured(1).toInt() : 0;
}

// The text as pdftotext reads it, without white space. Qt writes the characters that share their
// glyph with a Kangxi radical (月 and ⽉) as the radical; compatibility folding gives them back.
QString textOf(const QString& pdf, QString* raw = nullptr) {
  QString text =
      run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  if (raw) *raw = text;
  text = text.normalized(QString::NormalizationForm_KC);
  text.remove(QRegularExpression(QStringLiteral("\\s")));
  return text;
}

QString folded(const QString& text) { return text.normalized(QString::NormalizationForm_KC); }

class PoemPrinting : public ::testing::Test {
 protected:
  QString file(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
  QTemporaryDir folder;
};

}  // namespace

TEST_F(PoemPrinting, AShortPoemTakesOnePageWithItsHeadingAndItsLines) {
  const QString pdf = file("short.pdf");
  {
    QPdfWriter writer(pdf);
    ASSERT_TRUE(PrintPoem(writer, quietNight(), false, songti(16)));
  }
  EXPECT_EQ(pages(pdf), 1);
  const QString text = textOf(pdf);
  for (const QString& expected :
       {QStringLiteral("静夜思"), QStringLiteral("〔唐〕李白"), QStringLiteral("出处：全唐诗·卷一百六十五"),
        QStringLiteral("床前明月光，疑是地上霜。"), QStringLiteral("举头望明月，低头思故乡。")})
    EXPECT_TRUE(text.contains(folded(expected))) << expected.toStdString() << " in " << text.toStdString();
  EXPECT_LT(text.indexOf(folded(QStringLiteral("静夜思"))), text.indexOf(folded(QStringLiteral("床前"))));
}

TEST_F(PoemPrinting, ALongPoemGoesOnOverPagesWithoutLosingALine) {
  const QString pdf = file("long.pdf");
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(PrintPoem(printer, longPoem(), false, songti(16)));
  }
  EXPECT_GT(pages(pdf), 1);
  const QString text = textOf(pdf);
  for (int i = 0; i < 200; ++i)
    EXPECT_TRUE(text.contains(folded(QStringLiteral("春江潮水连海平%1海上明月共潮生。").arg(i)))) << "line " << i;
}

TEST_F(PoemPrinting, SyllablesArePrintedWhenTheSheetHasThem) {
  TPoemSheet sheet = quietNight();
  sheet.Title[0].Syllable = QStringLiteral("jìng");
  sheet.Lines[0][0].Syllable = QStringLiteral("chuáng");
  const QString pdf = file("syllables.pdf");
  {
    QPdfWriter writer(pdf);
    ASSERT_TRUE(PrintPoem(writer, sheet, false, songti(16)));
  }
  const QString text = textOf(pdf);
  EXPECT_TRUE(text.contains(folded(QStringLiteral("jìng"))));
  EXPECT_TRUE(text.contains(folded(QStringLiteral("chuáng"))));
}

TEST_F(PoemPrinting, VerticalPagesCarryTheColumnsAndTheVerticalPunctuation) {
  const QString shortPdf = file("vertical-short.pdf");
  {
    QPdfWriter writer(shortPdf);
    ASSERT_TRUE(PrintPoem(writer, quietNight(), true, songti(16)));
  }
  EXPECT_EQ(pages(shortPdf), 1);
  QString raw;
  const QString text = textOf(shortPdf, &raw);
  for (const QChar c : folded(QStringLiteral("静夜思李白床霜乡")))
    EXPECT_TRUE(text.contains(c)) << QString(c).toStdString();
  EXPECT_TRUE(raw.contains(QChar(0xFE10))) << "the vertical comma";
  EXPECT_FALSE(raw.contains(QChar(0xFF0C))) << "no horizontal comma";

  const QString longPdf = file("vertical-long.pdf");
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(longPdf);
    ASSERT_TRUE(PrintPoem(printer, longPoem(), true, songti(16)));
  }
  EXPECT_GT(pages(longPdf), 1);
  const QString longText = textOf(longPdf);
  for (const QChar c : folded(QStringLiteral("春江花月夜张若虚")))
    EXPECT_TRUE(longText.contains(c)) << QString(c).toStdString();
  EXPECT_EQ(longText.count(QLatin1Char('9')), 40) << "every number of every line, 9 in 20 of 0-99 and 20 of 100-199";
}

TEST_F(PoemPrinting, AFileThatCannotBeWrittenIsReported) {
  QPdfWriter writer(file("missing/folder/poem.pdf"));
  EXPECT_FALSE(PrintPoem(writer, quietNight(), false, songti(16)));
}

TEST_F(PoemPrinting, APictureIsTwiceTheLaidOutPoemAndItsMarginsOnThePaper) {
  TPoemSheet sheet = quietNight();
  sheet.Lines[2][3].Red = true;
  const QFont font = songti(16);
  const int margin = PoemImageMargin(font);
  const QImage image = RenderPoemImage(sheet, true, font, kPaper, 2.0);
  EXPECT_EQ(image.devicePixelRatio(), 2.0);
  const QString png = file("poem.png");
  ASSERT_TRUE(image.save(png));

  const QImage read(png);
  const TVerticalLayout layout(sheet, font, 100000, {false, true, false});
  EXPECT_EQ(read.size(), (layout.Size() + QSize(2 * margin, 2 * margin)) * 2);
  EXPECT_EQ(QColor(read.pixel(0, 0)), kPaper);
  EXPECT_EQ(QColor(read.pixel(read.width() - 1, read.height() - 1)), kPaper);
  // The red character in its place, twice as large.
  const QRect red = layout.CellRect(2, 3).translated(margin, margin);
  int reds = 0;
  for (int y = red.top() * 2; y < red.bottom() * 2; ++y)
    for (int x = red.left() * 2; x < red.right() * 2; ++x) {
      const QColor c(read.pixel(x, y));
      reds += c.red() > 200 && c.green() < 90 && c.blue() < 90;
    }
  EXPECT_GT(reds, 20);

  const QImage across = RenderPoemImage(sheet, false, font, kPaper, 2.0);
  const THorizontalLayout rows(sheet, font, 100000, {false, true, false});
  EXPECT_EQ(across.size(), (rows.Size() + QSize(2 * margin, 2 * margin)) * 2);
}
