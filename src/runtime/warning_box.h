// The shell's warning box: a beep, then the text in a box captioned "Velcrum V<version>"
// with the exclamation icon.
#pragma once

#include <string_view>

namespace velcrum {

void ShowWarningBox(std::string_view text);

}  // namespace velcrum
