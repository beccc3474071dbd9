// The network link: framed calls, framed receive, acceptance of network messages and the
// queue drain.
#include "network/net_link.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "network/device_events.h"
#include "network/driver_link.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "platform/desktop/desktop.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {

namespace {

// The last KAL_REPLY: its 16-bit result and its text, zero-padded and always terminated.
int32_t g_lReplyValue = 0;
std::array<char, kTextFrameBytes> g_szReplyText{};
// Whether a KAL_REPLY has come since the reply was last cleared.
bool g_bReplyReceived = false;
// The drain's running mark: a drain called from a line the drain runs returns at once.
bool g_bPumpRunning = false;
// Whether a drain request is posted to the main window and not yet taken.
bool g_bDrainRequested = false;

// The largest text a queued message keeps: the queue's payload of 1024 bytes holds it and
// its terminator.
constexpr size_t kMaxQueuedText = Cvorn_fifo::kMaxPayloadLimit - 1;

void StoreReplyText(std::string_view text) {
  g_szReplyText.fill('\0');
  const std::string_view kept = FrameText(text);
  std::copy(kept.begin(), kept.end(), g_szReplyText.begin());
}

// A framed call starts from no reply, so that one that gets none (the window gone, its
// process dead or hung) reports 0 and an empty text, never the previous call's reply.
void ClearReply() {
  g_lReplyValue = 0;
  g_szReplyText.fill('\0');
  g_bReplyReceived = false;
}

// Once per framed call that got no reply.
void SayIfUnanswered(Hwnd to, uint32_t message) {
  if (g_bReplyReceived) return;
  DebugOut(Format("<%s> : no reply from window %04x to message %u: 0 and an empty text\n",
                  g_instanceName.c_str(), to, message));
}

// The messages whose lParam is a text.
bool IsTextMessage(uint32_t message) {
  switch (message) {
    case KAL_DEVSTATUSMSG:
    case KAL_REVERTIVE_TEXT:
    case KAL_REVERTIVE_TEXT_2:
    case KAL_REVERTIVE_TEXT_3:
    case KAL_INFO_REVERTIVE:
    case KAL_PARSER_COMMAND:
      return true;
    default:
      return false;
  }
}

// The main window's answer to a network message; the senders rely on nothing more.
platform::Result AcceptAnswer(uint32_t message) {
  switch (message) {
    case KAL_REVERTIVE_TEXT:
    case KAL_REVERTIVE_TEXT_2:
    case KAL_REVERTIVE_TEXT_3:
    case KAL_SESSION_RESULT:
    case KAL_INFO_REVERTIVE:
    case KAL_PARSER_COMMAND:
      return 1;
    default:
      return 0;
  }
}

// Sends one frame. A KAL_REPLY is answered by the send itself; any other frame is a call,
// which starts from no reply and says so when none came.
std::optional<platform::Result> SendFrame(Hwnd from, Hwnd to, uint32_t message, uint32_t wParam,
                                          const std::string& frame) {
  const bool call = message != KAL_REPLY;
  if (call) ClearReply();
  const std::optional<platform::Result> result =
      platform::Send(to, platform::Message::CopyData(from, PackFrameData(message, wParam), frame));
  if (call) SayIfUnanswered(to, message);
  return result;
}

// Copies the reply text into a caller's buffer when length is not 0: at most min(length,
// 513) bytes, cut so that the copy is terminated within them, the rest zero.
void CopyReplyText(char* buffer, size_t length) {
  if (length == 0) return;
  const size_t room = std::min(length, kTextFrameBytes);
  const size_t kept = std::min(strnlen(g_szReplyText.data(), kMaxFrameText), room - 1);
  std::memcpy(buffer, g_szReplyText.data(), kept);
  std::memset(buffer + kept, 0, room - kept);
}

}  // namespace

int32_t VLNetSup_Send(Hwnd from, Hwnd to, uint32_t message, uint32_t wParam, int32_t value) {
  const std::optional<platform::Result> result =
      SendFrame(from, to, message, wParam, NumericFrame(value));
  return message == KAL_REPLY ? result.value_or(0) : g_lReplyValue;
}

