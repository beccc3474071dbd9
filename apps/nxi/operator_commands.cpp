// Running the operator's commands against the plant.
#include "operator_commands.h"

#include <charconv>
#include <optional>
#include <vector>

#include "network/kal_messages.h"
#include "platform/ascii_case.h"

namespace velcrum::nxi {

const char kOperatorCommandHelp[] =
    "  route DEV DST SRC          set a crosspoint (locks do not stop the operator)\n"
    "  lock DEV DST 0|1           lock or unlock a destination (GPI index, slot) for the\n"
    "                             operator: panels' changes to it are refused\n"
    "  gpi DEV INDEX STATE        set any GPI index, input or output, to 0 or 1\n"
    "  slot DEV INDEX TEXT        write an infodriver slot\n"
    "  name DEV DB INDEX TEXT     set a name in database DB (0 to 10); no TEXT removes it\n"
    "  status DEV WS WORD         KAL_NETTXRXSTATUS (wParam DEV, lParam WS << 16 | WORD) to\n"
    "                             every subscribed panel; WORD becomes the device's status\n"
    "  redundancy go|inuse DEV    KAL_REQDEVGOTXRX or KAL_DEVICEIDINUSE (lParam DEV) to every\n"
    "                             panel\n"
    "  burst DEV COUNT [integer|text]\n"
    "                             COUNT router revertives, crosspoints cycling through the\n"
    "                             router, in its form or the one given; answers when all are\n"
    "                             sent: \"sent N\", N the messages delivered\n"
    "  show DEV                   the device and its state\n"
    "  panels                     the panels known and their registrations\n"
    "  add router DEV DESTINATIONS SOURCES [integer|text]\n"
    "  add gpi DEV INPUTS OUTPUTS\n"
    "  add info DEV SLOTS         add a device to the running plant\n"
    "  help                       this list\n";

namespace {

OperatorAnswer Ok(std::string text) {
  return {true, std::move(text)};
}
OperatorAnswer Error(std::string text) {
  return {false, "error: " + std::move(text)};
}

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// The first `count` words of the line and what follows them (blanks around it removed, and
// quotes around the whole of it).
std::vector<std::string> Split(std::string_view line, size_t count, std::string* rest) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsAsciiSpace(line[at])) ++at;
    if (at >= line.size()) break;
    if (rest && words.size() == count) break;
    size_t end = at;
    while (end < line.size() && !IsAsciiSpace(line[end])) ++end;
    words.emplace_back(line.substr(at, end - at));
    at = end;
  }
  if (rest) {
    std::string_view tail = at < line.size() ? line.substr(at) : std::string_view();
    while (!tail.empty() && IsAsciiSpace(tail.back())) tail.remove_suffix(1);
    if (tail.size() >= 2 && (tail.front() == '\'' || tail.front() == '"') &&
        tail.back() == tail.front()) {
      tail = tail.substr(1, tail.size() - 2);
    }
    *rest = std::string(tail);
  }
  return words;
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

}  // namespace

