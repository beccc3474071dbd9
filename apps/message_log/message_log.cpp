// The peer programs' log lines.
#include "message_log.h"

#include <string_view>

#include "network/net_frame.h"
#include "platform/quoted_text.h"

namespace velcrum {
namespace {

constexpr char kHex[] = "0123456789abcdef";

std::string Hex(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
  }
  return out;
}

std::string Line(uint32_t message, uint32_t wParam, int32_t value, std::string_view kind,
                 uint32_t from, size_t size, std::string_view data) {
  std::string line =
      std::to_string(message) + ' ' + std::to_string(wParam) + ' ' + std::to_string(value) + ' ';
  line += kind;
  line += ' ' + std::to_string(from) + ' ' + std::to_string(size) + ' ';
  line += data;
  return line;
}

}  // namespace

std::string MessageLogLine(const platform::Message& m) {
  switch (m.payload) {
    case platform::Payload::kCopyData: {
      const uint32_t message = FrameMessage(m.dwData);
      const uint32_t wParam = FrameWParam(m.dwData);
      if (IsNumericFrame(m.data.size())) {
        return Line(message, wParam, ReadNumericFrame(m.data), "num", m.wParam, m.data.size(),
                    Hex(m.data));
      }
      return Line(message, wParam, 0, "text", m.wParam, m.data.size(),
                  platform::QuotedText(FrameText(m.data)));
    }
    case platform::Payload::kText: {
      const std::string_view text(m.data);
      return Line(m.message, m.wParam, m.lParam, "string", 0, m.data.size(),
                  platform::QuotedText(text.substr(0, text.find('\0'))));
    }
    case platform::Payload::kNone:
    default:
      return Line(m.message, m.wParam, m.lParam, "plain", 0, 0, "-");
  }
}

}  // namespace velcrum
