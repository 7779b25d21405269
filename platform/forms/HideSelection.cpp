#include "platform/forms/HideSelection.h"

#include <QFocusEvent>
#include <QTextCursor>
#include <QTextEdit>

namespace {

const QString kHiderName = QStringLiteral("TSelectionHider");

class TSelectionHider : public QObject {
 public:
  explicit TSelectionHider(QTextEdit& view) : QObject(&view), view_(view) {
    setObjectName(kHiderName);
    view.installEventFilter(this);
    connect(&view, &QTextEdit::selectionChanged, this, [this] { hide(); });
    // Kept places mean nothing in another text.
    connect(view.document(), &QTextDocument::contentsChanged, this, [this] { anchor_ = -1; });
  }

  QString hiddenText() const { return anchor_ < 0 ? QString() : kept().selectedText(); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
      hide(true);
    else if (event->type() == QEvent::FocusIn)
      show();
    return false;
  }

 private:
  QTextCursor kept() const {
    QTextCursor cursor(view_.document());
    cursor.setPosition(anchor_);
    cursor.setPosition(position_, QTextCursor::KeepAnchor);
    return cursor;
  }

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
    const QTextCursor cursor = kept();
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

QString SelectedText(const QTextEdit& view) {
  const QString shown = view.textCursor().selectedText();
  if (!shown.isEmpty()) return shown;
  const auto* hider = dynamic_cast<const TSelectionHider*>(view.findChild<QObject*>(kHiderName, Qt::FindDirectChildrenOnly));
  return hider ? hider->hiddenText() : QString();
}
