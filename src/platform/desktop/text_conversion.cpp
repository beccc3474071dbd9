// Converting the layer's byte strings for Qt.
#include "platform/desktop/text_conversion.h"

#include <QStringDecoder>

namespace velcrum::platform {

QString ToQString(std::string_view text) {
  const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString converted = decoder(bytes);
  return decoder.hasError() ? QString::fromLatin1(bytes) : converted;
}

}  // namespace velcrum::platform
