#include "platform/forms/Application.h"

#include <QFont>

#include "platform/classes/Exceptions.h"
#include "platform/forms/Dialogs.h"
#include "platform/text/QtText.h"

TApplication* Application = nullptr;

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  Application = this;
  // The windows name the fonts of their original platform; these render all of GBK here.
  QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
}

TApplication::~TApplication() {
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const AnsiString& title) {
  // Only the error boxes carry the title: as Qt's display name it would be appended to every
  // window's caption on X11.
  title_ = title;
}

AnsiString TApplication::ExeName() const { return text::fromQString(applicationFilePath()); }

void TApplication::ShowException(const std::exception& error) {
  if (dynamic_cast<const EAbort*>(&error)) return;
  // The program's own errors carry code page 936 text; anything else is taken as UTF-8.
  const auto* own = dynamic_cast<const Exception*>(&error);
  const QString text = own ? text::toQString(own->Message()) : QString::fromUtf8(error.what());
  MessageBoxWithCaption(text::toQString(title_), text, TMsgDlgType::mtError, mbOK);
}

int TApplication::AddMessageHook(TMessageEvent hook) {
  hooks_.emplace_back(nextToken_, std::move(hook));
  return nextToken_++;
}

void TApplication::RemoveMessageHook(int token) {
  std::erase_if(hooks_, [token](const auto& entry) { return entry.first == token; });
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    if (!hooks_.empty()) {
      bool handled = false;
      // A hook may add or remove hooks while it runs.
      const auto hooks = hooks_;
      for (const auto& [token, hook] : hooks) {
        hook(receiver, event, handled);
        if (handled) return true;
      }
    }
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    // An exception ends only the action that raised it.
    ShowException(error);
    return false;
  }
}
