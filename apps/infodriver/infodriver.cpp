// The infodriver stand-in's driver.
#include "infodriver.h"

#include <algorithm>

#include "command_words.h"
#include "message_log.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "platform/ascii_case.h"
#include "platform/desktop/desktop.h"

namespace velcrum::infodriver {
namespace {

using platform::Hwnd;
using platform::Message;
using platform::Result;

// The addition bit of a framed connect's device number.
constexpr int32_t kAdditionBit = 0x8000;

// A line of the operator's commands: its first word and the rest after one blank.
std::pair<std::string_view, std::string_view> SplitFirst(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  const size_t blank = line.find_first_of(" \t");
  if (blank == std::string_view::npos) return {line, {}};
  return {line.substr(0, blank), line.substr(blank + 1)};
}

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::string DriverTitle(int device) {
  return "INFODRIVER " + std::to_string(device);
}

Driver::Driver(const Settings& settings, FILE* log)
    : settings_(settings), log_(log), slots_(static_cast<size_t>(settings.slotCount) + 1) {}

void Driver::Log(std::string_view prefix, const Message& m) {
  if (!log_) return;
  const std::string line = std::string(prefix) + MessageLogLine(m);
  std::fprintf(log_, "%s\n", line.c_str());
  std::fflush(log_);
}

std::optional<Result> Driver::SendLogged(Hwnd to, const Message& m) {
  Log("> ", m);
  return platform::Send(to, m);
}

Result Driver::Handle(const Message& m) {
  Log("", m);
  switch (m.message) {
    case platform::WM_CLOSE:
      platform::PostQuit(0);
      return 0;
    case platform::WM_COPYDATA:
      OnFrame(m);
      return 1;
    case KAL_DRIVER_CONNECT:
      // The broadcast of a panel looking for this device's driver: answered at once, while
      // the broadcast is still in progress.
      if (m.payload == platform::Payload::kNone && m.lParam == settings_.device &&
          m.wParam != platform::kNoWindow) {
        SendLogged(m.wParam, Message::Plain(KAL_DRIVER_HANDLE, own_, 0));
      }
      return 0;
    case KAL_DRIVER_DISCONNECT:
      // The message names the device, not the panel that sends it: the device's
      // connections end, and panels that still want its revertives connect again.
      if (m.lParam == settings_.device) panels_.clear();
      return 0;
    case KAL_IDGETTXRXMODE:
      return settings_.mode;
    case kMsgOperatorCommand: {
      if (m.payload != platform::Payload::kText) return 0;
      const Hwnd answerTo = m.wParam;
      const bool done = RunOperatorCommand(m.data, [&](std::string_view line) {
        if (answerTo != platform::kNoWindow) {
          SendLogged(answerTo, Message::Text(kMsgOperatorAnswer, 0, line));
        }
      });
      return done ? 1 : 0;
    }
    default:
      return 0;
  }
}

void Driver::OnFrame(const Message& m) {
  const uint32_t message = FrameMessage(m.dwData);
  const uint32_t wParam = FrameWParam(m.dwData);
  const Hwnd sender = m.wParam;
  if (message == KAL_REPLY) return;

  Result result = 0;
  std::string reply;
  if (IsNumericFrame(m.data.size())) {
    const int32_t value = ReadNumericFrame(m.data);
    switch (message) {
      case KAL_DRIVER_CONNECT:
        result = Connect(sender, value);
        break;
      case KAL_DRIVER_XPOINT:
        crosspoints_[static_cast<int>(wParam)] = Crosspoint{value, {}, std::nullopt};
        result = 1;
        break;
      case KAL_DRIVER_IOLINE:
        ioLines_[static_cast<int>(wParam)] = value;
        result = 1;
        break;
      default:
        break;
    }
    reply = NumericFrame(value);
  } else {
    reply = m.data;
    reply.resize(kTextFrameBytes, '\0');
    const std::string text(FrameText(reply));
    switch (message) {
      case KAL_DRIVER_WRITE:
        result = WriteSlot(static_cast<int>(wParam), text) ? 1 : 0;
        break;
      case KAL_DRIVER_READ: {
        const int index = static_cast<int>(wParam);
        result = IsSlot(index) ? 1 : 0;
        reply = TextFrame(IsSlot(index) ? slots_[static_cast<size_t>(index)] : std::string());
        break;
      }
      case KAL_DRIVER_CMD:
        result = RunPanelCommand(sender, text);
        break;
      default:
        break;
    }
  }
  SendLogged(sender, Message::CopyData(
                         own_, PackFrameData(KAL_REPLY, static_cast<uint32_t>(result)), reply));
}

Result Driver::Connect(Hwnd panel, int32_t value) {
  if ((value & ~kAdditionBit) != settings_.device || panel == platform::kNoWindow) return 0;
  if (std::find(panels_.begin(), panels_.end(), panel) == panels_.end()) panels_.push_back(panel);
  return 1;
}

Result Driver::RunPanelCommand(Hwnd sender, std::string_view text) {
  const std::vector<std::string> words = CommandWords(text);
  if (words.size() < 2 || WordNumber(words[1]) != settings_.device) return 0;
  const std::string mnemonic = UpperAsciiText(words[0]);
  auto number = [&](size_t n) { return n < words.size() ? WordNumber(words[n]) : std::nullopt; };

  if (mnemonic == "XW") {
    // XW device 'text' index [number]
    const std::optional<int> index = number(3);
    return words.size() >= 4 && index && WriteSlot(*index, words[2]) ? 1 : 0;
  }
  if (mnemonic == "XP") {
    // XP device first last workstation: the slots' revertives to the panel that asks.
    const std::optional<int> first = number(2);
    const std::optional<int> last = number(3);
    if (!first || !last || *first > *last) return 0;
    for (int index = std::max(*first, 1); index <= std::min(*last, settings_.slotCount); ++index) {
      SendRevertive(sender, index);
    }
    return 1;
  }
  if (mnemonic == "XC") {
    // XC device source destination ['tag'] [number]
    const std::optional<int> source = number(2);
    const std::optional<int> destination = number(3);
    if (!source || !destination) return 0;
    Crosspoint crosspoint{*source, {}, std::nullopt};
    size_t next = 4;
    if (next < words.size() && !WordNumber(words[next])) crosspoint.tag = words[next++];
    crosspoint.number = number(next);
    crosspoints_[*destination] = crosspoint;
    return 1;
  }
  if (mnemonic == "XS") {
    // XS device line state [number]
    const std::optional<int> line = number(2);
    const std::optional<int> state = number(3);
    if (!line || !state) return 0;
    ioLines_[*line] = *state;
    return 1;
  }
  // Anything else (client commands a panel passes on) is only logged.
  return 0;
}

bool Driver::WriteSlot(int index, std::string_view text) {
  if (!IsSlot(index)) return false;
  slots_[static_cast<size_t>(index)] = std::string(text.substr(0, kMaxSlotText));
  // A copy: a panel that answers a revertive may connect or disconnect meanwhile.
  const std::vector<Hwnd> panels = panels_;
  for (const Hwnd panel : panels) SendRevertive(panel, index);
  return true;
}

void Driver::SendRevertive(Hwnd panel, int index) {
  const std::string text = std::to_string(index) + ',' + slots_[static_cast<size_t>(index)];
  const std::optional<Result> answer =
      SendLogged(panel, Message::CopyData(own_, PackFrameData(KAL_INFO_REVERTIVE, settings_.device),
                                          TextFrame(text)));
  // A panel that has gone away is no longer connected.
  if (!answer && !platform::IsWindow(panel)) {
    panels_.erase(std::remove(panels_.begin(), panels_.end(), panel), panels_.end());
  }
}

bool Driver::RunOperatorCommand(std::string_view line,
                                const std::function<void(std::string_view)>& answer) {
  const auto [command, rest] = SplitFirst(TrimEnd(line));
  if (command == "slot") {
    const auto [indexWord, text] = SplitFirst(rest);
    const std::optional<int> index = WordNumber(indexWord);
    if (!index || !IsSlot(*index)) {
      answer("error: slot index outside 1 to " + std::to_string(settings_.slotCount));
      return false;
    }
    WriteSlot(*index, text);
    answer("ok");
    return true;
  }
  if (command == "mode") {
    const std::optional<int> mode = WordNumber(TrimEnd(rest));
    if (mode != 1 && mode != 2) {
      answer("error: the mode is 1 or 2");
      return false;
    }
    settings_.mode = *mode;
    answer("ok");
    return true;
  }
  if (command == "show") {
    answer("device " + std::to_string(settings_.device) + " mode " +
           std::to_string(settings_.mode) + " slots " + std::to_string(settings_.slotCount));
    std::string panels = "panels";
    for (const Hwnd panel : panels_) panels += ' ' + std::to_string(panel);
    answer(panels);
    for (int index = 1; index <= settings_.slotCount; ++index) {
      const std::string& text = slots_[static_cast<size_t>(index)];
      if (!text.empty()) answer("slot " + std::to_string(index) + ' ' + text);
    }
    for (const auto& [destination, crosspoint] : crosspoints_) {
      std::string said = "xpoint " + std::to_string(destination) + ' ' +
                         std::to_string(crosspoint.source) + " '" + crosspoint.tag + "'";
      if (crosspoint.number) said += ' ' + std::to_string(*crosspoint.number);
      answer(said);
    }
    for (const auto& [ioLine, state] : ioLines_) {
      answer("ioline " + std::to_string(ioLine) + ' ' + std::to_string(state));
    }
    answer("ok");
    return true;
  }
  answer("error: unknown command '" + std::string(command) + "' (slot, mode, show)");
  return false;
}

}  // namespace velcrum::infodriver
