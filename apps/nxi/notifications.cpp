// Revertives and the other messages nxi sends panels.
#include "notifications.h"

#include <algorithm>
#include <set>

#include "network/kal_messages.h"
#include "network/net_frame.h"

namespace velcrum::nxi {
namespace {

platform::Message TextMessage(platform::Hwnd own, uint32_t message, int wParam,
                              std::string_view text) {
  return platform::Message::CopyData(own, PackFrameData(message, static_cast<uint32_t>(wParam)),
                                     TextFrame(text));
}

}  // namespace

platform::Message Notifications::RouterRevertive(const Device& router, int destination, int source,
                                                 RevertiveForm form) const {
  if (form == RevertiveForm::kInteger) {
    return platform::Message::Plain(KAL_ROUTER_REVERTIVE, static_cast<uint32_t>(router.number),
                                    destination | (source << 16));
  }
  const std::string text = "RR " + std::to_string(router.number) + ' ' +
                           std::to_string(destination) + ' ' + std::to_string(source) + " '" +
                           router.Name(0, source) + "' 0";
  return TextMessage(outbox_.Own(), KAL_REVERTIVE_TEXT, router.number, text);
}

platform::Message Notifications::Revertive(const Device& device, int index) const {
  switch (device.kind) {
    case DeviceKind::kRouter:
      return RouterRevertive(device, index, device.state[index], device.form);
    case DeviceKind::kGpi:
      return platform::Message::Plain(KAL_GPI_REVERTIVE, static_cast<uint32_t>(device.number),
                                      index | (device.state[index] << 16));
    case DeviceKind::kInfo:
    default: {
      const std::string number = std::to_string(index);
      return TextMessage(outbox_.Own(), KAL_REVERTIVE_TEXT, device.number,
                         "IR " + std::to_string(device.number) + ' ' + number + ' ' + number +
                             " '" + device.texts[index] + "' 0");
    }
  }
}

void Notifications::ToRegistered(const Device& device, int index) {
  const std::vector<PanelWindow> to = panels_.RegisteredFor(device.number, index);
  if (!to.empty()) ToPanels(to, Revertive(device, index));
}

void Notifications::Revertives(const Device& device, int first, int last, PanelWindow to) {
  if (first == 0 && last == 0) {
    first = 1;
    last = device.Size();
  }
  first = std::max(first, 1);
  last = std::min(std::max(last, first), device.Size());
  for (int index = first; index <= last; ++index) {
    if (to == 0) {
      ToRegistered(device, index);
    } else {
      ToPanels({to}, Revertive(device, index));
    }
  }
}

void Notifications::DatabaseChanged(int device, int database, int index) {
  ToPanels(panels_.All(), platform::Message::Plain(KAL_DATABASE_MSG, static_cast<uint32_t>(device),
                                                   (database << 16) | (index & 0xFFFF)));
}

void Notifications::ToServers(int device, PanelWindow sender, std::string_view text) {
  std::vector<PanelWindow> to = panels_.RegisteredForDevice(device);
  to.erase(std::remove(to.begin(), to.end(), sender), to.end());
  ToPanels(to, TextMessage(outbox_.Own(), KAL_PARSER_COMMAND, device, text));
}

int Notifications::NetworkStatus(int device, int workstation, int word) {
  return ToPanels(panels_.Subscribed(),
                  platform::Message::Plain(KAL_NETTXRXSTATUS, static_cast<uint32_t>(device),
                                           (workstation << 16) | (word & 0xFFFF)));
}

int Notifications::Redundancy(uint32_t message, int device) {
  return ToPanels(panels_.All(), platform::Message::Plain(message, 0, device));
}

int Notifications::Burst(Device& router, int count, RevertiveForm form) {
  // Who gets each destination is settled once: the loop does nothing per message but make
  // it, send it and log it.
  std::vector<std::vector<PanelWindow>> to(static_cast<size_t>(router.destinations) + 1);
  for (int destination = 1; destination <= router.destinations; ++destination) {
    to[destination] = panels_.RegisteredFor(router.number, destination);
  }
  std::set<PanelWindow> gone;
  int delivered = 0;
  for (int k = 0; k < count; ++k) {
    const int destination = k % router.destinations + 1;
    const int source = (k + k / router.destinations) % router.sources + 1;
    router.state[destination] = source;
    if (to[destination].empty()) continue;
    const platform::Message message = RouterRevertive(router, destination, source, form);
    for (const PanelWindow window : to[destination]) {
      if (gone.count(window)) continue;
      if (outbox_.Send(window, message)) {
        ++delivered;
      } else {
        gone.insert(window);
      }
    }
  }
  for (const PanelWindow window : gone) panels_.Drop(window);
  return delivered;
}

int Notifications::ToPanels(const std::vector<PanelWindow>& to, const platform::Message& message) {
  int delivered = 0;
  std::vector<PanelWindow> gone;
  for (const PanelWindow window : to) {
    if (outbox_.Send(window, message)) {
      ++delivered;
    } else {
      gone.push_back(window);
    }
  }
  for (const PanelWindow window : gone) panels_.Drop(window);
  return delivered;
}

}  // namespace velcrum::nxi
