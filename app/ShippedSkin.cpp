#include "app/ShippedSkin.h"

#include <QFile>

// A resource compiled into a static library registers only when something asks for it. Outside
// any namespace: the macro declares the resource's function where it stands.
static void registerShippedSkin() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(shipped_skin);
    return true;
  }();
  (void)registered;
}

std::string ShippedSkinStream() {
  registerShippedSkin();
  QFile resource(QStringLiteral(":/skin/sici.skinstream"));
  if (!resource.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = resource.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
