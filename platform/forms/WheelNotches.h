#pragma once
// Whole notches out of a wheel's turns. A touchpad or a high-resolution wheel reports a notch
// as many events of a fraction of it, a fast turn may report several notches in one event:
// both add up to the same count, so a notch does one step however the wheel reports it.

#include <algorithm>

class TWheelNotches {
 public:
  // The angle of one notch, in eighths of a degree.
  static constexpr int kNotch = 120;

  // Adds one event's angle and gives the notches it completed (positive: turned away from the
  // person), at most `limit` either way; the part of a notch left over waits for the next event.
  int Add(int angleDelta, long long limit) {
    const long long turned = static_cast<long long>(pending_) + angleDelta;
    pending_ = static_cast<int>(turned % kNotch);
    return static_cast<int>(std::clamp(turned / kNotch, -limit, limit));
  }
  void Reset() { pending_ = 0; }

 private:
  int pending_ = 0;
};