int32_t VLNetSup_Send(Hwnd from, Hwnd to, uint32_t message, uint32_t wParam, char* text,
                      size_t length) {
  // The caller's buffer holds at least 513 bytes; only its text up to the first NUL goes out,
  // so whatever follows the terminator in the buffer never reaches the peer.
  const std::string frame =
      TextFrame(text ? std::string_view(text, strnlen(text, kTextFrameBytes)) : std::string_view());
  const std::optional<platform::Result> result = SendFrame(from, to, message, wParam, frame);
  if (message == KAL_REPLY) return result.value_or(0);
  if (text) CopyReplyText(text, length);
  return g_lReplyValue;
}

int32_t VLNetSup_SendBlock(Hwnd from, Hwnd to, uint32_t message, uint32_t wParam, char* block,
                           size_t length) {
  const std::string frame(block, kTextFrameBytes);
  const std::optional<platform::Result> result = SendFrame(from, to, message, wParam, frame);
  if (message == KAL_REPLY) return result.value_or(0);
  CopyReplyText(block, length);
  return g_lReplyValue;
}

int32_t SendNumberToNxi(uint32_t message, uint32_t wParam, int32_t value) {
  return VLNetSup_Send(g_hwndMain, g_hwndNxi, message, wParam, value);
}

int32_t SendTextToNxi(uint32_t message, uint32_t wParam, char* text, size_t length) {
  return VLNetSup_Send(g_hwndMain, g_hwndNxi, message, wParam, text, length);
}

int32_t SendBlockToNxi(uint32_t message, uint32_t wParam, char* block, size_t length) {
  return VLNetSup_SendBlock(g_hwndMain, g_hwndNxi, message, wParam, block, length);
}

void VLNetSup_OnCopyData(Hwnd self, Hwnd sender, const platform::Message& frame) {
  const uint32_t message = FrameMessage(frame.dwData);
  const uint32_t wParam = FrameWParam(frame.dwData);
  const bool numeric = IsNumericFrame(frame.data.size());

  if (message == KAL_REPLY) {
    g_bReplyReceived = true;
    g_lReplyValue = static_cast<int32_t>(wParam);
    if (!numeric) StoreReplyText(frame.data);
    return;
  }

  if (numeric) {
    const int32_t value = ReadNumericFrame(frame.data);
    const platform::Result result =
        platform::Send(self, platform::Message::Plain(message, wParam, value)).value_or(0);
    VLNetSup_Send(self, sender, KAL_REPLY, static_cast<uint32_t>(result) & 0xFFFFu, value);
    return;
  }

  // A text frame: delivered as the text message it carries, and its 513 bytes sent back as
  // they came (a short or over-long frame from a peer is brought to 513 bytes first).
  std::string bytes = frame.data;
  bytes.resize(kTextFrameBytes, '\0');
  const platform::Result result =
      platform::Send(self, platform::Message::Text(message, wParam, FrameText(bytes))).value_or(0);
  platform::Send(sender, platform::Message::CopyData(
                             self, PackFrameData(KAL_REPLY, static_cast<uint32_t>(result)), bytes));
}

bool VLNetSup_IsNetworkMessage(uint32_t message) {
  switch (message) {
    case KAL_DEVSTATUSMSG:
    case KAL_NETTXRXSTATUS:
    case KAL_DATABASE_MSG:
    case KAL_REQDEVGOTXRX:
    case KAL_DEVICEIDINUSE:
    case KAL_REVERTIVE_TEXT:
    case KAL_REVERTIVE_TEXT_2:
    case KAL_REVERTIVE_TEXT_3:
    case KAL_SESSION_RESULT:
    case KAL_INFO_REVERTIVE:
    case KAL_ROUTER_REVERTIVE:
    case KAL_GPI_REVERTIVE:
    case KAL_PARSER_COMMAND:
      return true;
    default:
      return false;
  }
}

namespace {

// Queued revertives must not wait for the drain timer while the panel is idle. A message
// that arrives while no line runs is drained at once, inside the sender's call, so that a
// sender in a burst waits for the panel instead of outrunning the queue. One that arrives
// while a line runs (inside a framed call of that line, say) stays queued, and a drain
// request is posted to the main window: the loop takes it as soon as the line is done,
// since a line waiting in a send never takes posted messages.
void DrainNowOrLater() {
  if (g_iRunDepth == 0 && !g_bPumpRunning) {
    VLNetSup_Pump();
    return;
  }
  if (g_bDrainRequested || g_hwndMain == 0) return;
  g_bDrainRequested = platform::Post(g_hwndMain, platform::Message::Plain(kMsgDrainQueues));
}

}  // namespace

