#include "skin/forms/WinSkinForm.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include "skin/forms/SkinClassName.h"
#include "skin/forms/SkinControl.h"
#include "skin/forms/SkinControlRules.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/SkinParts.h"
#include "skin/forms/SkinStyle.h"
#include "skin/forms/WinSkinData.h"

namespace {

// How far into a corner the sizing of both edges reaches.
constexpr int kCornerGrip = 8;

Qt::Edges edgesOf(TSkinHit hit) {
  switch (hit) {
    case TSkinHit::Left: return Qt::LeftEdge;
    case TSkinHit::Right: return Qt::RightEdge;
    case TSkinHit::Top: return Qt::TopEdge;
    case TSkinHit::Bottom: return Qt::BottomEdge;
    case TSkinHit::TopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case TSkinHit::TopRight: return Qt::TopEdge | Qt::RightEdge;
    case TSkinHit::BottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case TSkinHit::BottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
  }
}

Qt::CursorShape cursorOf(TSkinHit hit) {
  const Qt::Edges e = edgesOf(hit);
  if (e == Qt::LeftEdge || e == Qt::RightEdge) return Qt::SizeHorCursor;
  if (e == Qt::TopEdge || e == Qt::BottomEdge) return Qt::SizeVerCursor;
  if (e == (Qt::TopEdge | Qt::LeftEdge) || e == (Qt::BottomEdge | Qt::RightEdge)) return Qt::SizeFDiagCursor;
  if (e) return Qt::SizeBDiagCursor;
  return Qt::ArrowCursor;
}

QSize grow(QSize size, const QMargins& m, int sign) {
  const int w = size.width() >= QWIDGETSIZE_MAX ? size.width() : size.width() + sign * (m.left() + m.right());
  const int h = size.height() >= QWIDGETSIZE_MAX ? size.height() : size.height() + sign * (m.top() + m.bottom());
  return {std::max(0, w), std::max(0, h)};
}

}  // namespace

TWinSkinForm::TWinSkinForm(QWidget* window, TSkinData& data, const AnsiString& className)
    : QObject(window), window_(window), data_(&data), className_(className), toolkit_(IsToolkitWindow(window)) {
  setObjectName(QStringLiteral("TWinSkinForm"));
}

TWinSkinForm::~TWinSkinForm() = default;

void TWinSkinForm::Attach() {
  if (attached_ || !window_) return;
  attached_ = true;
  if (toolkit_ && data_->OnBeforeSkinForm) data_->OnBeforeSkinForm(*data_, window_, className_);
  window_->installEventFilter(this);
  ownPalette_ = window_->testAttribute(Qt::WA_SetPalette);
  palette_ = window_->palette();
  applyColours();
  skinControls();
  takeFrame();
  if (toolkit_ && data_->OnAfterSkinForm) data_->OnAfterSkinForm(*data_, window_, className_);
}

void TWinSkinForm::Restore() {
  if (!attached_) return;
  attached_ = false;
  if (!window_) return;
  window_->removeEventFilter(this);
  restoreControls();
  giveFrameBack();
  if (ownPalette_) window_->setPalette(palette_);
  else window_->setPalette(QPalette());
  window_->update();
}

void TWinSkinForm::Refresh() {
  if (!attached_ || !window_) return;
  giveFrameBack();
  applyColours();
  for (const QPointer<TSkinControl>& control : controls_)
    if (control) control->Refresh();
  takeFrame();
  hotButton_ = pressedButton_ = -1;
  window_->update();
}

void TWinSkinForm::applyColours() {
  window_->setPalette(SkinPalette(*data_, ownPalette_ ? palette_ : QPalette(), TSkinColourSet::Controls));
}

void TWinSkinForm::skinControls() {
  std::vector<TSkinControl*> attached;
  SkinControlsOf(*data_, window_, window_, attached);
  for (TSkinControl* control : attached) controls_.emplace_back(control);
}

void TWinSkinForm::restoreControls() {
  // Inner controls were attached after their containers: give them back first.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
    if (TSkinControl* control = *it) {
      control->Restore();
      delete control;
    }
  controls_.clear();
}

