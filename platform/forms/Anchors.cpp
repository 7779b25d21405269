#include "platform/forms/Anchors.h"

#include <QEvent>

#include <algorithm>
#include <vector>

namespace {

// Lives on the parent and moves its anchored children whenever the parent's size or its contents
// margins change. Places are kept relative to the contents rectangle, so a frame drawn in the
// margins (a skinned window's) moves the controls with the client area.
class AnchorKeeper : public QObject {
 public:
  explicit AnchorKeeper(QWidget* parent)
      : QObject(parent), parent_(parent), designSize_(parent->contentsRect().size()) {
    setObjectName(kName);
    parent->installEventFilter(this);
  }

  static constexpr const char* kName = "sici-anchor-keeper";

  void add(QWidget* child, unsigned anchors) {
    children_.push_back({child, child->geometry().translated(-parent_->contentsRect().topLeft()), anchors});
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == parent_ && (event->type() == QEvent::Resize || event->type() == QEvent::ContentsRectChange))
      relayout();
    return false;
  }

 private:
  struct Entry {
    QWidget* widget;
    QRect design;
    unsigned anchors;
  };

  void relayout() {
    const QRect client = parent_->contentsRect();
    const int dx = client.width() - designSize_.width();
    const int dy = client.height() - designSize_.height();
    for (const Entry& e : children_) {
      QRect r = e.design.translated(client.topLeft());
      if (e.anchors & akRight) {
        if (e.anchors & akLeft) r.setWidth(std::max(0, r.width() + dx));
        else r.moveLeft(r.left() + dx);
      }
      if (e.anchors & akBottom) {
        if (e.anchors & akTop) r.setHeight(std::max(0, r.height() + dy));
        else r.moveTop(r.top() + dy);
      }
      e.widget->setGeometry(r);
    }
  }

  QWidget* parent_;
  QSize designSize_;
  std::vector<Entry> children_;
};

}  // namespace

void SetAnchors(QWidget* widget, unsigned anchors) {
  QWidget* parent = widget->parentWidget();
  // Found by name: the keeper has no meta-object of its own to be told apart by.
  auto* keeper = static_cast<AnchorKeeper*>(
      parent->findChild<QObject*>(QString::fromLatin1(AnchorKeeper::kName), Qt::FindDirectChildrenOnly));
  if (!keeper) keeper = new AnchorKeeper(parent);
  keeper->add(widget, anchors);
}
