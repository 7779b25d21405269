#include "skin/forms/SkinControl.h"

#include "skin/forms/SkinParts.h"

TSkinControl::TSkinControl(QWidget* control, TSkinData& data, const char* className)
    : QObject(control), control_(control), data_(&data), className_(className) {
  setObjectName(QString::fromLatin1(className));
}

// The parts restore themselves as they go, unless their control is going too.
TSkinControl::~TSkinControl() = default;

void TSkinControl::Restore() { parts_.reset(); }

void TSkinControl::Refresh() {
  if (parts_) parts_->Refresh();
}

bool TSkinControl::Attached() const { return parts_ && !parts_->Empty(); }

void TSkinControl::SkinWidget(QWidget* widget, TSkinFill fill) {
  if (!widget) return;
  if (!parts_) parts_ = std::make_unique<TSkinParts>(*this, *data_);
  parts_->Add(widget, fill == sfFace);
}

TSkinControl* SkinnerOf(const QWidget* control) {
  if (!control) return nullptr;
  for (QObject* child : control->children())
    if (auto* skinner = dynamic_cast<TSkinControl*>(child)) return skinner;
  return nullptr;
}
