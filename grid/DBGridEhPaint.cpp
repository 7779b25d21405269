// How the data grid paints: title cells with their raised edge, data cells with margins and
// the row highlight, the lines between them, and the focus rectangle of the current row.

#include <QFontMetrics>
#include <QPainter>

#include "grid/DBGridEh.h"
#include "grid/GridDataLinkEh.h"
#include "platform/db/DataSet.h"
#include "platform/text/QtText.h"

namespace {

// The indicator's images, 6 x 11 each, drawn as shapes so that they stay sharp at any scale.
enum TIndicatorImage { iiArrow, iiEdit, iiInsert, iiWhiteArrow = 5 };

void drawIndicator(TCanvas& canvas, const QRect& cell, TIndicatorImage image) {
  QPainter* p = canvas.Painter();
  if (!p) return;
  const QRectF box(cell.right() + 1 - 6 - 2, cell.top() + (cell.height() - 11) / 2.0, 6, 11);
  p->save();
  p->setRenderHint(QPainter::Antialiasing);
  switch (image) {
    case iiArrow:
    case iiWhiteArrow: {
      const QPointF triangle[] = {box.topLeft() + QPointF(1, 1), QPointF(box.right(), box.center().y()),
                                  box.bottomLeft() + QPointF(1, -1)};
      p->setPen(Qt::NoPen);
      p->setBrush(image == iiArrow ? Qt::black : Qt::white);
      p->drawPolygon(triangle, 3);
      break;
    }
    case iiEdit: {
      p->setPen(QPen(Qt::black, 1));
      const double x = box.center().x();
      p->drawLine(QPointF(x, box.top() + 1), QPointF(x, box.bottom() - 1));
      p->drawLine(QPointF(box.left() + 1, box.top() + 1), QPointF(box.right() - 1, box.top() + 1));
      p->drawLine(QPointF(box.left() + 1, box.bottom() - 1), QPointF(box.right() - 1, box.bottom() - 1));
      break;
    }
    case iiInsert: {
      p->setPen(QPen(Qt::black, 1.2));
      const QPointF c = box.center();
      p->drawLine(c + QPointF(0, -3), c + QPointF(0, 3));
      p->drawLine(c + QPointF(-2.6, -1.5), c + QPointF(2.6, 1.5));
      p->drawLine(c + QPointF(-2.6, 1.5), c + QPointF(2.6, -1.5));
      break;
    }
  }
  p->restore();
}

// The record number parity the even/odd colours follow.
bool oddRecord(TDataSet* dataSet) {
  const int recNo = dataSet->RecNo();
  return recNo > 0 && recNo % 2 == 1;
}

}  // namespace

TColor TCustomDBGridEh::LineColor(bool fixed) const {
  if (fixed) return flat_ ? clBtnShadow : clBlack;
  return ColorToRGB(Color()) == ColorToRGB(clSilver) ? clGray : clSilver;
}

void TCustomDBGridEh::Paint(TCanvas& canvas) {
  if (inLayout_) return;
  TCustomGrid::Paint(canvas);
  // The dotted rectangle around the current row's cells (or the current cell alone).
  if (!DefaultDrawing || !hasFocus() || !link_->Active() || link_->RecordCount() == 0) return;
  const int row = Row();
  if (row < DataRowOffset()) return;
  QRect focus;
  if (options_ & dgRowSelect) {
    for (int col = FixedCols(); col < ColCount(); ++col) focus |= CellRect(col, row);
  } else {
    focus = CellRect(Col(), row);
  }
  canvas.DrawFocusRect(focus);
}

void TCustomDBGridEh::DrawCell(int col, int row, const QRect& rect, unsigned state) {
  TCanvas& canvas = Canvas();
  const int indicator = IndicatorOffset();
  if (row < DataRowOffset()) {
    if (col < indicator) {
      canvas.BrushColor = FixedColor();
      canvas.FillRect(rect);
      if (optionsEh_ & dghFixed3D) canvas.DrawEdge(rect, BDR_RAISEDINNER, flat_ ? BF_TOPLEFT : BF_RECT);
      return;
    }
    drawTitleCell(canvas, col - indicator, rect);
    return;
  }
  if (col < indicator) {
    canvas.BrushColor = FixedColor();
    canvas.FillRect(rect);
    if (optionsEh_ & dghFixed3D) canvas.DrawEdge(rect, BDR_RAISEDINNER, flat_ ? BF_TOPLEFT : BF_RECT);
    const int dataRow = row - DataRowOffset();
    if (link_->Active() && dataRow == link_->ActiveRecord() && dataRow < link_->RecordCount()) {
      const TDataSetState dsState = DataSet()->State();
      bool currentCell = false;
      const TIndicatorImage image = dsState == dsEdit     ? iiEdit
                                    : dsState == dsInsert ? iiInsert
                                    : highlighted(0, dataRow, currentCell) ? iiWhiteArrow
                                                                           : iiArrow;
      drawIndicator(canvas, rect, image);
    }
    return;
  }
  drawDataCell(canvas, col - indicator, row - DataRowOffset(), rect, state);
}

