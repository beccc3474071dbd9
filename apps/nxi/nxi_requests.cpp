// Answering the messages that reach nxi's window.
#include "nxi_requests.h"

#include <cstdlib>

#include "command_fields.h"
#include "do_carrier.h"
#include "file_session.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "platform/ascii_case.h"
#include "platform/desktop/desktop.h"

namespace velcrum::nxi {

platform::Result Requests::Handle(const platform::Message& m) {
  // nxi's own timer is not a message from the desktop and stays out of the log.
  if (m.message == platform::WM_TIMER) {
    DropVanishedPanels();
    return 0;
  }
  outbox_.LogReceived(m);
  switch (m.message) {
    case platform::WM_CLOSE:
      platform::PostQuit(0);
      return 0;
    case platform::WM_COPYDATA:
      OnFrame(m);
      return 1;
    case KAL_CLIENT_HELLO:
      if (!findOnly_ && m.payload == platform::Payload::kNone && m.lParam == kClientHelloDiscover) {
        panels_.Know(m.wParam);
        Announce(m.wParam);
      }
      return 0;
    case KAL_NXI_FIND:
      panels_.Know(m.wParam);
      Announce(m.wParam);
      return 0;
    case KAL_NETMSG_REGISTER:
      panels_.Subscribe(m.wParam, true);
      return 0;
    case KAL_NETMSG_UNREGISTER:
      panels_.Subscribe(m.wParam, false);
      return 0;
    case kMsgNxiDo:
      if (m.payload != platform::Payload::kText) return 0;
      OnDo(m);
      return 1;
    case KAL_NETMSG_QUERY:
    default:
      return 0;
  }
}

void Requests::DropVanishedPanels() {
  for (const PanelWindow window : panels_.All()) {
    if (!platform::IsWindow(window)) panels_.Drop(window);
  }
}

// The discovery answer, sent while the broadcast is still in progress.
void Requests::Announce(platform::Hwnd client) {
  if (client != platform::kNoWindow) {
    outbox_.Send(client, platform::Message::Plain(KAL_NXI_HANDLE, outbox_.Own(), 0));
  }
}

void Requests::OnDo(const platform::Message& m) {
  OperatorAnswer answer = operator_.Run(m.data);
  if (answer.text.size() > platform::kMaxPayloadBytes) {
    answer.text.resize(platform::kMaxPayloadBytes);
  }
  outbox_.Send(m.wParam,
               platform::Message::CopyData(
                   outbox_.Own(), PackFrameData(kMsgNxiDo, answer.ok ? 1 : 0), answer.text));
}

// Every frame but a reply is answered with a reply frame: its answer, or its own value or
// bytes. What the request causes (revertives, notifications, results) follows the reply.
void Requests::OnFrame(const platform::Message& m) {
  const uint32_t message = FrameMessage(m.dwData);
  if (message == KAL_REPLY) return;
  const bool numeric = IsNumericFrame(m.data.size());
  std::string bytes = m.data;
  if (!numeric) bytes.resize(kTextFrameBytes, '\0');
  const Answer answer = OnRequest(message, FrameWParam(m.dwData), m.wParam, bytes, numeric);

  std::string reply;
  if (numeric) {
    reply = NumericFrame(answer.number.value_or(ReadNumericFrame(bytes)));
  } else {
    reply = answer.text ? TextFrame(*answer.text) : bytes;
  }
  outbox_.Send(m.wParam, platform::Message::CopyData(
                             outbox_.Own(),
                             PackFrameData(KAL_REPLY, static_cast<uint32_t>(answer.value)), reply));

  // Work queued by requests that arrive meanwhile runs with those requests.
  std::vector<std::function<void()>> work = std::move(later_);
  later_.clear();
  for (const std::function<void()>& step : work) step();
}

Requests::Answer Requests::OnRequest(uint32_t message, uint32_t wParam, platform::Hwnd sender,
                                     const std::string& bytes, bool numeric) {
  const std::string text(FrameText(bytes));
  const PanelWindow panel = wParam != 0 ? wParam : sender;
  switch (message) {
    case KAL_CLIENT_HELLO:
      if (numeric && ReadNumericFrame(bytes) == kClientHelloLeave) panels_.Drop(sender);
      return {};
    case KAL_REGISTER_REV:
    case KAL_UNREGISTER_RANGE: {
      if (numeric) return {};
      const uint16_t device = Int16Field(bytes, 0);
      const int number = device & 0x7FFF;
      const int first = Int16Field(bytes, 1);
      const int last = Int16Field(bytes, 2);
      if (message == KAL_REGISTER_REV) {
        panels_.Register(panel, number, first, last, (device & 0x8000) != 0);
      } else {
        panels_.UnregisterRange(panel, number, first, last);
      }
      return {1};
    }
    case KAL_UNREGISTER_DEV:
      if (!numeric) return {};
      panels_.UnregisterDevice(panel, ReadNumericFrame(bytes));
      return {1};
    case KAL_ROUTER_CMD:
    case KAL_GPI_CMD:
    case KAL_INFO_CMD:
      return numeric ? Answer{} : OnCommandText(sender, text);
    case KAL_DB_CMD:
    case KAL_DB_UPDATE:
    case KAL_DB_GET:
    case KAL_DB_INDEX:
      return numeric ? Answer{} : OnDatabaseText(message, text);
    case KAL_GET_NAME: {
      // A device the plant does not have has no answer: the request comes back as it is.
      const Device* device = plant_.Find(Int16Field(bytes, 0));
      if (!device) return {};
      const std::string name = device->Name(Int16Field(bytes, 1), Int16Field(bytes, 2));
      return {name.empty() ? 0 : 1, name};
    }
    case KAL_NAME_TO_INDEX: {
      const Device* device = plant_.Find(static_cast<int>(wParam & 0x7FFF));
      return {device ? device->IndexOf((wParam & 0x8000) ? 1 : 0, text) : 0};
    }
    case KAL_NAME_TO_INDEX_DB: {
      const Device* device = plant_.Find(Int16Field(bytes, 0));
      const std::string name(FrameText(std::string_view(bytes).substr(8)));
      return {device ? device->IndexOf(Int16Field(bytes, 1), name) : 0};
    }
    case KAL_DATABASE_QUERY: {
      const Device* device = plant_.Find(static_cast<int>(wParam));
      const int changes = device ? device->databaseChanges & 0xFFFF : 0;
      return {changes, std::nullopt, changes};
    }
    case KAL_DEVICE_INFO: {
      const Device* device = plant_.Find(static_cast<int>(wParam));
      if (!device) return {};
      return {1, device->InformationRecord()};
    }
    case KAL_DEVSTATUS_REQUEST:
      return numeric ? Answer{} : OnStatusRequest(text);
    case KAL_DC_CMD:
    case KAL_DR_CMD:
      return Remember(static_cast<int>(wParam), text);
    case KAL_DD_CMD:
      return Remember(static_cast<int>(wParam), "DD " + std::to_string(wParam));
    case KAL_DW_CMD: {
      if (numeric) return {};
      // Device and length are stored most significant byte first; the text follows.
      const auto byte = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
      const int device = byte(0) << 8 | byte(1);
      const size_t length = static_cast<size_t>(byte(2) << 8 | byte(3));
      const std::string_view data = std::string_view(bytes).substr(4, length > 0 ? length - 1 : 0);
      return Remember(device, "DW '" + std::string(data.substr(0, data.find('\0'))) + "'");
    }
    case KAL_QF:
    case KAL_WD_WE:
    case KAL_WF:
      // Acknowledged; the log shows the sub-code and the value.
      return {numeric ? 1 : 0};
    case KAL_WT:
      // The reply value echoes the number's low 16 bits (WT's second parameter), so that a
      // panel sees its request arrive; the reply frame carries the whole number back.
      return numeric ? Answer{ReadNumericFrame(bytes) & 0xFFFF} : Answer{};
    default:  // SM texts: logged and answered with themselves
      return {};
  }
}

Requests::Answer Requests::OnCommandText(platform::Hwnd sender, const std::string& text) {
  const std::vector<CommandField> fields = CommandFields(text);
  if (fields.empty()) return {};
  const std::string code = UpperAsciiText(fields[0].text);
  const int number = static_cast<int>(FieldNumber(fields, 1));
  const auto f = [&fields](size_t i) { return static_cast<int>(FieldNumber(fields, i)); };
  Device* device = plant_.Find(number);
  if (device && device->served) {
    Later([this, number, sender, text] { notifications_.ToServers(number, sender, text); });
    return {1};
  }
  if (code == "ID" || code == "IG" || code == "IS") return OnFileSession(text);
  if (!device || code.size() != 2) return {};
  const char kinds[] = {'R', 'G', 'I'};
  if (code[0] != kinds[static_cast<int>(device->kind)]) return {};
  const char action = code[1];

  const auto revertiveLater = [this, device](int index) {
    Later([this, device, index] { notifications_.ToRegistered(*device, index); });
  };
  const auto result = [](Change change) { return Answer{change == Change::kDone ? 1 : 0}; };

  if (code == "RC") {
    const Change change = plant_.Route(number, f(2), f(3), f(5));
    if (change == Change::kDone) revertiveLater(f(2));
    return result(change);
  }
  if (code == "GS") {
    const Change change = plant_.SetGpi(number, f(2), f(3), f(4));
    if (change == Change::kDone) revertiveLater(f(2));
    return result(change);
  }
  if (code == "IW") {
    const Change change = plant_.WriteSlot(number, f(3), FieldText(fields, 2), f(4));
    if (change == Change::kDone) revertiveLater(f(3));
    return result(change);
  }
  if (action == 'L') return result(plant_.Lock(number, f(2), f(3), f(4) != 0, f(5)));
  if (action == 'P' || action == 'Q') {
    // A poll refreshes every panel registered; a query answers the asking panel alone.
    const PanelWindow to = action == 'P' ? 0 : sender;
    const int first = f(2);
    const int last = f(3);
    Later([this, device, first, last, to] { notifications_.Revertives(*device, first, last, to); });
    return {1};
  }
  if (code == "RF" || code == "GF") {
    Later([this, device, sender] { notifications_.Revertives(*device, 0, 0, sender); });
    return {1};
  }
  if (code == "IH" || code == "IF") {
    // IH dev 'text' state ws: state 1 writes the text into every slot, state 0 empties the
    // slots that hold it. IF dev slot 'find' 'replace' ws: replaces every occurrence of
    // one text by the other in the slot (0: in every slot). Locked slots stay as they are.
    const bool hold = code == "IH";
    const std::string find = FieldText(fields, 2);
    const std::string replace = hold ? std::string() : FieldText(fields, 3);
    const int owner = hold ? f(4) : f(5);
    const int only = hold ? 0 : f(2);
    if ((hold && (f(3) < 0 || f(3) > 1)) || (!hold && find.empty())) return {};
    for (int index = 1; index <= device->slotCount; ++index) {
      if (only != 0 && index != only) continue;
      std::string slot = device->texts[index];
      if (hold) {
        slot = f(3) ? find : (slot == find ? std::string() : slot);
      } else {
        for (size_t at = slot.find(find); at != std::string::npos;
             at = slot.find(find, at + replace.size())) {
          slot.replace(at, find.size(), replace);
        }
      }
      if (slot != device->texts[index] &&
          plant_.WriteSlot(number, index, slot, owner) == Change::kDone) {
        revertiveLater(index);
      }
    }
    return {1};
  }
  // RM is acted on when its KAL_DB_UPDATE copy arrives.
  return {code == "RM" ? 1 : 0};
}

Requests::Answer Requests::OnDatabaseText(uint32_t message, const std::string& text) {
  const std::vector<CommandField> fields = CommandFields(text);
  const std::string code = fields.empty() ? std::string() : UpperAsciiText(fields[0].text);
  const auto f = [&fields](size_t i) { return static_cast<int>(FieldNumber(fields, i)); };
  const Device* device = plant_.Find(f(1));
  const auto notifyLater = [this](int number, int database, int index) {
    Later([this, number, database, index] {
      notifications_.DatabaseChanged(number, database, index);
    });
  };

  if (message == KAL_DB_GET) {
    if (!device) return {};
    const std::string name = device->Name(0, f(2));
    return {name.empty() ? 0 : 1, name};
  }
  if (message == KAL_DB_INDEX) {
    // "DI dev first last NAME value": the name stands unquoted and may hold blanks.
    if (!device || fields.size() < 6) return {};
    std::string name;
    for (size_t i = 4; i + 1 < fields.size(); ++i)
      name += (name.empty() ? "" : " ") + fields[i].text;
    return {device->IndexOf(0, name, f(2) > 0 ? f(2) : 1, f(3) > 0 ? f(3) : kMaxIndex)};
  }
  if (message == KAL_DB_UPDATE && code == "RM") {
    const Change change = plant_.SetName(f(1), f(2), f(3), FieldText(fields, 4));
    if (change != Change::kDone) return {};
    notifyLater(f(1), f(2), f(3));
    return {1};
  }
  if (message == KAL_DB_CMD && code == "DP") {
    // DP dev from to database: the name of index `from` copied to index `to`.
    if (!device) return {};
    const Change change = plant_.SetName(f(1), f(4), f(3), device->Name(f(4), f(2)));
    if (change != Change::kDone) return {};
    notifyLater(f(1), f(4), f(3));
    return {1};
  }
  if (message == KAL_DB_CMD && code == "DE") {
    // DE database fromDevice toDevice index: a name (index 0: the whole database) copied
    // from one device to another.
    const int database = f(1);
    const Device* from = plant_.Find(f(2));
    Device* to = plant_.Find(f(3));
    if (!from || !to || database < 0 || database >= kDatabases) return {};
    if (f(4) == 0) {
      to->databases[database] = from->databases[database];
      ++to->databaseChanges;
    } else if (plant_.SetName(to->number, database, f(4), from->Name(database, f(4))) !=
               Change::kDone) {
      return {};
    }
    notifyLater(to->number, database, f(4));
    return {1};
  }
  // The KAL_DB_UPDATE copy of DP was acted on as KAL_DB_CMD.
  return {message == KAL_DB_UPDATE && code == "DP" ? 1 : 0};
}

Requests::Answer Requests::OnFileSession(const std::string& text) {
  // "ID dev path1 path2 number window", IG the same, "IS dev source destination line window":
  // the first path is copied to the second.
  const std::vector<CommandField> fields = CommandFields(text);
  if (fields.size() < 6) return {};
  const Device* device = plant_.Find(static_cast<int>(FieldNumber(fields, 1)));
  const int result = device && device->kind == DeviceKind::kInfo
                         ? CopySessionFile(fields[2].text, fields[3].text)
                         : kSessionDeviceNotFound;
  const auto line = static_cast<uint32_t>(FieldNumber(fields, 4));
  const auto window =
      static_cast<platform::Hwnd>(std::strtoul(fields[5].text.c_str(), nullptr, 16));
  Later([this, window, line, result] {
    notifications_.ToPanels({window}, platform::Message::Plain(KAL_SESSION_RESULT, line, result));
  });
  return {result == kSessionSuccess ? 1 : 0};
}

Requests::Answer Requests::OnStatusRequest(const std::string& text) {
  // "NS dev index 'text' ws window line", answered in command form with
  // "NS dev status 'text' ws window line".
  const std::vector<CommandField> fields = CommandFields(text);
  const long number = FieldNumber(fields, 1);
  const Device* device = plant_.Find(static_cast<int>(number));
  const std::string answer =
      "NS " + std::to_string(number) + ' ' + std::to_string(device ? device->status : -1) + " '" +
      (device ? device->statusText : std::string("unknown device")) + "' " +
      std::to_string(FieldNumber(fields, 4)) + ' ' + std::to_string(FieldNumber(fields, 5)) + ' ' +
      std::to_string(FieldNumber(fields, 6));
  const auto window = static_cast<platform::Hwnd>(FieldNumber(fields, 5));
  Later([this, window, number, answer] {
    notifications_.ToPanels(
        {window}, platform::Message::CopyData(
                      outbox_.Own(), PackFrameData(KAL_DEVSTATUSMSG, static_cast<uint32_t>(number)),
                      TextFrame(answer)));
  });
  return {device ? 1 : 0};
}

Requests::Answer Requests::Remember(int number, std::string request) {
  Device* device = plant_.Find(number);
  if (!device) return {};
  device->lastRequest = std::move(request);
  return {1};
}

}  // namespace velcrum::nxi
