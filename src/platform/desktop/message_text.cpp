// Describing messages in words.
#include "platform/desktop/message_text.h"

#include <cstdio>

namespace velcrum::platform {
namespace {

// Bytes of a payload shown in a description.
constexpr size_t kPreviewBytes = 64;

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*x", digits, value);
  return text;
}

std::string Preview(const std::string& bytes) {
  std::string shown = "\"";
  size_t end = bytes.size();
  // A fixed-size text frame is mostly NULs after its text; show the text.
  if (const size_t nul = bytes.find('\0'); nul != std::string::npos) end = nul;
  for (size_t i = 0; i < end && i < kPreviewBytes; ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      shown += '\\';
      shown += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else {
      shown += "\\x" + Hex(c, 2);
    }
  }
  shown += end > kPreviewBytes ? "...\"" : "\"";
  return shown;
}

}  // namespace

std::string MessageName(uint32_t message) {
  switch (message) {
    case WM_NULL:
      return "WM_NULL";
    case WM_CLOSE:
      return "WM_CLOSE";
    case WM_ACTIVATEAPP:
      return "WM_ACTIVATEAPP";
    case WM_COPYDATA:
      return "WM_COPYDATA";
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_CHAR:
      return "WM_CHAR";
    case WM_SYSKEYDOWN:
      return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
      return "WM_SYSKEYUP";
    case WM_SYSCHAR:
      return "WM_SYSCHAR";
    case WM_TIMER:
      return "WM_TIMER";
    case WM_MOUSEMOVE:
      return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN:
      return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
      return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK:
      return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN:
      return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP:
      return "WM_MBUTTONUP";
    default:
      return "message " + std::to_string(message);
  }
}

std::string DescribeMessage(const Message& message, pid_t sender) {
  std::string text = Hex(message.hwnd, 4) + " " + MessageName(message.message) +
                     " wParam=" + Hex(message.wParam, 8) +
                     " lParam=" + Hex(static_cast<uint32_t>(message.lParam), 8);
  if (message.payload == Payload::kCopyData) {
    text += " copydata dwData=" + Hex(message.dwData, 8) +
            " cb=" + std::to_string(message.data.size()) + " " + Preview(message.data);
  } else if (message.payload == Payload::kText) {
    text += " text " + Preview(message.data);
  }
  return text + " from " + std::to_string(sender);
}

std::string DescribeResult(const Message& message, Result result) {
  return Hex(message.hwnd, 4) + " " + MessageName(message.message) + " = " + std::to_string(result);
}

}  // namespace velcrum::platform