OperatorAnswer OperatorCommands::Run(std::string_view line) {
  std::vector<std::string> words = Split(line, 0, nullptr);
  if (words.empty()) return Error("no command (try help)");
  const std::string command = LowerAsciiText(words[0]);
  std::string rest;
  if (command == "slot") words = Split(line, 3, &rest);
  if (command == "name") words = Split(line, 4, &rest);

  // The numbers from word `from` on; false (and an answer) when one is not a number.
  std::vector<int> n;
  const auto numbers = [&](size_t from, size_t count) {
    if (words.size() < from + count) return false;
    for (size_t i = from; i < from + count; ++i) {
      const std::optional<int> value = Number(words[i]);
      if (!value) return false;
      n.push_back(*value);
    }
    return true;
  };
  const auto usage = [](const char* form) { return Error(std::string("usage: ") + form); };
  const auto changed = [](Change change, std::string done) {
    return change == Change::kDone ? Ok(std::move(done)) : Error(std::string(ChangeText(change)));
  };

  if (command == "route") {
    if (!numbers(1, 3) || words.size() != 4) return usage("route DEV DST SRC");
    const Change change = plant_.Route(n[0], n[1], n[2], kOperator);
    if (change == Change::kDone) notifications_.ToRegistered(*plant_.Find(n[0]), n[1]);
    return changed(change, "routed " + std::to_string(n[0]) + ' ' + std::to_string(n[1]) + ' ' +
                               std::to_string(n[2]));
  }
  if (command == "lock") {
    if (!numbers(1, 3) || words.size() != 4 || n[2] < 0 || n[2] > 1) {
      return usage("lock DEV DST 0|1");
    }
    return changed(plant_.Lock(n[0], n[1], n[1], n[2] != 0, kOperator),
                   std::string(n[2] ? "locked " : "unlocked ") + std::to_string(n[0]) + ' ' +
                       std::to_string(n[1]));
  }
  if (command == "gpi") {
    if (!numbers(1, 3) || words.size() != 4) return usage("gpi DEV INDEX STATE");
    const Change change = plant_.SetGpi(n[0], n[1], n[2], kOperator);
    if (change == Change::kDone) notifications_.ToRegistered(*plant_.Find(n[0]), n[1]);
    return changed(change, "gpi " + words[1] + ' ' + words[2] + ' ' + words[3]);
  }
  if (command == "slot") {
    if (!numbers(1, 2) || words.size() != 3) return usage("slot DEV INDEX TEXT");
    const Change change = plant_.WriteSlot(n[0], n[1], rest, kOperator);
    if (change == Change::kDone) notifications_.ToRegistered(*plant_.Find(n[0]), n[1]);
    return changed(change, "slot " + words[1] + ' ' + words[2] + ' ' + Quoted(rest));
  }
  if (command == "name") {
    if (!numbers(1, 3) || words.size() != 4) return usage("name DEV DB INDEX TEXT");
    const Change change = plant_.SetName(n[0], n[1], n[2], rest);
    if (change == Change::kDone) notifications_.DatabaseChanged(n[0], n[1], n[2]);
    return changed(change,
                   "name " + words[1] + ' ' + words[2] + ' ' + words[3] + ' ' + Quoted(rest));
  }
  if (command == "status") {
    if (!numbers(1, 3) || words.size() != 4) return usage("status DEV WORKSTATION WORD");
    if (Device* device = plant_.Find(n[0])) device->status = n[2] & 0xFFFF;
    return Ok("sent " + std::to_string(notifications_.NetworkStatus(n[0], n[1], n[2])));
  }
  if (command == "redundancy") {
    const std::string which = words.size() == 3 ? LowerAsciiText(words[1]) : std::string();
    if ((which != "go" && which != "inuse") || !numbers(2, 1)) {
      return usage("redundancy go|inuse DEV");
    }
    const uint32_t message = which == "go" ? KAL_REQDEVGOTXRX : KAL_DEVICEIDINUSE;
    return Ok("sent " + std::to_string(notifications_.Redundancy(message, n[0])));
  }
  if (command == "burst") {
    if (!numbers(1, 2) || words.size() > 4 || n[1] < 0) {
      return usage("burst DEV COUNT [integer|text]");
    }
    Device* router = plant_.Find(n[0]);
    if (!router || router->kind != DeviceKind::kRouter) return Error("no router " + words[1]);
    if (router->served) return Error(std::string(ChangeText(Change::kServed)));
    RevertiveForm form = router->form;
    if (words.size() == 4) {
      const std::string name = LowerAsciiText(words[3]);
      if (name != "integer" && name != "text") return usage("burst DEV COUNT [integer|text]");
      form = name == "text" ? RevertiveForm::kText : RevertiveForm::kInteger;
    }
    return Ok("sent " + std::to_string(notifications_.Burst(*router, n[1], form)));
  }
  if (command == "show") {
    if (!numbers(1, 1) || words.size() != 2) return usage("show DEV");
    return Show(n[0]);
  }
  if (command == "panels") return Ok(panels_.Describe());
  if (command == "add") return Add(words);
  if (command == "help") return Ok(std::string(kOperatorCommandHelp));
  return Error("unknown command '" + words[0] + "' (try help)");
}

