#include "skin/forms/SkinManage.h"

#include <algorithm>

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "skin/forms/SkinClassName.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"

namespace {

QPointer<TSkinManage>& instance() {
  static QPointer<TSkinManage> manager;
  return manager;
}

// Windows the manager looks at: real windows and dialogs, not popups, tool tips or the desktop.
bool isSkinnableWindow(const QWidget* widget) {
  if (!widget->isWindow()) return false;
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog;
}

}  // namespace

TSkinManage* TSkinManage::Instance() { return instance(); }

TSkinManage& TSkinManage::Create() {
  if (!instance()) instance() = new TSkinManage;
  return *instance();
}

TSkinManage::TSkinManage() : QObject(qApp), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("TSkinManage"));
  timer_->setInterval(100);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] { perform(); });
  qApp->installEventFilter(this);
}

// The manager ends with the application object, whose windows are gone by then.
TSkinManage::~TSkinManage() = default;

void TSkinManage::Register(TSkinData* data) {
  if (std::find(registered_.begin(), registered_.end(), data) == registered_.end()) registered_.push_back(data);
  data_ = data;
}

void TSkinManage::Unregister(TSkinData* data) {
  registered_.erase(std::remove(registered_.begin(), registered_.end(), data), registered_.end());
  if (data_ != data) return;
  UnskinAll();
  timer_->stop();
  action_ = saNone;
  data_ = registered_.empty() ? nullptr : registered_.back();
}

void TSkinManage::RequestAction(TSkinAction action, int delayMs) {
  action_ = action;
  timer_->setInterval(delayMs);
  timer_->start();
}

void TSkinManage::perform() {
  const TSkinAction action = action_;
  action_ = saNone;
  switch (action) {
    case saSkin: SkinAll(); break;
    case saUnskin: UnskinAll(); break;
    case saRefresh: RefreshAll(); break;
    default: break;
  }
}

bool TSkinManage::SingleWindow() const { return data_ && data_->SkinFormtype() != sfMainform; }

TWinSkinForm* TSkinManage::SkinOwnWindow(QWidget* window) {
  if (!data_ || data_->Empty() || !window) return nullptr;
  active_ = true;
  return SkinForm(window);
}

void TSkinManage::SkinAll() {
  if (!data_ || data_->Empty()) return;
  active_ = true;
  if (SingleWindow()) {
    if (data_->Window()) SkinForm(data_->Window());
    return;
  }
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) SkinForm(*it);
}

void TSkinManage::UnskinAll() {
  active_ = false;
  for (const QPointer<TWinSkinForm>& skinner : skinners_)
    if (skinner) {
      skinner->Restore();
      delete skinner.data();
    }
  skinners_.clear();
  for (TWinSkinPopMenu* popup : popups_) {
    popup->Restore();
    delete popup;
  }
  popups_.clear();
}

void TSkinManage::UnskinForm(QWidget* window) {
  for (auto it = skinners_.begin(); it != skinners_.end(); ++it)
    if (*it && (*it)->Window() == window) {
      (*it)->Restore();
      delete it->data();
      skinners_.erase(it);
      return;
    }
}

void TSkinManage::RefreshAll() {
  if (!data_ || data_->Empty()) {
    UnskinAll();
    return;
  }
  for (const QPointer<TWinSkinForm>& skinner : skinners_)
    if (skinner) skinner->Refresh();
}

TWinSkinForm* TSkinManage::SkinnerOf(const QWidget* window) const {
  for (const QPointer<TWinSkinForm>& skinner : skinners_)
    if (skinner && skinner->Window() == window) return skinner;
  return nullptr;
}

std::vector<TWinSkinForm*> TSkinManage::Skinners() const {
  std::vector<TWinSkinForm*> live;
  for (const QPointer<TWinSkinForm>& skinner : skinners_)
    if (skinner) live.push_back(skinner);
  return live;
}

bool TSkinManage::maySkin(QWidget* window) const {
  if (!active_ || !data_ || data_->Empty() || !isSkinnableWindow(window)) return false;
  if (SkinnerOf(window) || SendSkinMessage(window, kSkinQueryNoSkin) == 1) return false;
  if (window->geometry().isEmpty()) return false;
  if (IsToolkitWindow(window) && SkinTag(window) == 99) return false;
  const AnsiString className = SkinClassName(window);
  if (className.find("TcxPopupEditPopupWindow") != AnsiString::npos ||
      className.find("TTERenderWindow") != AnsiString::npos || className == "TApplication")
    return false;
  bool skinIt = true;
  if (data_->OnFormSkin) data_->OnFormSkin(*data_, className, skinIt);
  return skinIt;
}

TWinSkinForm* TSkinManage::SkinForm(QWidget* window) {
  if (TWinSkinForm* existing = SkinnerOf(window)) return existing;
  if (!maySkin(window)) return nullptr;
  auto* skinner = new TWinSkinForm(window, *data_, SkinClassName(window));
  skinners_.erase(std::remove(skinners_.begin(), skinners_.end(), nullptr), skinners_.end());
  skinners_.emplace_back(skinner);
  skinner->Attach();
  QCoreApplication::postEvent(window, new TSkinMessage(kSkinAttached, 0, kSkinAttachedParam));
  return skinner;
}

void TSkinManage::popupShown(QWidget* menu) {
  auto* popup = qobject_cast<QMenu*>(menu);
  if (!popup || !data_->SkinControls().Contains(xcPopupMenu)) return;
  for (TWinSkinPopMenu* skinned : popups_)
    if (skinned->Menu() == popup) return;
  auto* skinner = new TWinSkinPopMenu(popup, *data_);
  skinner->Attach();
  popups_.push_back(skinner);
  connect(popup, &QObject::destroyed, this, [this](QObject* gone) { popupGone(gone); });
}

void TSkinManage::popupGone(QObject* menu) {
  for (auto it = popups_.begin(); it != popups_.end(); ++it)
    if ((*it)->Menu() == menu) {
      delete *it;
      popups_.erase(it);
      return;
    }
}

bool TSkinManage::eventFilter(QObject* watched, QEvent* event) {
  // Only a component of the whole application watches the windows that come and go.
  if (!active_ || SingleWindow() || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::Show:
      if (widget->isWindow() && SkinClassName(widget) == "#32768") popupShown(widget);
      break;
    case QEvent::WindowActivate:
      if (widget->isWindow()) SkinForm(widget);
      break;
    default: break;
  }
  return false;
}
