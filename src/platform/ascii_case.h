// Names compared without regard to case, as Windows compares file names, INI sections and
// keys, and window titles: the ASCII letters fold, every other byte stands for itself.
#pragma once

#include <cstddef>
#include <string_view>

namespace velcrum {

inline char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace velcrum
