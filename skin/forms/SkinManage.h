#pragma once
// TSkinManage: the one skin manager of the process. It watches every window of the application
// (an application-wide event filter standing for the window-creation hook), attaches a window
// skinner to each window that may be skinned, and performs the skin components' requests to
// skin, unskin and refresh through a timer, so a request returns at once and acts a moment
// later from the event loop.

#include <vector>

#include <QObject>
#include <QPointer>

class QTimer;
class QWidget;
class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

enum TSkinAction : int { saNone = 0, saSkin = 1, saUnskin = 2, saRefresh = 3 };

class TSkinManage : public QObject {
 public:
  // The manager, or null before the first skin component finished loading.
  static TSkinManage* Instance();
  // The manager, created now if there is none; it lives as long as the application object.
  static TSkinManage& Create();

  void Register(TSkinData* data);
  // A component going away: when it is the one served, every window is unskinned first, so no
  // skinner outlives the skin it draws from.
  void Unregister(TSkinData* data);
  TSkinData* Data() const { return data_; }

  // Sets the action and the timer's interval and starts it; the first tick stops the timer and
  // performs the action.
  void RequestAction(TSkinAction action, int delayMs);
  TSkinAction PendingAction() const { return action_; }
  const QTimer& Timer() const { return *timer_; }

  bool Active() const { return active_; }
  // Serving single windows: the component served skins only the window it sits on, not every
  // window of the application.
  bool SingleWindow() const;

  // Skins `window` when every rule allows it; returns its skinner (new or already there), or
  // null.
  TWinSkinForm* SkinForm(QWidget* window);
  // A component serving one window skins it at once: the manager becomes active for it.
  TWinSkinForm* SkinOwnWindow(QWidget* window);
  TWinSkinForm* SkinnerOf(const QWidget* window) const;
  std::vector<TWinSkinForm*> Skinners() const;

  // The actions.
  void SkinAll();
  void UnskinAll();
  void RefreshAll();
  // Removes the skin of one window.
  void UnskinForm(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TSkinManage();
  ~TSkinManage() override;
  void perform();
  bool maySkin(QWidget* window) const;
  void popupShown(QWidget* menu);
  void popupGone(QObject* menu);

  std::vector<TSkinData*> registered_;
  TSkinData* data_ = nullptr;
  std::vector<QPointer<TWinSkinForm>> skinners_;
  std::vector<TWinSkinPopMenu*> popups_;
  QTimer* timer_;
  TSkinAction action_ = saNone;
  bool active_ = false;
};
