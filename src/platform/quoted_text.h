// Texts shown in double quotes on one line, every byte readable: the form the nxi log and
// the desktop tool print texts in, so that tests and operators read them the same way.
#pragma once

#include <string>
#include <string_view>

namespace velcrum::platform {

// The text in double quotes, with \\ and \" for a backslash and a quote, and \xHH (two
// lower-case hex digits) for every byte outside 0x20 to 0x7e.
std::string QuotedText(std::string_view text);

}  // namespace velcrum::platform