platform::Result VLNetSup_Accept(const platform::Message& message) {
  const uint32_t number = message.message;
  if (IsTextMessage(number)) {
    // A text message that arrives without its text (posted plainly by a peer) has an empty
    // one: its lParam is a number here, never something to read a text from.
    std::string text;
    if (message.payload == platform::Payload::kText) {
      const std::string_view data(message.data);
      text = data.substr(0, std::min(data.find('\0'), kMaxQueuedText));
    }
    if (g_networkSettings.synchronousMode != 0 && g_pRevFifo) {
      if (g_pRevFifo->PutData(0, number, message.wParam, 0, 0, text.c_str(),
                              static_cast<int>(text.size() + 1))) {
        DrainNowOrLater();
      }
    } else {
      VLNetSup_Dispatch(0, number, message.wParam, 0, text.c_str());
    }
  } else if (g_networkSettings.synchronousMode != 0 && g_pRevFifo) {
    if (g_pRevFifo->Put(0, number, message.wParam, 0, message.lParam)) DrainNowOrLater();
  } else {
    VLNetSup_Dispatch(0, number, message.wParam, message.lParam, nullptr);
  }
  return AcceptAnswer(number);
}

void VLNetSup_Dispatch(uint32_t /*window*/, uint32_t message, uint32_t wParam, int32_t lParam,
                       const char* text) {
  switch (message) {
    case KAL_NETTXRXSTATUS:
      OnNetworkStatus(wParam, lParam);
      return;
    case KAL_DATABASE_MSG:
      OnDatabaseNotification(wParam, lParam);
      return;
    case KAL_REQDEVGOTXRX:
    case KAL_DEVICEIDINUSE:
      OnRedundancy(message, lParam);
      return;
    case KAL_DEVSTATUSMSG:
      OnDeviceStatusAnswer(text);
      return;
    case KAL_REVERTIVE_TEXT:
    case KAL_REVERTIVE_TEXT_2:
    case KAL_REVERTIVE_TEXT_3:
      if (text) VLRouSup_Revertive(text);
      return;
    case KAL_SESSION_RESULT:
      OnSessionResult(wParam, lParam);
      return;
    case KAL_INFO_REVERTIVE:
      OnInfoRevertive(wParam, text);
      return;
    case KAL_ROUTER_REVERTIVE:
      OnRouterRevertive(wParam, lParam);
      return;
    case KAL_GPI_REVERTIVE:
      OnGpiRevertive(wParam, lParam);
      return;
    case KAL_PARSER_COMMAND:
      VLDxSup_OnParserCommand(text);
      return;
    default:
      return;
  }
}

void VLNetSup_Pump() {
  if (g_bPumpRunning || !bStartUpDone || g_bClosingDown) return;
  g_bPumpRunning = true;

  // The queues are looked up again for every entry: a line may end the program meanwhile.
  FifoEntry entry;
  while (g_pCmdFifo && g_pCmdFifo->Get(entry)) {
    const auto controlId = static_cast<int32_t>(entry.wParam);
    if (controlId > 0) {
      TimeStamp("13e1 - running controlId");
      RunLine(controlId, 0);
    }
  }
  while (g_pRevFifo && g_pRevFifo->Get(entry)) {
    // A text payload is read as a NUL-terminated text of at most 1023 characters, whatever
    // the bytes stored.
    std::string text;
    const bool hasText = !entry.payload.empty();
    if (hasText) {
      const std::string_view data(entry.payload.data(), entry.payload.size());
      text = data.substr(0, std::min(data.find('\0'), kMaxQueuedText));
    }
    VLNetSup_Dispatch(entry.window, entry.message, entry.wParam, entry.lParam,
                      hasText ? text.c_str() : nullptr);
  }

  g_bPumpRunning = false;
}

void VLNetSup_OnDrainRequest() {
  g_bDrainRequested = false;
  VLNetSup_Pump();
}

int32_t VLNetSup_ReplyValue() {
  return g_lReplyValue;
}

const char* VLNetSup_ReplyText() {
  return g_szReplyText.data();
}

void ResetNetLink() {
  ClearReply();
  g_bPumpRunning = false;
  g_bDrainRequested = false;
}

}  // namespace velcrum
