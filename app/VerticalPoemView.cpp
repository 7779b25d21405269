#include "app/VerticalPoemView.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/PoemFonts.h"

TVerticalPoemView::TVerticalPoemView(QWidget* parent)
    : QAbstractScrollArea(parent), fonts_(std::make_shared<const TPoemFonts>(font())) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
}

TVerticalPoemView::~TVerticalPoemView() = default;

void TVerticalPoemView::SetSheet(const TPoemSheet& sheet) {
  sheet_ = sheet;
  relayout();
  horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
}

void TVerticalPoemView::SetFont(const QFont& font) { setFont(font); }

void TVerticalPoemView::SetSyllablesShown(bool shown) {
  if (shown == syllablesShown_) return;
  syllablesShown_ = shown;
  relayout();
}

int TVerticalPoemView::margin() const { return fonts_->Em(); }

QPoint TVerticalPoemView::LayoutOrigin() const {
  const QScrollBar* bar = horizontalScrollBar();
  return QPoint(viewport()->width() - margin() - layout_.Size().width() + bar->maximum() - bar->value(), margin());
}

void TVerticalPoemView::relayout() {
  const QScrollBar* bar = horizontalScrollBar();
  const int oldWidth = layout_.Size().width();
  const int fromStart = bar->maximum() - bar->value();
  layout_ = TVerticalLayout(sheet_, fonts_, viewport()->height() - 2 * margin(), {syllablesShown_, false, false});
  laidHeight_ = viewport()->height();
  // The same share of the poem stays read, however wide the columns have become.
  updateScrollBar(oldWidth > 0 ? static_cast<int>(static_cast<long long>(fromStart) * layout_.Size().width() / oldWidth)
                               : 0);
  viewport()->update();
}

void TVerticalPoemView::updateScrollBar(int fromStart) {
  QScrollBar* bar = horizontalScrollBar();
  const int most = std::max(0, layout_.Size().width() + 2 * margin() - viewport()->width());
  bar->setRange(0, most);
  bar->setPageStep(std::max(1, viewport()->width() - margin()));
  const int pitch = layout_.ColumnCount() > 2 ? layout_.ColumnRect(1).left() - layout_.ColumnRect(2).left() : margin();
  bar->setSingleStep(std::max(1, pitch));
  bar->setValue(most - std::clamp(fromStart, 0, most));
}

void TVerticalPoemView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), palette().color(QPalette::Base));
  layout_.paint(painter, LayoutOrigin(), event->rect());
}

void TVerticalPoemView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (viewport()->height() != laidHeight_) {
    relayout();
    return;
  }
  const QScrollBar* bar = horizontalScrollBar();
  updateScrollBar(bar->maximum() - bar->value());
}

void TVerticalPoemView::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    event->ignore();
    return;
  }
  QScrollBar* bar = horizontalScrollBar();
  // Turning the wheel towards oneself reads on, which is to the left; tilting it left goes left.
  int by = 0;
  if (!event->pixelDelta().isNull())
    by = event->pixelDelta().y() - event->pixelDelta().x();
  else {
    const QPoint angle = event->angleDelta();
    by = static_cast<int>(static_cast<long long>(angle.y() - angle.x()) * bar->singleStep() *
                          QApplication::wheelScrollLines() / 120);
  }
  bar->setValue(bar->value() + by);
  event->accept();
}

void TVerticalPoemView::keyPressEvent(QKeyEvent* event) {
  QScrollBar* bar = horizontalScrollBar();
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
      bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
      break;
    case Qt::Key_Right:
    case Qt::Key_Up:
      bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      break;
    case Qt::Key_PageDown:
      bar->triggerAction(QAbstractSlider::SliderPageStepSub);
      break;
    case Qt::Key_PageUp:
      bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      break;
    case Qt::Key_Home:
      bar->triggerAction(QAbstractSlider::SliderToMaximum);
      break;
    case Qt::Key_End:
      bar->triggerAction(QAbstractSlider::SliderToMinimum);
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TVerticalPoemView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    fonts_ = std::make_shared<const TPoemFonts>(font());
    relayout();
  }
}

void TVerticalPoemView::scrollContentsBy(int, int) { viewport()->update(); }
