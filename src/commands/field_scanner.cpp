// The sscanf-like field reader.
#include "commands/field_scanner.h"

#include <algorithm>

namespace velcrum {
namespace {

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void FieldScanner::SkipSpace() {
  while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
}

std::optional<int32_t> FieldScanner::Integer(size_t width) {
  SkipSpace();
  const size_t end = width == 0 ? text_.size() : std::min(text_.size(), pos_ + width);
  size_t pos = pos_;
  bool negative = false;
  if (pos < end && (text_[pos] == '+' || text_[pos] == '-')) {
    negative = text_[pos] == '-';
    ++pos;
  }
  if (pos >= end || !IsDigit(text_[pos])) return std::nullopt;
  constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
  int64_t value = 0;
  for (; pos < end && IsDigit(text_[pos]); ++pos) {
    value = std::min(kLimit, value * 10 + (text_[pos] - '0'));
  }
  pos_ = pos;
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

std::optional<std::string_view> FieldScanner::Word() {
  SkipSpace();
  const size_t start = pos_;
  while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
  if (pos_ == start) return std::nullopt;
  return text_.substr(start, pos_ - start);
}

bool FieldScanner::Literal(char c) {
  if (pos_ >= text_.size() || text_[pos_] != c) return false;
  ++pos_;
  return true;
}

}  // namespace velcrum
