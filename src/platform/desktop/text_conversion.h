// Text between the platform layer (bytes, UTF-8 where valid) and Qt (QString).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velcrum::platform {

// UTF-8 when the bytes are valid UTF-8, else Latin-1 (single-byte text of older files).
QString ToQString(std::string_view text);

}  // namespace velcrum::platform
