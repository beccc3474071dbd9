// One line to standard error, written with a single write where the system allows it, so
// that the lines of several processes sharing the stream never interleave; a write cut
// short by a signal is carried on.
#pragma once

#include <string_view>

namespace velcrum::platform {

// `line` as it stands (the caller ends it with its line feed).
void WriteStandardErrorLine(std::string_view line);

}  // namespace velcrum::platform
