// The messages nxi sends panels when the plant changes or a panel asks for state:
// revertives in each device's form, database notifications, client commands for served
// devices, network status and redundancy messages. A panel whose window no longer takes
// a message is dropped with its registrations.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "outbox.h"
#include "panels.h"
#include "plant.h"

namespace velcrum::nxi {

class Notifications {
 public:
  Notifications(Plant& plant, Panels& panels, Outbox& outbox)
      : plant_(plant), panels_(panels), outbox_(outbox) {}

  // The revertive of an index's current state: a router destination in the router's form
  // (KAL_ROUTER_REVERTIVE, or KAL_REVERTIVE_TEXT "RR dev dst src 'source name' 0"), a GPI
  // index as KAL_GPI_REVERTIVE, an infodriver slot as KAL_REVERTIVE_TEXT
  // "IR dev index index 'text' 0".
  platform::Message Revertive(const Device& device, int index) const;
  platform::Message RouterRevertive(const Device& router, int destination, int source,
                                    RevertiveForm form) const;

  // The revertive of the index to every panel registered for it.
  void ToRegistered(const Device& device, int index);
  // The revertives of indexes first to last (both 0: every index) to one panel or, with
  // `to` 0, to the panels registered for each.
  void Revertives(const Device& device, int first, int last, PanelWindow to);
  // KAL_DATABASE_MSG to every panel: wParam the device, lParam database << 16 | index.
  void DatabaseChanged(int device, int database, int index);
  // A command text for a served device, as KAL_PARSER_COMMAND to every panel registered
  // for the device except the sender.
  void ToServers(int device, PanelWindow sender, std::string_view text);
  // KAL_NETTXRXSTATUS to every subscribed panel; how many took it.
  int NetworkStatus(int device, int workstation, int word);
  // KAL_REQDEVGOTXRX or KAL_DEVICEIDINUSE (lParam the device) to every panel; how many took
  // it.
  int Redundancy(uint32_t message, int device);
  // `count` router revertives, crosspoints cycling through the router (the k-th: destination
  // k mod D + 1, source (k + k / D) mod S + 1, each made as it goes), to the panels
  // registered for each destination; how many messages were delivered.
  int Burst(Device& router, int count, RevertiveForm form);

  // Sends one message to each window; a window that does not take it is dropped. How many
  // took it.
  int ToPanels(const std::vector<PanelWindow>& to, const platform::Message& message);

 private:
  Plant& plant_;
  Panels& panels_;
  Outbox& outbox_;
};

}  // namespace velcrum::nxi