void TWinSkinForm::takeFrame() {
  const TSkinPicture* top = data_->Picture("Personality.Top");
  if (!top) {
    margins_ = {};
    return;
  }
  const TSkinPicture* left = data_->Picture("Personality.Left");
  const TSkinPicture* right = data_->Picture("Personality.Right");
  const TSkinPicture* bottom = data_->Picture("Personality.Bottom");
  margins_ = QMargins(left ? left->FrameWidth() : 0, top->Image.height(), right ? right->FrameWidth() : 0,
                      bottom ? bottom->Image.height() : 0);

  framed_ = true;
  oldFlags_ = static_cast<int>(window_->windowFlags());
  const Qt::WindowFlags frameless = window_->windowFlags() | Qt::FramelessWindowHint;
  window_->overrideWindowFlags(frameless);
  if (QWindow* handle = window_->windowHandle()) handle->setFlags(frameless);

  oldContents_ = window_->contentsMargins();
  oldMinimum_ = window_->minimumSize();
  oldMaximum_ = window_->maximumSize();
  // Controls placed by hand move with the client area; those in a layout or anchored are placed
  // again from the new contents rectangle.
  for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!child->isWindow()) child->move(child->pos() + QPoint(margins_.left(), margins_.top()));
  window_->setContentsMargins(oldContents_ + margins_);
  // The limits move with the size, in the order that never clamps the size on the way.
  window_->setMaximumSize(grow(oldMaximum_, margins_, 1));
  resizeBy(margins_, 1);
  window_->setMinimumSize(grow(oldMinimum_, margins_, 1));
  oldTracking_ = window_->hasMouseTracking();
  ownCursor_ = window_->testAttribute(Qt::WA_SetCursor);
  oldCursor_ = window_->cursor();
  window_->setMouseTracking(true);
}

