#include "platform/classes/Component.h"

#include <algorithm>
#include <string>

#include "platform/classes/Exceptions.h"
#include "platform/classes/TextCompare.h"

namespace {

void erase(std::vector<TComponent*>& list, TComponent* component) {
  list.erase(std::remove(list.begin(), list.end(), component), list.end());
}

template <class Visit>
void forSubtree(TComponent& root, Visit visit) {
  visit(root);
  for (int i = 0; i < root.ComponentCount(); ++i) forSubtree(*root.Components(i), visit);
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (!owner) return;
  try {
    owner->InsertComponent(this);
  } catch (...) {
    // No destructor runs for an unfinished constructor, and the opInsert handlers that
    // threw may already have taken note of this component.
    teardown();
    throw;
  }
}

TComponent::~TComponent() { teardown(); }

void TComponent::teardown() {
  Destroying();
  releaseFreeNotifications();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::releaseFreeNotifications() {
  // The list is re-read after every call: a handler may register or drop partners,
  // or destroy them.
  while (!freeNotifies_.empty()) {
    TComponent* partner = freeNotifies_.back();
    freeNotifies_.pop_back();
    erase(partner->freeNotifies_, this);
    partner->Notification(this, opRemove);
  }
}

void TComponent::SetName(const AnsiString& name) {
  if (name == name_) return;
  if (owner_ && !name.empty()) {
    const TComponent* holder = owner_->FindComponent(name);
    if (holder && holder != this) throw EComponentError("A component named " + name + " already exists");
  }
  name_ = name;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : components_)
    if (classes::sameText(component->name_, name)) return component;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  for (const TComponent* c = this; c; c = c->owner_)
    if (c == component) throw EComponentError("A component cannot own itself or one of its owners");
  if (component->owner_ == this) return;
  if (FindComponent(component->name_))
    throw EComponentError("A component named " + component->name_ + " already exists");
  if (component->owner_) component->owner_->RemoveComponent(component);

  components_.push_back(component);
  component->owner_ = this;
  if (Loading()) component->BeginLoading();
  if (state_.Contains(csDesigning)) component->SetDesigning(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component->owner_ != this) return;
  erase(components_, component);
  component->owner_ = nullptr;
  // It left during an EndLoading() pass of this tree: that pass no longer reaches it.
  forSubtree(*component, [](TComponent& c) { c.loadedPending_ = false; });
  Notification(component, opRemove);
}

void TComponent::DestroyComponents() {
  // Each one leaves the list in its destructor.
  while (!components_.empty()) delete components_.back();
}

void TComponent::BeginLoading() {
  forSubtree(*this, [](TComponent& c) { c.state_.Include(csLoading); });
}

namespace {

// The first component in Loaded() order that still waits for it.
template <class Pending>
TComponent* firstPending(TComponent& root, Pending pending) {
  for (int i = 0; i < root.ComponentCount(); ++i)
    if (TComponent* found = firstPending(*root.Components(i), pending)) return found;
  return pending(root) ? &root : nullptr;
}

}  // namespace

void TComponent::EndLoading() {
  forSubtree(*this, [](TComponent& c) {
    if (!c.Loading()) return;
    c.state_.Exclude(csLoading);
    c.loadedPending_ = true;
  });
  // Loaded() may create, move or destroy components, so the tree is searched afresh for
  // the next one instead of walking a list taken beforehand.
  try {
    while (TComponent* next = firstPending(*this, [](TComponent& c) { return c.loadedPending_; })) {
      next->loadedPending_ = false;
      next->Loaded();
    }
  } catch (...) {
    forSubtree(*this, [](TComponent& c) { c.loadedPending_ = false; });
    throw;
  }
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::SetDesigning(bool designing) {
  forSubtree(*this, [designing](TComponent& c) {
    if (designing)
      c.state_.Include(csDesigning);
    else
      c.state_.Exclude(csDesigning);
  });
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  // A component being destroyed may already have told its partners; a link made now
  // would outlive it.
  if (state_.Contains(csDestroying) || component->state_.Contains(csDestroying)) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) != freeNotifies_.end()) return;
  freeNotifies_.push_back(component);
  component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  erase(freeNotifies_, component);
  erase(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // Counting down and clamping keeps this safe when a handler destroys owned components.
  for (std::size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) {
      if (components_.empty()) break;
      i = components_.size() - 1;
    }
    components_[i]->Notification(component, operation);
  }
}

void TComponent::Destroying() {
  forSubtree(*this, [](TComponent& c) { c.state_.Include(csDestroying); });
}
