#pragma once
// Internal to platform/db.

namespace db_detail {

// Runs `body`, then `after` also when `body` throws. An exception from `after` replaces the
// body's: the links must hear of whatever the body changed before it failed.
template <class Body, class After>
void thenAnyway(Body&& body, After&& after) {
  try {
    body();
  } catch (...) {
    after();
    throw;
  }
  after();
}

}  // namespace db_detail
