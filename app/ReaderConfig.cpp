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

QList<QByteArray> readLines() {
  const QString name = ReaderConfigFile();
  QFile file(name);
  // Only a plain file: a pipe or a device in its place would never end.
  if (name.isEmpty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) return {};
  return file.read(kMostBytes).split('\n');
}

bool names(const QByteArray& line, std::string_view name) {
  const qsizetype eq = line.indexOf('=');
  return eq >= 0 && line.left(eq).trimmed() == QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QString ReaderConfigFile() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return folder.isEmpty() ? QString() : folder + QStringLiteral("/tavrin-sici/reader.conf");
}

std::optional<int> ReadSetting(std::string_view name) {
  std::optional<int> value;
  for (const QByteArray& line : readLines()) {
    if (!names(line, name)) continue;
    bool ok = false;
    const int number = line.mid(line.indexOf('=') + 1).trimmed().toInt(&ok);
    value = ok ? std::optional<int>(number) : std::nullopt;
  }
  return value;
}

void WriteSetting(std::string_view name, int value) {
  const QString file = ReaderConfigFile();
  if (file.isEmpty() || !QDir().mkpath(QFileInfo(file).path())) return;
  QByteArray kept;
  for (const QByteArray& line : readLines())
    if (!line.trimmed().isEmpty() && !names(line, name)) kept += line + '\n';
  // Written whole or not at all: a run that ends half-way leaves the last good file.
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return;
  out.write(kept + QByteArray(name.data(), static_cast<qsizetype>(name.size())) + '=' + QByteArray::number(value) + '\n');
  out.commit();
}