void TCustomDBGridEh::drawTitleCell(TCanvas& canvas, int index, const QRect& rect) {
  if (index >= columns_.Count()) {
    canvas.BrushColor = FixedColor();
    canvas.FillRect(rect);
    return;
  }
  TColumnEh& column = *columns_[index];
  canvas.Font = column.Title().Font();
  canvas.FontColor = clBtnText;
  canvas.BrushColor = column.Title().Color();
  const bool raised = optionsEh_ & dghFixed3D;
  QRect textRect = rect;
  if (column.Title().SortMarker != smNoneEh) textRect.setRight(textRect.right() - 16);
  writeText(canvas, raised ? textRect.adjusted(1, 1, -1, -1) : textRect, raised, text::toQString(column.Title().Caption()),
            column.Title().Alignment(), tlTop, column.Title().EndEllipsis());
  if (raised) {
    canvas.BrushColor = column.Title().Color();
    canvas.FillRect(QRect(rect.left(), rect.top(), rect.width(), 1));
    canvas.FillRect(QRect(rect.left(), rect.top(), 1, rect.height()));
    if (flat_) {
      canvas.FillRect(QRect(rect.right(), rect.top(), 1, rect.height()));
      canvas.FillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1));
    }
    canvas.DrawEdge(rect, BDR_RAISEDINNER, flat_ ? BF_TOPLEFT : BF_RECT);
  }
  if (column.Title().SortMarker != smNoneEh && canvas.Painter()) {
    // The marker: an outlined triangle, 10 x 9, grey on its left edge and white on its right.
    const int x = rect.right() - 13, y = rect.top() + (rect.height() - 9) / 2;
    const bool down = column.Title().SortMarker == smDownEh;
    const QPointF apex = down ? QPointF(x + 4.5, y + 8) : QPointF(x + 4.5, y);
    const QPointF left = down ? QPointF(x, y) : QPointF(x, y + 8), right = down ? QPointF(x + 9, y) : QPointF(x + 9, y + 8);
    QPainter& p = *canvas.Painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(ToQColor(clBtnShadow));
    p.drawLine(left, apex);
    p.drawLine(left, right);
    p.setPen(ToQColor(clBtnHighlight));
    p.drawLine(apex, right);
    p.restore();
  }
}

bool TCustomDBGridEh::highlighted(int col, int row, bool& currentCell) const {
  const bool focusHighlight = hasFocus() && (optionsEh_ & dghHighlightFocus);
  const bool currentRow = row + DataRowOffset() == Row();
  currentCell = currentRow && (col + IndicatorOffset() == Col() || (options_ & dgRowSelect));
  bool selected = false;
  if (focusHighlight && (optionsEh_ & dghRowHighlight) && currentRow) selected = true;
  const bool rowSelected = currentRow && (options_ & dgRowSelect);
  return (selected || rowSelected || (currentCell && focusHighlight)) &&
         ((options_ & dgAlwaysShowSelection) || focusHighlight);
}

void TCustomDBGridEh::drawDataCell(TCanvas& canvas, int index, int dataRow, const QRect& rect, unsigned state) {
  const bool hasRecord = link_->Active() && dataRow < link_->RecordCount();
  if (!hasRecord || index >= columns_.Count()) {
    canvas.BrushColor = Color();
    canvas.FillRect(rect);
    return;
  }
  TColumnEh& column = *columns_[index];
  const int saved = link_->ActiveRecord();
  link_->SetActiveRecord(dataRow);
  try {
    QFont font = column.Font();
    TColor background = column.Color();
    TDataSet* dataSet = DataSet();
    if (background == Color() && dataSet->IsSequenced())
      background = oddRecord(dataSet) ? OddRowColor() : EvenRowColor();
    const QString text = text::toQString(column.DisplayText());
    if (OnGetCellParams) OnGetCellParams(column, font, background, state);
    TColor textColor = clWindowText;
    bool currentCell = false;
    if (highlighted(index, dataRow, currentCell)) {
      const bool focusOrAlways = (hasFocus() && (optionsEh_ & dghHighlightFocus)) || (options_ & dgAlwaysShowSelection);
      if (currentCell && focusOrAlways) {
        background = clBtnShadow;
        textColor = clHighlightText;
      } else {
        background = Lighten(background, clBtnShadow, false);
      }
    }
    canvas.Font = font;
    canvas.FontColor = textColor;
    canvas.BrushColor = background;
    if (DefaultDrawing)
      writeText(canvas, rect, false, text, column.Alignment(), column.Layout(), column.EndEllipsis());
    else
      canvas.FillRect(rect);
    if (OnDrawColumnCell) OnDrawColumnCell(rect, index, column, state);
  } catch (...) {
    link_->SetActiveRecord(saved);
    throw;
  }
  link_->SetActiveRecord(saved);
}

void TCustomDBGridEh::writeText(TCanvas& canvas, const QRect& rect, bool raised, const QString& source,
                                TAlignment alignment, TTextLayout layout, bool endEllipsis) {
  const int dx = raised ? 1 : 2;
  const int dy = dx - (flat_ ? 1 : 0);
  QString text = source;
  if (endEllipsis) {
    for (qsizetype i = 1; canvas.TextWidth(text) > rect.width() - dx && i <= source.size(); ++i)
      text = source.left(std::max<qsizetype>(0, source.size() - i - 1)) + QStringLiteral("...");
  }
  const int width = canvas.TextWidth(text);
  int x = rect.left() + dx;
  if (alignment == taRightJustify)
    x = rect.right() + 1 - width - 3;
  else if (alignment == taCenter)
    x = rect.left() + rect.width() / 2 - width / 2;
  int y = rect.top() + dy;
  const int height = canvas.TextHeight(text);
  if (layout != tlTop && height < rect.height() - dy)
    y = layout == tlCenter ? (rect.top() + rect.bottom() + 1 - height) / 2 : rect.bottom() + 1 - height;
  canvas.TextRect(rect, x, y, text);
}
