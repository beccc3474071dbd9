// printf-style formatting into a std::string.
#include "interpreter/format.h"

#include <cstdarg>
#include <cstdio>

namespace velcrum {

std::string Format(const char* format, ...) {
  char small[512];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  std::string result;
  if (length < 0) {
    va_end(again);
    return result;
  }
  if (static_cast<size_t>(length) < sizeof small) {
    result.assign(small, static_cast<size_t>(length));
  } else {
    result.resize(static_cast<size_t>(length));
    std::vsnprintf(result.data(), result.size() + 1, format, again);
  }
  va_end(again);
  return result;
}

}  // namespace velcrum
