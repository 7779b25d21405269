#include "platform/forms/HideSelection.h"

#include <QFocusEvent>
#include <QTextCursor>
#include <QTextEdit>

namespace {

class TSelectionHider : public QObject {
 public:
  explicit TSelectionHider(QTextEdit& view) : QObject(&view), view_(view) {
    view.installEventFilter(this);
    connect(&view, &QTextEdit::selectionChanged, this, [this] { hide(); });
    // Kept places mean nothing in another text.
    connect(view.document(), &QTextDocument::contentsChanged, this, [this] { anchor_ = -1; });
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
      hide(true);
    else if (event->type() == QEvent::FocusIn)
      show();
    return false;
  }

 private:
  // Keeps the selection and leaves the cursor where it is, without one.
  void hide(bool leaving = false) {
    if ((!leaving && view_.hasFocus()) || showing_) return;
    QTextCursor cursor = view_.textCursor();
    if (!cursor.hasSelection()) return;
    const int anchor = cursor.anchor(), position = cursor.position();
    cursor.clearSelection();
    view_.setTextCursor(cursor);
    anchor_ = anchor;
    position_ = position;
  }

  void show() {
    if (anchor_ < 0) return;
    QTextCursor cursor = view_.textCursor();
    cursor.setPosition(anchor_);
    cursor.setPosition(position_, QTextCursor::KeepAnchor);
    anchor_ = -1;
    showing_ = true;
    view_.setTextCursor(cursor);
    showing_ = false;
  }

  QTextEdit& view_;
  int anchor_ = -1;
  int position_ = -1;
  bool showing_ = false;
};

}  // namespace

void HideSelectionWhileUnfocused(QTextEdit& view) { new TSelectionHider(view); }
