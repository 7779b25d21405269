#include "app/CollectionCaption.h"

#include <QFile>

#include "collection/CollectionSchema.h"

namespace {

constexpr long kShippedPoems = 104862;

// The note holds a decimal number and a line end; anything else is not trusted.
long notedPoems() {
  QFile note(QString::fromLatin1(collection::kPoemCountName));
  if (!note.open(QIODevice::ReadOnly)) return 0;
  const QByteArray text = note.read(32).trimmed();
  if (text.isEmpty() || text.size() > 9) return 0;
  for (char c : text)
    if (c < '0' || c > '9') return 0;
  return text.toLong();
}

}  // namespace

QString CollectionCaption() {
  const long poems = notedPoems();
  return QStringLiteral("Tavrin诗词大全  (%1首诗词)").arg(poems > 0 ? poems : kShippedPoems);
}
