#include "skin/forms/WinSkinPopMenu.h"

#include <QMenu>

#include "skin/forms/SkinParts.h"

TWinSkinPopMenu::TWinSkinPopMenu(QMenu* menu, TSkinData& data) : menu_(menu), data_(data) {}

TWinSkinPopMenu::~TWinSkinPopMenu() = default;

void TWinSkinPopMenu::Attach() {
  if (!menu_ || parts_) return;
  parts_ = std::make_unique<TSkinParts>(*this, data_);
  parts_->Add(menu_, false, TSkinColourSet::Menu);
}

void TWinSkinPopMenu::Restore() { parts_.reset(); }

void TWinSkinPopMenu::Refresh() {
  if (parts_) parts_->Refresh();
}
