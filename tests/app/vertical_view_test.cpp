// The poem in columns, through the view's own pixels: the title at the top right and the lines
// to its left, characters upright, punctuation in its vertical forms, Latin letters on their side,
// red cells red, syllables beside their characters, a long poem opening at its right edge, the
// wheel scrolling across and the zoom widening the columns.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/VerticalLayout.h"
#include "app/VerticalPoemView.h"

namespace {

const QColor kPaper(240, 251, 255);

QFont songti(int pixels) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(pixels);
  return font;
}

TPoemSheet quietNight() {
  return SheetOf(QStringLiteral("静夜思"), QStringLiteral("李白"), QStringLiteral("唐"), QString(),
                 {QStringLiteral("床前明月光，"), QStringLiteral("疑是地上霜。"), QStringLiteral("举头望明月，"),
                  QStringLiteral("低头思故乡。")});
}

TPoemSheet longPoem(int lines) {
  QStringList text;
  for (int i = 0; i < lines; ++i) text << QStringLiteral("春江潮水连海平，海上明月共潮生。");
  return SheetOf(QStringLiteral("春江花月夜"), QStringLiteral("张若虚"), QStringLiteral("唐"), QString(), text);
}

bool inked(QRgb pixel) { return qGray(pixel) < 170; }

// The smallest rectangle holding every inked pixel of `area` in `image`; empty if none.
QRect inkBounds(const QImage& image, const QRect& area) {
  QRect bounds;
  const QRect inside = area & image.rect();
  for (int y = inside.top(); y <= inside.bottom(); ++y)
    for (int x = inside.left(); x <= inside.right(); ++x)
      if (inked(image.pixel(x, y))) bounds |= QRect(x, y, 1, 1);
  return bounds;
}

// `glyph` drawn alone, centred in a square of the font's size, black on the paper.
QImage alone(const QString& glyph, const QFont& font) {
  const int em = font.pixelSize();
  QImage image(em, em, QImage::Format_RGB32);
  image.fill(kPaper);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 0, em, em), Qt::AlignCenter, glyph);
  return image;
}

// How many pixels of the square `cell` of `shot` disagree with `reference` on ink, at the best of
// the small shifts that two ways of centring a glyph may differ by.
int mismatch(const QImage& shot, const QRect& cell, const QImage& reference) {
  int best = INT_MAX;
  for (int dy = -3; dy <= 3; ++dy)
    for (int dx = -3; dx <= 3; ++dx) {
      int wrong = 0;
      for (int y = 0; y < reference.height(); ++y)
        for (int x = 0; x < reference.width(); ++x) {
          const QPoint at(cell.left() + x + dx, cell.top() + y + dy);
          const bool shotInk = shot.rect().contains(at) && inked(shot.pixel(at));
          wrong += shotInk != inked(reference.pixel(x, y));
        }
      best = std::min(best, wrong);
    }
  return best;
}

class VerticalView : public ::testing::Test {
 protected:
  void SetUp() override {
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, kPaper);
    view.setPalette(palette);
    view.SetFont(songti(16));
    view.resize(480, 320);
    view.show();
  }
  QImage shot() { return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QRect inView(int line, int index) const {
    return view.Layout().CellRect(line, index).translated(view.LayoutOrigin());
  }

  TVerticalPoemView view;
};

}  // namespace

TEST(VerticalLayout, TheTitleBeginsAtTheTopRightAndEachLineTakesTheNextColumnToTheLeft) {
  const TVerticalLayout layout(quietNight(), songti(16), 400, {});
  const QRect title = layout.CellRect(TVerticalLayout::kTitle, 0);
  EXPECT_EQ(title.right(), layout.Size().width() - 1);
  EXPECT_LT(title.top(), 4);
  EXPECT_EQ(layout.CellRect(TVerticalLayout::kTitle, 2).left(), title.left());
  EXPECT_GT(layout.CellRect(TVerticalLayout::kTitle, 2).top(), layout.CellRect(TVerticalLayout::kTitle, 1).top());
  int previous = layout.CellRect(TVerticalLayout::kAuthor, 0).left();
  EXPECT_LT(previous, title.left());
  for (int line = 0; line < 4; ++line) {
    const QRect first = layout.CellRect(line, 0);
    EXPECT_LT(first.left(), previous) << "line " << line;
    EXPECT_EQ(first.top(), title.top()) << "line " << line;
    EXPECT_EQ(layout.CellRect(line, 5).left(), first.left()) << "a short line stays in one column";
    previous = first.left();
  }
  EXPECT_EQ(layout.ColumnCount(), 6);
  EXPECT_TRUE(layout.CellRect(0, 6).isEmpty());
  EXPECT_EQ(layout.CellRect(3, 0).left(), 0);
}

