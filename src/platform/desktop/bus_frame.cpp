// Encoding and checking the frames of the desktop bus.
#include "platform/desktop/bus_frame.h"

namespace velcrum::platform {
namespace {

// Header offsets; see docs/DESKTOP-BUS.md.
constexpr size_t kMagicAt = 0;
constexpr size_t kKindAt = 4;
constexpr size_t kPayloadKindAt = 5;
constexpr size_t kReservedAt = 6;  // 16 bits, always 0
constexpr size_t kCallIdAt = 8;
constexpr size_t kTargetAt = 12;  // the receiving window, or a reply's status
constexpr size_t kMessageAt = 16;
constexpr size_t kWParamAt = 20;
constexpr size_t kLParamAt = 24;  // a reply's result
constexpr size_t kDwDataAt = 28;
constexpr size_t kSpareAt = 32;  // 32 bits, always 0
constexpr size_t kLengthAt = 36;

void Put32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t Get32(std::string_view in, size_t at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= uint32_t{static_cast<unsigned char>(in[at + i])} << (8 * i);
  return value;
}

std::optional<Frame> Refuse(std::string* why, const char* reason) {
  if (why) *why = reason;
  return std::nullopt;
}

}  // namespace

std::string EncodeFrame(const Frame& frame) {
  const Message& m = frame.message;
  const bool carriesData = m.payload != Payload::kNone && frame.kind != FrameKind::kReply;
  const size_t length = carriesData ? m.data.size() : 0;
  std::string out(kFrameHeaderBytes + length, '\0');
  Put32(out, kMagicAt, kFrameMagic);
  out[kKindAt] = static_cast<char>(frame.kind);
  out[kPayloadKindAt] = static_cast<char>(carriesData ? m.payload : Payload::kNone);
  Put32(out, kCallIdAt, frame.callId);
  Put32(out, kTargetAt,
        frame.kind == FrameKind::kReply ? static_cast<uint32_t>(frame.status) : frame.target);
  Put32(out, kMessageAt, m.message);
  Put32(out, kWParamAt, m.wParam);
  Put32(out, kLParamAt, static_cast<uint32_t>(m.lParam));
  Put32(out, kDwDataAt, carriesData && m.payload == Payload::kCopyData ? m.dwData : 0);
  Put32(out, kLengthAt, static_cast<uint32_t>(length));
  if (length) out.replace(kFrameHeaderBytes, length, m.data);
  return out;
}

std::optional<size_t> FrameSize(std::string_view header, std::string* why) {
  auto refuse = [why](const char* reason) -> std::optional<size_t> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (header.size() < kFrameHeaderBytes) return refuse("shorter than a frame header");
  if (Get32(header, kMagicAt) != kFrameMagic) return refuse("not a desktop-bus frame");
  const auto kind = static_cast<uint8_t>(header[kKindAt]);
  if (kind < 1 || kind > 4) return refuse("unknown frame kind");
  if (static_cast<uint8_t>(header[kPayloadKindAt]) > 2) return refuse("unknown payload kind");
  if (header[kReservedAt] != 0 || header[kReservedAt + 1] != 0 || Get32(header, kSpareAt) != 0) {
    return refuse("reserved header fields are not zero");
  }
  const uint32_t length = Get32(header, kLengthAt);
  if (length > kMaxPayloadBytes) return refuse("payload longer than allowed");
  return kFrameHeaderBytes + length;
}

std::optional<Frame> DecodeFrame(std::string_view packet, std::string* why) {
  const std::optional<size_t> size = FrameSize(packet, why);
  if (!size) return std::nullopt;
  if (packet.size() != *size) {
    return Refuse(why, "payload length does not match the frame (truncated?)");
  }
  const auto kind = static_cast<uint8_t>(packet[kKindAt]);
  const auto payloadKind = static_cast<uint8_t>(packet[kPayloadKindAt]);
  const uint32_t length = Get32(packet, kLengthAt);

  Frame frame;
  frame.kind = static_cast<FrameKind>(kind);
  frame.callId = Get32(packet, kCallIdAt);
  Message& m = frame.message;
  m.payload = static_cast<Payload>(payloadKind);
  m.message = Get32(packet, kMessageAt);
  m.wParam = Get32(packet, kWParamAt);
  m.lParam = static_cast<int32_t>(Get32(packet, kLParamAt));
  m.dwData = Get32(packet, kDwDataAt);
  if (m.payload == Payload::kNone && length != 0) return Refuse(why, "data without a payload kind");
  if (m.payload != Payload::kCopyData && m.dwData != 0)
    return Refuse(why, "dwData without copy data");
  m.data.assign(packet.substr(kFrameHeaderBytes));

  const uint32_t target = Get32(packet, kTargetAt);
  switch (frame.kind) {
    case FrameKind::kSend:
    case FrameKind::kPost:
      if (target == kNoWindow || target > kHighestHandle)
        return Refuse(why, "no valid target window");
      frame.target = target;
      break;
    case FrameKind::kReply:
      if (m.payload != Payload::kNone) return Refuse(why, "a reply carries no data");
      if (target > static_cast<uint32_t>(ReplyStatus::kNoWindow)) {
        return Refuse(why, "unknown reply status");
      }
      frame.status = static_cast<ReplyStatus>(target);
      break;
    case FrameKind::kMonitor:
      break;
  }
  return frame;
}

}  // namespace velcrum::platform
