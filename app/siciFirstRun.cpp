// The first start in a folder: the offer of a desktop link, and the marker that the offer
// was made.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/sici.h"
#include "platform/classes/Exceptions.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ShellLink.h"
#include "platform/text/QtText.h"

namespace {

const char* const kMarker = "ado.dll";

}  // namespace

void Tfsici::firstRunCheck() {
  if (QFileInfo::exists(QString::fromLatin1(kMarker))) return;
  if (MessageDlg("初次运行Tavrin诗词大全,是否生成桌面快捷方式?"_gbk, TMsgDlgType::mtConfirmation, mbYes | mbNo) == mrYes) {
    // Installed, the reader is started by a launcher that prepares its folder: the link starts
    // the launcher, which names itself here.
    const QString launcher = qEnvironmentVariable("TAVRIN_SICI_LAUNCHER");
    CreateShortcut(launcher.isEmpty() ? Application->ExeName() : text::fromQString(launcher), "Tavrin诗词大全"_gbk,
                   AnsiString(), -1);
  }
  QFile marker(QString::fromLatin1(kMarker));
  if (!marker.open(QIODevice::WriteOnly | QIODevice::Truncate) || marker.write("ok", 2) != 2)
    throw Exception("Cannot create file \"" + text::fromQString(QFileInfo(marker).absoluteFilePath()) + "\". " +
                    text::fromQString(marker.errorString()));
}

bool Tfsici::CreateShortcut(const AnsiString& target, const AnsiString& linkName, const AnsiString& directory,
                            int folderId) {
  const QFileInfo targetFile(text::toQString(target));
  if (!targetFile.exists()) return false;
  const QString name = linkName.empty() ? targetFile.completeBaseName() : text::toQString(linkName);
  const QString workingDir = targetFile.absolutePath() + QLatin1Char('/');
  if (directory.empty() && folderId == -1) folderId = 0;
  QString file;
  const QString extension = QString::fromLatin1(kShellLinkExtension);
  if (folderId >= 0) {
    const QString folder = SpecialFolderPath(folderId);
    if (folder.isEmpty()) return false;
    file = folderId == 26 ? QStringLiteral("%1/%2/%3%4").arg(folder, QStringLiteral("Microsoft/Internet Explorer/Quick Launch"), name, extension)
                          : QStringLiteral("%1/%2%3").arg(folder, name, extension);
  } else {
    QString dir = text::toQString(directory);
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))) dir.chop(1);
    if (!QFileInfo(dir).isDir()) return false;
    file = QStringLiteral("%1/%2%3").arg(dir, name, extension);
  }
  return SaveShellLink(file, targetFile.absoluteFilePath(), workingDir, name);
}
