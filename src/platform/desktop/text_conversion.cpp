// Converting the layer's byte strings for Qt.
#include "platform/desktop/text_conversion.h"

#include <QStringDecoder>

namespace velcrum::platform {

QString ToQString(std::string_view text) {
  const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
  // Stateless: a text that ends inside a multi-byte sequence (a single-byte "caf\xE9") is an
  // error, not a sequence waiting for more bytes that would be dropped.
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString converted = decoder(bytes);
  return decoder.hasError() ? QString::fromLatin1(bytes) : converted;
}

}  // namespace velcrum::platform
