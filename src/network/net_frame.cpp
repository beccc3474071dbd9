// The tunnel's frame codec.
#include "network/net_frame.h"

#include <algorithm>

namespace velcrum {

std::string NumericFrame(int32_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string frame(kNumericFrameBytes, '\0');
  uint32_t bits = static_cast<uint32_t>(value);
  for (int i = 7; i >= 0; --i) {
    frame[static_cast<size_t>(i)] = kDigits[bits & 0xFu];
    bits >>= 4;
  }
  return frame;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

int32_t ReadNumericFrame(std::string_view bytes) {
  size_t at = 0;
  while (at < bytes.size() && IsSpace(bytes[at])) ++at;
  uint32_t value = 0;
  for (int digits = 0; digits < 8 && at < bytes.size(); ++digits, ++at) {
    const int digit = HexDigit(bytes[at]);
    if (digit < 0) break;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(value);
}

std::string TextFrame(std::string_view text) {
  const std::string_view kept = FrameText(text);
  std::string frame(kTextFrameBytes, '\0');
  std::copy(kept.begin(), kept.end(), frame.begin());
  return frame;
}

std::string_view FrameText(std::string_view bytes) {
  const std::string_view window = bytes.substr(0, kMaxFrameText);
  const size_t end = window.find('\0');
  return end == std::string_view::npos ? window : window.substr(0, end);
}

void PutInt16Field(char* block, int field, uint16_t value) {
  block[2 * field] = static_cast<char>(value & 0xFFu);
  block[2 * field + 1] = static_cast<char>(value >> 8);
}

uint16_t Int16Field(std::string_view block, int field) {
  const size_t at = 2 * static_cast<size_t>(field);
  if (block.size() < at + 2) return 0;
  return static_cast<uint16_t>(static_cast<uint8_t>(block[at]) |
                               (static_cast<uint8_t>(block[at + 1]) << 8));
}

}  // namespace velcrum
