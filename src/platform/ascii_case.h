// Case without the locale: only the ASCII letters have a case, every other byte stands
// for itself. The commands change case so (the C library's mapping would follow the
// locale Qt sets from the environment), and names are compared so, as Windows compares
// file names, INI sections and keys, and window titles. The character classes the readers
// use are the ASCII ones for the same reason: a byte above 0x7F is never a letter, a digit
// or a space, whatever the locale says.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velcrum {

inline bool IsAsciiAlpha(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsAsciiAlnum(char c) {
  return IsAsciiAlpha(c) || IsAsciiDigit(c);
}
// As isspace in the "C" locale: blank, tab, line feed, vertical tab, form feed, return.
inline bool IsAsciiSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

inline char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string LowerAsciiText(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = LowerAscii(c);
  return lowered;
}

inline std::string UpperAsciiText(std::string_view text) {
  std::string uppered(text);
  for (char& c : uppered) c = UpperAscii(c);
  return uppered;
}

inline bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace velcrum