TEST(VerticalLayout, ALineLongerThanAColumnGoesOnAtTheTopOfTheNextColumnToTheLeft) {
  const TPoemSheet sheet = quietNight();
  const int pitch = TVerticalLayout(sheet, songti(16), 400, {}).RowPitch();
  const TVerticalLayout layout(sheet, songti(16), 4 * pitch, {});
  const QRect fourth = layout.CellRect(0, 3);
  const QRect fifth = layout.CellRect(0, 4);
  EXPECT_LT(fifth.left(), fourth.left());
  EXPECT_EQ(fifth.top(), layout.CellRect(0, 0).top());
  EXPECT_EQ(layout.Size().height(), 4 * pitch);
  EXPECT_LT(layout.CellRect(1, 0).left(), fifth.left()) << "the next line starts a column of its own";
}

TEST_F(VerticalView, TheTitleStandsAtTheTopRightOfTheViewAndTheLinesGoLeft) {
  view.SetSheet(quietNight());
  const QImage image = shot();
  const QRect title = inView(TVerticalLayout::kTitle, 0);
  EXPECT_GT(title.left(), image.width() - 3 * 16) << "the first column is at the right";
  EXPECT_LT(title.top(), 3 * 16);
  EXPECT_LT(mismatch(image, title, alone(QStringLiteral("静"), songti(16))) * 4,
            mismatch(image, title, alone(QStringLiteral("夜"), songti(16))));
  const QRect secondLine = inView(1, 0);
  EXPECT_LT(secondLine.right(), inView(0, 0).left());
  EXPECT_LT(mismatch(image, secondLine, alone(QStringLiteral("疑"), songti(16))) * 4,
            mismatch(image, secondLine, alone(QStringLiteral("床"), songti(16))));
  EXPECT_TRUE(inkBounds(image, QRect(0, 0, inView(3, 0).left() - 2, image.height())).isEmpty())
      << "nothing left of the last line";
}

TEST_F(VerticalView, PunctuationTakesItsVerticalForm) {
  view.SetSheet(quietNight());
  const QImage image = shot();
  const QRect comma = inView(0, 5);
  const int vertical = mismatch(image, comma, alone(QStringLiteral("︐"), songti(16)));
  const int horizontal = mismatch(image, comma, alone(QStringLiteral("，"), songti(16)));
  EXPECT_LT(vertical * 3, horizontal) << vertical << " against " << horizontal;
  const QRect ink = inkBounds(image, comma);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_LT(ink.center().y(), comma.center().y()) << "the vertical comma sits high in its square";
  const QRect stop = inView(1, 5);
  EXPECT_LT(mismatch(image, stop, alone(QStringLiteral("︒"), songti(16))) * 3,
            mismatch(image, stop, alone(QStringLiteral("。"), songti(16))));
}

TEST_F(VerticalView, LatinLettersLieOnTheirSide) {
  view.SetSheet(SheetOf(QStringLiteral("l"), QString(), QString(), QString(), {}));
  const QImage image = shot();
  const QRect ink = inkBounds(image, inView(TVerticalLayout::kTitle, 0));
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GT(ink.width(), 2 * ink.height()) << "an upright l is tall and thin";
}

TEST_F(VerticalView, RedCellsAreRedAndTheOthersBlack) {
  TPoemSheet sheet = quietNight();
  sheet.Lines[0][3].Red = true;
  view.SetSheet(sheet);
  const QImage image = shot();
  const auto reds = [&image](const QRect& cell) {
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x) {
        const QColor c(image.pixel(x, y));
        n += c.red() > 200 && c.green() < 90 && c.blue() < 90;
      }
    return n;
  };
  EXPECT_GT(reds(inView(0, 3)), 5);
  EXPECT_EQ(reds(inView(0, 2)), 0);
  EXPECT_EQ(QColor(image.pixel(2, 2)), kPaper);
}

