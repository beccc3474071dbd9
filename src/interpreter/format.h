// printf-style formatting into a std::string, for the program's own fixed formats.
//
// Only literal formats written in this program may be passed here; a format that comes
// from a script goes through the script formatter instead.
#pragma once

#include <string>

namespace velcrum {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace velcrum