// A maximised or full-screen window keeps the size the screen gives it; the frame changes the
// size it goes back to.
void TWinSkinForm::resizeBy(const QMargins& m, int sign) {
  const Qt::WindowStates state = window_->windowState();
  if (!(state & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
    window_->resize(grow(window_->size(), m, sign));
    return;
  }
  const QRect normal = window_->normalGeometry();
  window_->setWindowState(state & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
  window_->setGeometry(QRect(normal.topLeft(), grow(normal.size(), m, sign)));
  window_->setWindowState(state);
}

void TWinSkinForm::giveFrameBack() {
  if (!framed_) return;
  framed_ = false;
  const QMargins m = margins_;
  margins_ = {};
  for (QWidget* child : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (!child->isWindow()) child->move(child->pos() - QPoint(m.left(), m.top()));
  window_->setContentsMargins(oldContents_);
  window_->setMinimumSize(oldMinimum_);
  resizeBy(m, -1);
  window_->setMaximumSize(oldMaximum_);
  const auto flags = static_cast<Qt::WindowFlags>(oldFlags_);
  window_->overrideWindowFlags(flags);
  if (QWindow* handle = window_->windowHandle()) handle->setFlags(flags);
  window_->setMouseTracking(oldTracking_);
  if (ownCursor_) window_->setCursor(oldCursor_);
  else window_->unsetCursor();
}

bool TWinSkinForm::offers(int action) const {
  const auto flags = static_cast<Qt::WindowFlags>(oldFlags_);
  const bool plainWindow = (flags & Qt::WindowType_Mask) == Qt::Window && !(flags & Qt::CustomizeWindowHint);
  switch (action) {
    case caClose: return true;
    case caMaximize:
      return window_->minimumSize() != window_->maximumSize() &&
             (plainWindow || flags.testFlag(Qt::WindowMaximizeButtonHint));
    case caMinimize: return plainWindow || flags.testFlag(Qt::WindowMinimizeButtonHint);
    default: return false;
  }
}

std::vector<TWinSkinForm::TButton> TWinSkinForm::CaptionButtons() const {
  std::vector<TButton> buttons;
  const TSkinDescription* d = data_->Description();
  if (!framed_ || !d) return buttons;
  const bool maximized = window_->isMaximized();
  for (const TSkinCaptionButton& spec : d->CaptionButtons) {
    const TSkinPicture* picture = data_->Picture(spec.Section);
    if (!picture) continue;
    if ((spec.Visibility == 1 && maximized) || (spec.Visibility == 2 && !maximized)) continue;
    if (spec.Action >= 0 && !offers(spec.Action)) continue;
    const int x = spec.Align == 1 ? window_->width() - spec.Xcoord : spec.Xcoord;
    buttons.push_back({&spec, QRect(x, spec.Ycoord, picture->FrameWidth(), picture->Image.height())});
  }
  return buttons;
}

TWinSkinForm::THit TWinSkinForm::HitTest(QPoint p) const {
  if (!framed_ || !window_) return {};
  const std::vector<TButton> buttons = CaptionButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i].Spec->Action >= 0 && buttons[i].Rect.contains(p)) return {TSkinHit::Button, static_cast<int>(i)};
  const int w = window_->width(), h = window_->height();
  const QMargins& m = margins_;
  if (window_->minimumSize() != window_->maximumSize() && !window_->isMaximized()) {
    const bool left = p.x() < std::max(m.left(), 1), right = p.x() >= w - std::max(m.right(), 1);
    const bool top = p.y() < std::min(std::max(m.left(), 4), m.top()), bottom = p.y() >= h - std::max(m.bottom(), 1);
    const bool nearLeft = p.x() < kCornerGrip, nearRight = p.x() >= w - kCornerGrip;
    const bool nearTop = p.y() < kCornerGrip, nearBottom = p.y() >= h - kCornerGrip;
    if ((top && nearLeft) || (left && nearTop)) return {TSkinHit::TopLeft};
    if ((top && nearRight) || (right && nearTop)) return {TSkinHit::TopRight};
    if ((bottom && nearLeft) || (left && nearBottom)) return {TSkinHit::BottomLeft};
    if ((bottom && nearRight) || (right && nearBottom)) return {TSkinHit::BottomRight};
    if (left) return {TSkinHit::Left};
    if (right) return {TSkinHit::Right};
    if (top) return {TSkinHit::Top};
    if (bottom) return {TSkinHit::Bottom};
  }
  if (p.y() >= 0 && p.y() < m.top()) return {TSkinHit::Caption};
  return {};
}

void TWinSkinForm::Press(int index) {
  const std::vector<TButton> buttons = CaptionButtons();
  if (index < 0 || index >= static_cast<int>(buttons.size())) return;
  switch (buttons[static_cast<std::size_t>(index)].Spec->Action) {
    case caClose: window_->close(); break;
    case caMaximize: window_->isMaximized() ? window_->showNormal() : window_->showMaximized(); break;
    case caMinimize: window_->showMinimized(); break;
    default: break;
  }
}

void TWinSkinForm::paintFrame(QPainter& painter) const {
  const bool active = window_->isActiveWindow();
  const int state = active ? 0 : 1;
  const int w = window_->width(), h = window_->height();
  const QMargins& m = margins_;
  const int middle = h - m.top() - m.bottom();
  if (const TSkinPicture* p = data_->Picture("Personality.Top")) DrawSkinPicture(painter, {0, 0, w, m.top()}, *p, state);
  if (const TSkinPicture* p = data_->Picture("Personality.Bottom"))
    DrawSkinPicture(painter, {0, h - m.bottom(), w, m.bottom()}, *p, state);
  if (const TSkinPicture* p = data_->Picture("Personality.Left"))
    DrawSkinPicture(painter, {0, m.top(), m.left(), middle}, *p, state);
  if (const TSkinPicture* p = data_->Picture("Personality.Right"))
    DrawSkinPicture(painter, {w - m.right(), m.top(), m.right(), middle}, *p, state);
  paintCaption(painter, active);
  const std::vector<TButton> buttons = CaptionButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const int index = static_cast<int>(i);
    const int frame = index == pressedButton_ && index == hotButton_ ? 2 : index == hotButton_ ? 1 : active ? 0 : 3;
    DrawSkinPicture(painter, buttons[i].Rect, *data_->Picture(buttons[i].Spec->Section), frame);
  }
}