TEST_F(VerticalView, SyllablesStandToTheRightOfTheirCharactersWhenShown) {
  TPoemSheet sheet = quietNight();
  sheet.Title[0].Syllable = QStringLiteral("jìng");
  sheet.Title[1].Syllable = QStringLiteral("yè");
  view.SetSheet(sheet);
  const int narrow = view.Layout().ColumnRect(0).width();
  const auto besideTitle = [this] {
    const QRect cell = inView(TVerticalLayout::kTitle, 0);
    return QRect(cell.right() + 1, cell.top() - 4, 12, cell.height() + 8);
  };
  EXPECT_TRUE(inkBounds(shot(), besideTitle()).isEmpty());

  view.SetSyllablesShown(true);
  EXPECT_GT(view.Layout().ColumnRect(0).width(), narrow);
  const QRect cell = inView(TVerticalLayout::kTitle, 0);
  const QRect syllable = inkBounds(shot(), besideTitle());
  ASSERT_FALSE(syllable.isEmpty());
  EXPECT_GT(syllable.height(), syllable.width()) << "read top to bottom";
  EXPECT_NEAR(syllable.center().y(), cell.center().y(), 3);
}

TEST_F(VerticalView, ALongPoemOpensAtItsRightEdgeWithItsBeginning) {
  view.SetSheet(longPoem(120));
  QScrollBar* bar = view.horizontalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_TRUE(view.viewport()->rect().contains(inView(TVerticalLayout::kTitle, 0)));
  EXPECT_FALSE(inkBounds(shot(), inView(TVerticalLayout::kTitle, 0)).isEmpty());

  bar->setValue(0);
  EXPECT_TRUE(view.viewport()->rect().contains(inView(119, 0))) << "the end is at the left";
  view.SetSheet(longPoem(90));
  EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(VerticalView, TheColumnsTakeTheViewsHeight) {
  view.SetSheet(longPoem(3));
  const int columns = view.Layout().ColumnCount();
  view.resize(480, 640);
  EXPECT_LT(view.Layout().ColumnCount(), columns);
  EXPECT_LE(view.Layout().Size().height(), view.viewport()->height());
}

TEST_F(VerticalView, TheWheelScrollsAcrossOnwardToTheLeft) {
  view.SetSheet(longPoem(120));
  QScrollBar* bar = view.horizontalScrollBar();
  const int start = bar->value();
  const auto turn = [this](int delta, Qt::KeyboardModifiers modifiers) {
    const QPointF at(20, 20);
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &wheel);
    return wheel.isAccepted();
  };
  turn(-120, Qt::NoModifier);
  EXPECT_LT(bar->value(), start);
  turn(120, Qt::NoModifier);
  EXPECT_EQ(bar->value(), start);
  EXPECT_FALSE(turn(-120, Qt::ControlModifier)) << "Ctrl+wheel is the window's zoom";
  EXPECT_EQ(bar->value(), start);
}

TEST_F(VerticalView, ZoomWidensTheColumnsAndTheCharacters) {
  view.SetSheet(quietNight());
  const int width = view.Layout().ColumnRect(0).width();
  const QRect small = inkBounds(shot(), inView(TVerticalLayout::kTitle, 0));
  view.SetFont(songti(32));
  EXPECT_EQ(view.Layout().ColumnRect(0).width(), 2 * width);
  const QRect large = inkBounds(shot(), inView(TVerticalLayout::kTitle, 0));
  EXPECT_GT(large.width(), small.width() * 3 / 2);
  EXPECT_LT(mismatch(shot(), inView(TVerticalLayout::kTitle, 0), alone(QStringLiteral("静"), songti(32))) * 4,
            mismatch(shot(), inView(TVerticalLayout::kTitle, 0), alone(QStringLiteral("夜"), songti(32))));
}

TEST_F(VerticalView, KeysReadOnToTheLeftAndHomeGoesBackToTheBeginning) {
  view.SetSheet(longPoem(120));
  QScrollBar* bar = view.horizontalScrollBar();
  const auto press = [this](Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &event);
  };
  press(Qt::Key_PageDown);
  const int paged = bar->maximum() - bar->value();
  EXPECT_GT(paged, view.viewport()->width() / 2) << "about a view's width";
  EXPECT_LE(paged, view.viewport()->width());
  press(Qt::Key_Left);
  EXPECT_EQ(bar->maximum() - bar->value() - paged,
            view.Layout().ColumnRect(1).left() - view.Layout().ColumnRect(2).left())
      << "one column";
  press(Qt::Key_End);
  EXPECT_EQ(bar->value(), 0);
  press(Qt::Key_Home);
  EXPECT_EQ(bar->value(), bar->maximum());
}
