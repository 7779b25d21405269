#include "platform/forms/ShellLink.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// A value of the Exec key: quoted when it holds anything the launcher would split or expand.
QString execValue(const QString& path) {
  static const QString special = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool quote = false;
  for (QChar c : path) quote = quote || special.contains(c);
  if (!quote) return path;
  QString escaped;
  for (QChar c : path) {
    if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
      escaped += QLatin1Char('\\');
    escaped += c;
  }
  // The Desktop Entry format escapes backslashes once more at the string level.
  escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// Line breaks would end the key; everything else stands as it is.
QString plainValue(QString value) {
  value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  value.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
  return value;
}

}  // namespace

QString SpecialFolderPath(int folderId) {
  switch (folderId) {
    case 0: return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case 26: return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    default: return {};
  }
}

bool SaveShellLink(const QString& file, const QString& target, const QString& workingDir, const QString& name) {
  if (!QFileInfo(QFileInfo(file).absolutePath()).isDir()) return false;
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return false;
  const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + plainValue(name) +
                        QStringLiteral("\nExec=") + execValue(target) + QStringLiteral("\nPath=") +
                        plainValue(workingDir) + QStringLiteral("\nTerminal=false\n");
  out.write(entry.toUtf8());
  if (!out.commit()) return false;
  // Desktops start only links they may execute.
  QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner | QFile::ExeUser);
  return true;
}