void TWinSkinForm::paintCaption(QPainter& painter, bool active) const {
  const TSkinDescription* d = data_->Description();
  const QString title = window_->windowTitle();
  if (!d || title.isEmpty()) return;
  const TSkinPersonality& p = d->Personality;
  QFont font = window_->font();
  if (!p.Fonts.empty()) font.setFamily(QString::fromLocal8Bit(p.Fonts.c_str()));
  if (p.FontHeight > 0) font.setPixelSize(p.FontHeight);
  font.setBold(true);
  painter.setFont(font);
  const QFontMetrics metrics(font);

  int right = window_->width() - std::max(p.TextRightClip, margins_.right());
  for (const TButton& button : CaptionButtons())
    if (button.Rect.left() > window_->width() / 2) right = std::min(right, button.Rect.left() - 4);
  int width = std::max(0, right - p.TextShift);
  const QString shown = metrics.elidedText(title, Qt::ElideRight, width);
  width = metrics.horizontalAdvance(shown);
  int x = p.TextShift;
  if (p.TextAlignment == 1) x = std::max(p.TextShift, (window_->width() - width) / 2);
  else if (p.TextAlignment == 2) x = std::max(p.TextShift, right - width);
  const int y = (margins_.top() - metrics.height()) / 2 + p.TextShiftVert;
  const QRect text(x, y, width, metrics.height());
  if (p.Textbackground == 1)
    if (const TSkinPicture* back = data_->Picture("Personality.TextBack"))
      DrawSkinPicture(painter, text.adjusted(-p.TXTBackleft, 0, p.TXTBackRight, 0), *back, 0);
  const TColorRef colour = active ? p.ActiveText.value_or(d->Colours.TitleTextActive)
                                  : p.InActiveText.value_or(d->Colours.TitleTextNoActive);
  painter.setPen(SkinColour(colour));
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

bool TWinSkinForm::mouse(QEvent* event) {
  auto* e = static_cast<QMouseEvent*>(event);
  const QPoint pos = e->position().toPoint();
  const THit hit = HitTest(pos);
  switch (event->type()) {
    case QEvent::MouseMove: {
      if (dragging_ != TSkinHit::Client && (e->buttons() & Qt::LeftButton)) {
        const QPoint d = e->globalPosition().toPoint() - dragStart_;
        QRect g = dragGeometry_;
        if (dragging_ == TSkinHit::Caption) {
          window_->move(g.topLeft() + d);
          return true;
        }
        const Qt::Edges edges = edgesOf(dragging_);
        if (edges & Qt::LeftEdge) g.setLeft(g.left() + d.x());
        if (edges & Qt::RightEdge) g.setRight(g.right() + d.x());
        if (edges & Qt::TopEdge) g.setTop(g.top() + d.y());
        if (edges & Qt::BottomEdge) g.setBottom(g.bottom() + d.y());
        window_->setGeometry(g);
        return true;
      }
      const int hot = hit.Area == TSkinHit::Button ? hit.Button : -1;
      if (hot != hotButton_) {
        hotButton_ = hot;
        window_->update(0, 0, window_->width(), margins_.top());
      }
      if (hit.Area == TSkinHit::Client) {
        window_->unsetCursor();
        return false;
      }
      window_->setCursor(cursorOf(hit.Area));
      return true;
    }
    case QEvent::MouseButtonPress:
      if (hit.Area == TSkinHit::Client) return false;
      if (e->button() != Qt::LeftButton) return true;
      if (hit.Area == TSkinHit::Button) {
        pressedButton_ = hotButton_ = hit.Button;
        window_->update(0, 0, window_->width(), margins_.top());
        return true;
      }
      if (QWindow* handle = window_->windowHandle()) {
        const bool system = hit.Area == TSkinHit::Caption ? handle->startSystemMove()
                                                          : handle->startSystemResize(edgesOf(hit.Area));
        if (system) return true;
      }
      dragging_ = hit.Area;
      dragStart_ = e->globalPosition().toPoint();
      dragGeometry_ = window_->geometry();
      return true;
    case QEvent::MouseButtonRelease: {
      const int pressed = pressedButton_;
      const bool wasDragging = dragging_ != TSkinHit::Client;
      pressedButton_ = -1;
      dragging_ = TSkinHit::Client;
      if (pressed >= 0) {
        window_->update(0, 0, window_->width(), margins_.top());
        if (hit.Area == TSkinHit::Button && hit.Button == pressed) Press(pressed);
        return true;
      }
      return wasDragging || hit.Area != TSkinHit::Client;
    }
    case QEvent::MouseButtonDblClick:
      if (hit.Area == TSkinHit::Caption && offers(caMaximize))
        window_->isMaximized() ? window_->showNormal() : window_->showMaximized();
      return hit.Area != TSkinHit::Client;
    default: return false;
  }
}

bool TWinSkinForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_) return false;
  switch (static_cast<int>(event->type())) {
    case QEvent::Paint:
      if (framed_ && !initial_) {
        QPainter painter(window_);
        paintFrame(painter);
      }
      return false;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: return framed_ && mouse(event);
    case QEvent::Leave:
      if (hotButton_ >= 0) {
        hotButton_ = -1;
        window_->update(0, 0, window_->width(), margins_.top());
      }
      return false;
    case QEvent::WindowTitleChange:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::WindowStateChange:
      if (framed_) window_->update(0, 0, window_->width(), margins_.top());
      return false;
    case kSkinAttached:
      initial_ = false;
      window_->update();
      return true;
    case kSkinRedraw:
      window_->update();
      return true;
    case kSkinQuerySkinned:
    case kSkinQuerySkinned2:
      static_cast<TSkinMessage*>(event)->Result = kSkinnedMarker;
      return true;
    default: return false;
  }
}
