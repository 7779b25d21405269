#pragma once
// Runs `body` between target.BeginUpdate() and target.EndUpdate(), closing the block also
// when `body` throws. EndUpdate() may fire events whose handlers throw; that happens
// outside any destructor, so the handler's exception replaces the body's instead of
// terminating the program.

namespace classes {

template <class Target, class Body>
void inUpdate(Target& target, Body&& body) {
  target.BeginUpdate();
  try {
    body();
  } catch (...) {
    target.EndUpdate();
    throw;
  }
  target.EndUpdate();
}

}  // namespace classes
