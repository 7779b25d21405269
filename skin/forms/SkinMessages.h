#pragma once
// The messages skinned windows and the skin manager exchange. Their numbers are fixed: a
// window or control of any origin can answer them, so both sides must agree. They travel as
// events of these types; an answer is the event's Result.

#include <cstdint>

#include <QEvent>

enum TSkinMessageId : int {
  // Sent before skinning a window or control: an answer of 1 keeps it unskinned.
  kSkinQueryNoSkin = 13603,
  // Posted to a window right after its skinner was attached (lParam 1000).
  kSkinAttached = 13571,
  // A skinned window redraws from the current skin.
  kSkinRedraw = 13313,
  // Posted to the manager: redraw the caption of the window in wParam.
  kSkinRedrawCaption = 13590,
  // Is this window skinned? A skinned window answers kSkinnedMarker.
  kSkinQuerySkinned = 48203,
  kSkinQuerySkinned2 = 48205,
};

inline constexpr std::intptr_t kSkinnedMarker = 16802;
inline constexpr std::intptr_t kSkinAttachedParam = 1000;

class TSkinMessage : public QEvent {
 public:
  TSkinMessage(int id, std::intptr_t wParam = 0, std::intptr_t lParam = 0)
      : QEvent(static_cast<QEvent::Type>(id)), WParam(wParam), LParam(lParam) {}

  int Id() const { return static_cast<int>(type()); }

  std::intptr_t WParam;
  std::intptr_t LParam;
  std::intptr_t Result = 0;
};

// Sends message `id` to `receiver` at once and returns its answer.
std::intptr_t SendSkinMessage(class QObject* receiver, int id, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

inline bool IsSkinMessage(const QEvent* event, int id) { return static_cast<int>(event->type()) == id; }
