// The frames of the desktop bus: how a message travels between two processes.
//
// Frames follow each other on a SOCK_STREAM connection: a 40-byte header in little-endian
// order, then the payload bytes, whose number the header gives. docs/DESKTOP-BUS.md
// describes the layout. Decoding checks every field: a header that cannot be trusted says
// so (the stream cannot be followed past it), a frame with a sound header but wrong
// contents can be skipped on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop/message.h"

namespace velcrum::platform {

enum class FrameKind : uint8_t {
  kSend = 1,     // a message to dispatch now; answered by a kReply with the same call id
  kPost = 2,     // a message to queue; never answered
  kReply = 3,    // the answer to a kSend
  kMonitor = 4,  // a debug monitor has attached to the desktop; look for it
};

// The status of a reply.
enum class ReplyStatus : uint32_t {
  kAnswered = 0,  // the window procedure ran; the result is in message.lParam
  kNoWindow = 1,  // the receiving process has no window with that handle
};

struct Frame {
  FrameKind kind = FrameKind::kPost;
  uint32_t callId = 0;                          // kSend and kReply: pairs a reply with its call
  Hwnd target = 0;                              // kSend and kPost: the receiving window
  ReplyStatus status = ReplyStatus::kAnswered;  // kReply only
  Message message;                              // kReply: message.lParam holds the result
};

inline constexpr uint32_t kFrameMagic = 0x31424456;  // "VDB1" read as little-endian bytes
inline constexpr size_t kFrameHeaderBytes = 40;
inline constexpr size_t kMaxFrameBytes = kFrameHeaderBytes + kMaxPayloadBytes;

// The packet for a frame. The payload must not exceed kMaxPayloadBytes.
std::string EncodeFrame(const Frame& frame);

// The size of the whole frame a header announces, or nothing (with the reason in *why)
// when the header is not one: then nothing after it on the stream can be trusted.
std::optional<size_t> FrameSize(std::string_view header, std::string* why);

// The frame in exactly the bytes of one frame, or nothing with the reason in *why.
std::optional<Frame> DecodeFrame(std::string_view bytes, std::string* why);

}  // namespace velcrum::platform
