#include "app/ReaderConfig.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStandardPaths>
#include <QString>

namespace {

// More than the file ever holds; the rest of a larger file is not read.
constexpr qint64 kMostBytes = 4096;

const QByteArray kZoomName = QByteArrayLiteral("zoom");

}  // namespace

QString ReaderConfigFile() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return folder.isEmpty() ? QString() : folder + QStringLiteral("/tavrin-sici/reader.conf");
}

std::optional<int> ReadZoomSetting() {
  const QString name = ReaderConfigFile();
  QFile file(name);
  // Only a plain file: a pipe or a device in its place would never end.
  if (name.isEmpty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.read(kMostBytes);
  std::optional<int> zoom;
  for (const QByteArray& line : bytes.split('\n')) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0 || line.left(eq).trimmed() != kZoomName) continue;
    bool ok = false;
    const int value = line.mid(eq + 1).trimmed().toInt(&ok);
    zoom = ok ? std::optional<int>(value) : std::nullopt;
  }
  return zoom;
}

void WriteZoomSetting(int percent) {
  const QString name = ReaderConfigFile();
  if (name.isEmpty() || !QDir().mkpath(QFileInfo(name).path())) return;
  // Written whole or not at all: a run that ends half-way leaves the last good file.
  QSaveFile file(name);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(kZoomName + '=' + QByteArray::number(percent) + '\n');
  file.commit();
}
