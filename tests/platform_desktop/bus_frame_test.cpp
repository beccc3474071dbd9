// Frames of the desktop bus: what is encoded comes back whole; what is malformed is refused.
#include "platform/desktop/bus_frame.h"

#include <gtest/gtest.h>

#include <string>

namespace velcrum::platform {
namespace {

TEST(BusFrameTest, FramesSurviveEncodingAndDecoding) {
  Frame send;
  send.kind = FrameKind::kSend;
  send.callId = 7;
  send.target = 0x002a;
  send.message =
      Message::CopyData(0x0013, 0x0ba80012, std::string(513, '\0').replace(0, 5, "hello"));
  Frame post;
  post.kind = FrameKind::kPost;
  post.target = kHighestHandle;
  post.message = Message::Text(2085, 1, "param");
  post.message.lParam = -1;
  Frame reply;
  reply.kind = FrameKind::kReply;
  reply.callId = 0xFFFFFFFF;
  reply.status = ReplyStatus::kNoWindow;
  reply.message.lParam = static_cast<int32_t>(0xF1D3B597u);
  Frame monitor;
  monitor.kind = FrameKind::kMonitor;

  for (const Frame& frame : {send, post, reply, monitor}) {
    std::string why;
    const std::optional<Frame> back = DecodeFrame(EncodeFrame(frame), &why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->kind, frame.kind);
    EXPECT_EQ(back->callId, frame.callId);
    EXPECT_EQ(back->target, frame.target);
    EXPECT_EQ(back->status, frame.status);
    EXPECT_EQ(back->message.message, frame.message.message);
    EXPECT_EQ(back->message.wParam, frame.message.wParam);
    EXPECT_EQ(back->message.lParam, frame.message.lParam);
    EXPECT_EQ(back->message.payload, frame.message.payload);
    EXPECT_EQ(back->message.dwData, frame.message.dwData);
    EXPECT_EQ(back->message.data, frame.message.data);
  }
  EXPECT_EQ(EncodeFrame(send).size(), kFrameHeaderBytes + 513);
}

// A valid post frame to start from, and ways to spoil it.
std::string ValidPost() {
  Frame frame;
  frame.kind = FrameKind::kPost;
  frame.target = 5;
  frame.message = Message::Text(2085, 0, "abc");
  return EncodeFrame(frame);
}

std::string Poke(std::string packet, size_t at, char value) {
  packet[at] = value;
  return packet;
}

TEST(BusFrameTest, MalformedPacketsAreRefusedWithAReason) {
  Frame reply;
  reply.kind = FrameKind::kReply;
  std::string replyWithData = EncodeFrame(reply);
  replyWithData[5] = 2;   // payload kind text
  replyWithData[36] = 1;  // one byte of data
  replyWithData += 'x';
  std::string noPayloadKind = ValidPost();
  noPayloadKind[5] = 0;
  std::string dwDataOnText = ValidPost();
  dwDataOnText[28] = 1;
  std::string tooLong = ValidPost();
  tooLong[36] = 0;
  tooLong[37] = 0;
  tooLong[38] = 2;  // 0x20000 bytes claimed

  const struct {
    const char* name;
    std::string packet;
  } cases[] = {
      {"empty", ""},
      {"short header", ValidPost().substr(0, kFrameHeaderBytes - 1)},
      {"bad magic", Poke(ValidPost(), 0, 'X')},
      {"kind 0", Poke(ValidPost(), 4, 0)},
      {"kind 5", Poke(ValidPost(), 4, 5)},
      {"payload kind 3", Poke(ValidPost(), 5, 3)},
      {"reserved", Poke(ValidPost(), 6, 1)},
      {"spare", Poke(ValidPost(), 32, 1)},
      {"truncated payload", ValidPost().substr(0, ValidPost().size() - 1)},
      {"extra bytes", ValidPost() + "z"},
      {"payload over the limit", tooLong},
      {"data without payload kind", noPayloadKind},
      {"dwData without copy data", dwDataOnText},
      {"target 0", Poke(ValidPost(), 12, 0)},
      {"target broadcast", Poke(Poke(ValidPost(), 12, '\xff'), 13, '\xff')},
      {"reply with data", replyWithData},
      {"reply status 2", Poke(EncodeFrame(reply), 12, 2)},
  };
  for (const auto& c : cases) {
    std::string why;
    EXPECT_FALSE(DecodeFrame(c.packet, &why)) << c.name;
    EXPECT_FALSE(why.empty()) << c.name;
  }
}

}  // namespace
}  // namespace velcrum::platform
