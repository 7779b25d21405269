#include "app/PoemPrinting.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include <QFontInfo>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "app/HorizontalLayout.h"
#include "app/PoemFonts.h"
#include "app/VerticalLayout.h"

namespace {

constexpr qreal kPrintPoints = 14;
constexpr qreal kMarginMillimetres = 20;
constexpr int kPictureColumnCells = 24;
constexpr int kPictureRowCells = 40;
// A long poem's picture in columns is cut into bands of this many characters' width, stacked from
// the top, rather than one strip too wide for any picture viewer.
constexpr int kPictureBandCells = 60;
// Beyond this many pixels a picture is made at a smaller scale, down to one.
constexpr qreal kPictureMostPixels = 64.0 * 1024 * 1024;
constexpr int kUnbounded = std::numeric_limits<int>::max() / 4;

struct TSpan {
  int First;
  int Last;
};

// Columns from the right, as many to a span as fit across `width`.
std::vector<TSpan> columnSpans(const TVerticalLayout& layout, int width) {
  std::vector<TSpan> spans;
  for (int first = 0; first < layout.ColumnCount();) {
    const int right = layout.ColumnRect(first).right();
    int last = first;
    while (last + 1 < layout.ColumnCount() && right - layout.ColumnRect(last + 1).left() < width) ++last;
    spans.push_back({first, last});
    first = last + 1;
  }
  return spans;
}

// Rows from the top, as many to a span as fit down `height`.
std::vector<TSpan> rowSpans(const THorizontalLayout& layout, int height) {
  std::vector<TSpan> spans;
  for (int first = 0; first < layout.RowCount();) {
    const int top = layout.RowRect(first).top();
    int last = first;
    while (last + 1 < layout.RowCount() && layout.RowRect(last + 1).bottom() - top < height) ++last;
    spans.push_back({first, last});
    first = last + 1;
  }
  return spans;
}

int spanWidth(const TVerticalLayout& layout, const TSpan& span) {
  return layout.ColumnRect(span.First).right() - layout.ColumnRect(span.Last).left() + 1;
}

// Paints the span's columns with the first one's right edge at `right` and their tops at `top`.
void paintColumns(QPainter& painter, const TVerticalLayout& layout, const TSpan& span, int right, int top) {
  const QPoint origin(right - layout.ColumnRect(span.First).right(), top);
  const int left = layout.ColumnRect(span.Last).left() + origin.x();
  layout.paint(painter, origin, QRect(left, top, right - left + 1, layout.Size().height()));
}

void nameDocument(QPagedPaintDevice& device, const QString& title) {
  if (auto* writer = dynamic_cast<QPdfWriter*>(&device)) writer->setTitle(title);
  if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->setDocName(title);
}

QString plain(const std::vector<TPoemCell>& cells) {
  QString text;
  for (const TPoemCell& cell : cells) text += cell.Text;
  return text;
}

void printColumns(QPagedPaintDevice& device, QPainter& painter, const TVerticalLayout& layout, const QRect& page) {
  const std::vector<TSpan> spans = columnSpans(layout, page.width());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (i > 0) device.newPage();
    paintColumns(painter, layout, spans[i], page.right(), page.top());
  }
}

// The rows centred across the page.
void printRows(QPagedPaintDevice& device, QPainter& painter, const THorizontalLayout& layout, const QRect& page) {
  const std::vector<TSpan> spans = rowSpans(layout, page.height());
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (i > 0) device.newPage();
    const int top = layout.RowRect(spans[i].First).top();
    const QPoint origin(page.left() + std::max(0, (page.width() - layout.Size().width()) / 2), page.top() - top);
    const int height = layout.RowRect(spans[i].Last).bottom() - top + 1;
    layout.paint(painter, origin, QRect(page.left(), page.top(), page.width(), height));
  }
}

QImage paper(const QSize& logical, const QColor& colour, qreal scale) {
  const qreal pixels = static_cast<qreal>(logical.width()) * logical.height() * scale * scale;
  if (pixels > kPictureMostPixels) scale = std::max(1.0, scale * std::sqrt(kPictureMostPixels / pixels));
  QImage image(static_cast<int>(std::ceil(logical.width() * scale)),
               static_cast<int>(std::ceil(logical.height() * scale)), QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.setDevicePixelRatio(scale);
  image.fill(colour);
  return image;
}

QImage columnsPicture(const TVerticalLayout& layout, int margin, const QColor& colour, qreal scale) {
  const std::vector<TSpan> bands = columnSpans(layout, kPictureBandCells * margin);
  int widest = 0;
  for (const TSpan& band : bands) widest = std::max(widest, spanWidth(layout, band));
  const int height = layout.Size().height();
  const int bandsHeight = static_cast<int>(bands.size()) * (height + margin) - margin;
  QImage image = paper(QSize(widest, std::max(0, bandsHeight)) + QSize(2 * margin, 2 * margin), colour, scale);
  if (image.isNull()) return image;
  QPainter painter(&image);
  for (std::size_t i = 0; i < bands.size(); ++i)
    paintColumns(painter, layout, bands[i], margin + widest - 1, margin + static_cast<int>(i) * (height + margin));
  return image;
}

QImage rowsPicture(const THorizontalLayout& layout, int margin, const QColor& colour, qreal scale) {
  QImage image = paper(layout.Size() + QSize(2 * margin, 2 * margin), colour, scale);
  if (image.isNull()) return image;
  QPainter painter(&image);
  layout.paint(painter, QPoint(margin, margin), QRect(margin, margin, layout.Size().width(), layout.Size().height()));
  return image;
}

}  // namespace

bool PrintPoem(QPagedPaintDevice& device, const TPoemSheet& sheet, bool vertical, const QFont& viewFont) {
  device.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                        QPageLayout::Millimeter);
  nameDocument(device, plain(sheet.Title));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  // Sized in the device's own pixels, so that every measure below is in them too.
  QFont font = viewFont;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(kPrintPoints * device.logicalDpiY() / 72.0))));
  const auto fonts = std::make_shared<const TPoemFonts>(font);
  const TSheetLook look{true, true, true};
  const QRect page(0, 0, device.width(), device.height());
  if (vertical)
    printColumns(device, painter, TVerticalLayout(sheet, fonts, page.height(), look), page);
  else
    printRows(device, painter, THorizontalLayout(sheet, fonts, page.width(), look), page);
  return painter.end();
}

int PoemImageMargin(const QFont& viewFont) {
  const int pixels = viewFont.pixelSize() > 0 ? viewFont.pixelSize() : QFontInfo(viewFont).pixelSize();
  return std::max(8, pixels);
}

QImage RenderPoemImage(const TPoemSheet& sheet, bool vertical, const QFont& viewFont, const QColor& paper,
                       qreal scale) {
  const auto fonts = std::make_shared<const TPoemFonts>(viewFont);
  const TSheetLook look{true, true, false};
  const int margin = PoemImageMargin(viewFont);
  if (vertical) {
    TVerticalLayout layout(sheet, fonts, kUnbounded, look);
    if (layout.Size().height() > kPictureColumnCells * layout.RowPitch())
      layout = TVerticalLayout(sheet, fonts, kPictureColumnCells * layout.RowPitch(), look);
    return columnsPicture(layout, margin, paper, scale);
  }
  THorizontalLayout layout(sheet, fonts, kUnbounded, look);
  if (layout.Size().width() > kPictureRowCells * fonts->Em())
    layout = THorizontalLayout(sheet, fonts, kPictureRowCells * fonts->Em(), look);
  return rowsPicture(layout, margin, paper, scale);
}
