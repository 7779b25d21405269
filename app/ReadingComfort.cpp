#include "app/ReadingComfort.h"

#include "app/AccessibleNames.h"
#include "app/FocusMark.h"
#include "app/KeyboardUse.h"
#include "app/PoemPinyin.h"
#include "app/PoemSource.h"
#include "app/PoemZoom.h"
#include "app/sici.h"
#include "platform/forms/OverlaidTextEdit.h"

void AddReadingComfort(Tfsici& window) {
  new PoemZoom(window.rc, &window);
  if (auto* view = dynamic_cast<TOverlaidTextEdit*>(window.rc)) new PoemPinyin(view, window.N9, window.Label4);
  new PoemSource(window.N16, [&window] { window.ShowAgain(); }, &window);
  SetUpKeyboardUse(window);
  NameControls(window);
  new FocusMark(&window);
}
