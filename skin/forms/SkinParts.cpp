#include "skin/forms/SkinParts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPalette>
#include <QPointer>
#include <QStyle>
#include <QWidget>

#include "skin/forms/SkinStyle.h"

struct TSkinParts::TPart {
  QWidget* Widget;  // compared only once Gone
  bool Gone = false;
  TSkinColourSet Colours;
  bool FillFace;
  QPointer<QStyle> Style;
  bool OwnStyle;
  bool Hover;
  bool OwnPalette;
  QPalette Palette;
  bool AutoFill;
  QMetaObject::Connection Watch;
};

TSkinParts::TSkinParts(QObject& watcher, TSkinData& data)
    : watcher_(watcher), data_(data), style_(TSkinStyle::For(data)) {}

TSkinParts::~TSkinParts() { Restore(); }

void TSkinParts::Add(QWidget* widget, bool fillFace, TSkinColourSet colours) {
  if (!widget) return;
  for (const auto& p : parts_)
    if (!p->Gone && p->Widget == widget) return;
  auto part = std::make_unique<TPart>(TPart{widget, false, colours, fillFace, widget->style(),
                                            widget->testAttribute(Qt::WA_SetStyle), widget->testAttribute(Qt::WA_Hover),
                                            widget->testAttribute(Qt::WA_SetPalette), widget->palette(),
                                            widget->autoFillBackground(), {}});
  TPart* raw = part.get();
  // A widget's destroyed signal comes before its children go, so the parts inside it learn in
  // time that they go with it.
  raw->Watch = QObject::connect(widget, &QObject::destroyed, &watcher_, [raw] { raw->Gone = true; });
  parts_.push_back(std::move(part));
  widget->setStyle(style_.get());
  apply(*raw);
}

void TSkinParts::apply(TPart& part) const {
  QWidget* w = part.Widget;
  w->setAttribute(Qt::WA_Hover, true);
  w->setPalette(SkinPalette(data_, part.OwnPalette ? part.Palette : QPalette(), part.Colours));
  if (part.FillFace) w->setAutoFillBackground(true);
  w->update();
}

bool TSkinParts::goesWithAnother(const TPart& part) const {
  for (const auto& other : parts_) {
    if (!other->Gone) continue;
    for (const QWidget* w = part.Widget; w; w = w->parentWidget())
      if (w == other->Widget) return true;
  }
  return false;
}

void TSkinParts::Restore() {
  // Inner parts first, in the reverse of their taking.
  for (auto it = parts_.rbegin(); it != parts_.rend(); ++it) {
    TPart& p = **it;
    if (p.Gone || goesWithAnother(p)) continue;
    QWidget* w = p.Widget;
    w->setStyle(p.OwnStyle ? p.Style.data() : nullptr);
    w->setAttribute(Qt::WA_Hover, p.Hover);
    w->setPalette(p.OwnPalette ? p.Palette : QPalette());
    w->setAutoFillBackground(p.AutoFill);
    w->update();
  }
  for (const auto& p : parts_) QObject::disconnect(p->Watch);
  parts_.clear();
}

void TSkinParts::Refresh() {
  for (const auto& p : parts_) {
    if (p->Gone) continue;
    QEvent changed(QEvent::StyleChange);
    QCoreApplication::sendEvent(p->Widget, &changed);
    p->Widget->updateGeometry();
    apply(*p);
  }
}
