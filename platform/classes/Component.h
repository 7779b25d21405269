#pragma once
// Components: named objects in an ownership tree. An owner destroys what it owns, and
// components that refer to each other learn when the other one goes away.
//
// Ownership: a component created with an owner must be created with `new`; the owner
// deletes it. Deleting it earlier is fine, it leaves its owner's list. A component without
// an owner belongs to whoever created it.
//
// Destruction of a component X, in this order:
//   1. X and everything it owns are marked csDestroying.
//   2. Each component registered through FreeNotification gets Notification(X, opRemove),
//      the latest registration first; the link is dropped before the call.
//   3. X's owned components are destroyed, the last created first.
//   4. X leaves its owner's list, then the owner gets Notification(X, opRemove).
// These steps run in ~TComponent, after the destructors of X's own class: a class whose
// owned components call back into it while they die calls DestroyComponents() first
// in its own destructor.
//
// The base Notification() passes every notification on to the owned components, the last
// first, so all components of one owner hear about each other. A component can therefore
// hear of the same removal twice (as a registered partner and as a sibling).

#include <cstdint>
#include <vector>

#include "platform/classes/Persistent.h"
#include "platform/text/AnsiText.h"

enum TComponentStateFlag : unsigned char {
  csLoading = 1 << 0,
  csDestroying = 1 << 1,
  csDesigning = 1 << 2,
};

class TComponentState {
public:
  constexpr bool Contains(TComponentStateFlag flag) const { return (bits_ & flag) != 0; }
  constexpr void Include(TComponentStateFlag flag) { bits_ = static_cast<unsigned char>(bits_ | flag); }
  constexpr void Exclude(TComponentStateFlag flag) { bits_ = static_cast<unsigned char>(bits_ & ~flag); }
  constexpr bool Empty() const { return bits_ == 0; }

private:
  unsigned char bits_ = 0;
};

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  // Joins `owner`'s list (last) and takes over its loading and designing state. The owner's
  // opInsert notification arrives while this object is still being constructed: only its
  // TComponent part exists then.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  const char* ClassName() const override { return "TComponent"; }

  const AnsiString& Name() const { return name_; }
  // Names are unique among the components of one owner, compared ignoring ASCII case;
  // a taken name raises EComponentError. Any number of components may have no name.
  void SetName(const AnsiString& name);

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // Raises EListError for an index outside 0..ComponentCount()-1.
  TComponent* Components(int index) const;
  // The owned component called `name` (ignoring ASCII case), or nullptr; never finds an
  // unnamed one.
  TComponent* FindComponent(const AnsiString& name) const;
  template <class T>
  T* FindChild(const AnsiString& name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }

  // Makes this component own `component`, taking it from its previous owner. Raises
  // EComponentError when the name is taken here or when `component` is this component or
  // one of its owners. Sends opInsert.
  void InsertComponent(TComponent* component);
  // Gives up ownership: `component` then belongs to the caller. Sends opRemove.
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  TComponentState ComponentState() const { return state_; }
  bool Loading() const { return state_.Contains(csLoading); }

  // Marks this component and everything it owns as loading; components inserted while
  // the owner loads are loading too.
  void BeginLoading();
  // Ends loading for this component and everything it owns, then calls Loaded() on each
  // that was loading: the owned components in list order, each after the components it
  // owns, this component last. All of them stop loading before the first Loaded() runs,
  // so each Loaded() sees the others as loaded. An exception from Loaded() propagates and
  // the remaining Loaded() calls do not happen.
  void EndLoading();

  // Sets or clears csDesigning on this component and everything it owns.
  void SetDesigning(bool designing);

  // Registers mutual interest: each of the two gets Notification(other, opRemove) when the
  // other is destroyed. Registering twice has no further effect; registering with a
  // component that is being destroyed (csDestroying) has none at all.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t tag) { tag_ = tag; }

protected:
  // Overrides call the base first. The base clears csLoading.
  virtual void Loaded();
  // Overrides forget `component` on opRemove and call the base, which passes the
  // notification on to the owned components.
  virtual void Notification(TComponent* component, TOperation operation);
  // Marks this component and everything it owns as csDestroying.
  void Destroying();

private:
  void teardown();
  void releaseFreeNotifications();

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  AnsiString name_;
  std::intptr_t tag_ = 0;
  TComponentState state_;
  bool loadedPending_ = false;  // between EndLoading() clearing csLoading and Loaded()
};
