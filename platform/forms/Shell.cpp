#include "platform/forms/Shell.h"

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

namespace {
TShellOpener& opener() {
  static TShellOpener current;
  return current;
}
}  // namespace

TShellOpener SetShellOpener(TShellOpener next) {
  TShellOpener previous = std::move(opener());
  opener() = std::move(next);
  return previous;
}

void ShellExecute(QWidget*, const QString& verb, const QString& address) {
  if (verb.compare(QStringLiteral("Open"), Qt::CaseInsensitive) != 0) return;
  if (opener())
    opener()(address);
  else
    QDesktopServices::openUrl(QUrl(address));
}

void SetClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

TWaitCursor::TWaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
TWaitCursor::~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
