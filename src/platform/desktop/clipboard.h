// The desktop's clipboard: text put there for other programs to paste.
#pragma once

#include <string_view>

namespace velcrum::platform {

// Replaces the clipboard's contents by the text (UTF-8 where valid, else Latin-1); false
// without a clipboard (no application running).
bool SetClipboardText(std::string_view text);

}  // namespace velcrum::platform
