#pragma once
// The desktop services the program uses: opening web addresses, the clipboard and the
// mouse cursor.

#include <functional>

#include <QString>

class QWidget;

// Opens `address` with the verb "Open" in the user's browser; a failure is silent. The
// opener can be replaced (tests record addresses instead of starting a browser).
void ShellExecute(QWidget* owner, const QString& verb, const QString& address);
using TShellOpener = std::function<void(const QString& address)>;
TShellOpener SetShellOpener(TShellOpener opener);

void SetClipboardText(const QString& text);

// The hourglass while long work runs: shown by construction, removed by destruction.
class TWaitCursor {
 public:
  TWaitCursor();
  ~TWaitCursor();
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};