OperatorAnswer OperatorCommands::Add(const std::vector<std::string>& words) {
  const std::string kind = words.size() > 1 ? LowerAsciiText(words[1]) : std::string();
  std::vector<int> n;
  for (size_t i = 2; i < words.size(); ++i) {
    const std::optional<int> value = Number(words[i]);
    if (!value) break;
    n.push_back(*value);
  }
  Device device;
  if (kind == "router" && n.size() == 3 && (words.size() == 5 || words.size() == 6)) {
    device.kind = DeviceKind::kRouter;
    device.destinations = n[1];
    device.sources = n[2];
    if (words.size() == 6) {
      const std::string form = LowerAsciiText(words[5]);
      if (form != "integer" && form != "text") {
        return Error("usage: add router DEV DESTINATIONS SOURCES [integer|text]");
      }
      device.form = form == "text" ? RevertiveForm::kText : RevertiveForm::kInteger;
    }
  } else if (kind == "gpi" && n.size() == 3 && words.size() == 5) {
    device.kind = DeviceKind::kGpi;
    device.inputs = n[1];
    device.outputs = n[2];
  } else if (kind == "info" && n.size() == 2 && words.size() == 4) {
    device.kind = DeviceKind::kInfo;
    device.slotCount = n[1];
  } else {
    return Error(
        "usage: add router DEV DESTINATIONS SOURCES [integer|text] | add gpi DEV INPUTS OUTPUTS "
        "| add info DEV SLOTS");
  }
  device.number = n[0];
  std::string why;
  if (!plant_.Add(std::move(device), &why)) return Error(why);
  return Ok("added " + kind + ' ' + words[2]);
}

OperatorAnswer OperatorCommands::Show(int number) const {
  const Device* device = plant_.Find(number);
  if (!device) return Error("no device " + std::to_string(number));
  std::string text = std::string(KindName(device->kind)) + ' ' + std::to_string(number) + ' ' +
                     Quoted(device->name);
  switch (device->kind) {
    case DeviceKind::kRouter:
      text += ' ' + std::to_string(device->destinations) + 'x' + std::to_string(device->sources) +
              (device->form == RevertiveForm::kText ? " text" : " integer");
      break;
    case DeviceKind::kGpi:
      text += " inputs " + std::to_string(device->inputs) + " outputs " +
              std::to_string(device->outputs);
      break;
    case DeviceKind::kInfo:
      text += " slots " + std::to_string(device->slotCount);
      break;
  }
  if (device->served) text += " served";
  text += " status " + std::to_string(device->status) + ' ' + Quoted(device->statusText);
  if (!device->lastRequest.empty()) text += "\nlast request " + device->lastRequest;
  if (device->served) return Ok(text);
  for (int index = 1; index <= device->Size(); ++index) {
    std::string row = '\n' + std::to_string(index) + ' ';
    switch (device->kind) {
      case DeviceKind::kRouter: {
        const int source = device->state[index];
        row += Quoted(device->Name(1, index)) + " <- " + std::to_string(source) + ' ' +
               Quoted(device->Name(0, source));
        break;
      }
      case DeviceKind::kGpi:
        row += std::string(device->IsOutput(index) ? "output " : "input ") +
               Quoted(device->Name(0, index)) + ' ' + std::to_string(device->state[index]);
        break;
      case DeviceKind::kInfo:
        row += Quoted(device->texts[index]);
        break;
    }
    const int lock = device->locks[index];
    if (lock == kOperator) row += " locked operator";
    if (lock >= 0) row += " locked " + std::to_string(lock);
    text += row;
  }
  return Ok(text);
}

}  // namespace velcrum::nxi
