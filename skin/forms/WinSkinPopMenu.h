#pragma once
// TWinSkinPopMenu: the skinner of one popup menu. The menu is drawn with the skin's style — its
// background from "MenuBackground", the highlighted item from "MenuItem" — in the skin's menu
// colours. The skin manager creates one when a menu shows and deletes it when the menu goes;
// Restore() gives the menu back as it was.

#include <memory>

#include <QObject>

class QMenu;
class TSkinData;
class TSkinParts;

class TWinSkinPopMenu : public QObject {
 public:
  TWinSkinPopMenu(QMenu* menu, TSkinData& data);
  ~TWinSkinPopMenu() override;

  // The menu skinned; kept as given, so that it still names the menu while the menu goes.
  QMenu* Menu() const { return menu_; }

  void Attach();
  void Restore();
  void Refresh();

 private:
  QMenu* menu_;
  TSkinData& data_;
  std::unique_ptr<TSkinParts> parts_;
};
