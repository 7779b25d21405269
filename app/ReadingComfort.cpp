#include "app/ReadingComfort.h"

#include <QAction>

#include "app/AccessibleNames.h"
#include "app/FocusMark.h"
#include "app/KeyboardUse.h"
#include "app/PoemColumns.h"
#include "app/PoemPinyin.h"
#include "app/PoemSource.h"
#include "app/PoemZoom.h"
#include "app/sici.h"
#include "platform/forms/OverlaidTextEdit.h"

void AddReadingComfort(Tfsici& window) {
  new PoemZoom(window.rc, &window);
  if (auto* view = dynamic_cast<TOverlaidTextEdit*>(window.rc)) new PoemPinyin(view, window.N9, window.Label4);
  new PoemSource(window.N16, [&window] { window.ShowAgain(); }, &window);
  auto* columns = new PoemColumns(window.rc, window.N17, window.N18, window.N19, window.Label4);
  // After the pinyin has taken the item's change: the columns take its syllables.
  QObject::connect(window.N9, &QAction::triggered, columns, [columns] { columns->Refresh(); });
  SetUpKeyboardUse(window);
  NameControls(window);
  new FocusMark(&window);
}
