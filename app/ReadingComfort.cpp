#include "app/ReadingComfort.h"

#include "app/AccessibleNames.h"
#include "app/FocusMark.h"
#include "app/KeyboardUse.h"
#include "app/PoemZoom.h"
#include "app/sici.h"

void AddReadingComfort(Tfsici& window) {
  new PoemZoom(window.rc, &window);
  SetUpKeyboardUse(window);
  NameControls(window);
  new FocusMark(&window);
}
