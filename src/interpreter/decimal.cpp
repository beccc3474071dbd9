// Decimal reading with 32-bit saturation.
#include "interpreter/decimal.h"

#include <limits>

namespace velcrum {
namespace {

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t ReadDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so that the most negative value fits.
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 - (text[i] - '0');
    if (value < kMin) {
      return negative ? static_cast<int32_t>(kMin) : static_cast<int32_t>(kMax);
    }
  }
  if (!negative) return value < -kMax ? static_cast<int32_t>(kMax) : static_cast<int32_t>(-value);
  return static_cast<int32_t>(value);
}

bool ContainsDigit(std::string_view text) {
  for (char c : text) {
    if (c >= '0' && c <= '9') return true;
  }
  return false;
}

}  // namespace velcrum
