// nxi's window procedure: discovery and subscriptions, the operator's commands that arrive
// through the `do` carrier, and every framed request of the panels (registrations,
// router, GPI and infodriver command texts, database changes and lookups, device
// information, status requests, file sessions), each answered with a KAL_REPLY frame
// before the call returns. docs/NXI.md says what each request does.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notifications.h"
#include "operator_commands.h"
#include "outbox.h"
#include "panels.h"
#include "plant.h"

namespace velcrum::nxi {

class Requests {
 public:
  Requests(Plant& plant, Panels& panels, Outbox& outbox, bool findOnly)
      : plant_(plant),
        panels_(panels),
        outbox_(outbox),
        notifications_(plant, panels, outbox),
        operator_(plant, panels, notifications_),
        findOnly_(findOnly) {}

  platform::Result Handle(const platform::Message& m);
  // An operator's command from standard input or the `do` carrier.
  OperatorAnswer RunOperatorCommand(std::string_view line) { return operator_.Run(line); }
  // Drops every panel whose window has left the desktop.
  void DropVanishedPanels();

 private:
  // A framed call's answer: the reply's wParam, and the reply text (none: the request's own
  // bytes, or its own value for a numeric frame).
  struct Answer {
    Answer() = default;
    Answer(int v) : value(v) {}  // NOLINT: answers are written as {value} and {value, text}
    Answer(int v, std::string t) : value(v), text(std::move(t)) {}
    Answer(int v, std::optional<std::string> t, std::optional<int32_t> n)
        : value(v), text(std::move(t)), number(n) {}
    int value = 0;
    std::optional<std::string> text;
    std::optional<int32_t> number;  // for a numeric frame
  };

  void Announce(platform::Hwnd client);
  void OnDo(const platform::Message& m);
  void OnFrame(const platform::Message& m);
  Answer OnRequest(uint32_t message, uint32_t wParam, platform::Hwnd sender,
                   const std::string& bytes, bool numeric);
  Answer OnCommandText(platform::Hwnd sender, const std::string& text);
  Answer OnDatabaseText(uint32_t message, const std::string& text);
  Answer OnFileSession(const std::string& text);
  Answer OnStatusRequest(const std::string& text);
  // Remembers a DC, DD, DR or DW request for its device; 1 when the device exists.
  Answer Remember(int device, std::string request);
  // Runs after the reply to the current request has gone: the messages the request causes.
  template <typename Work>
  void Later(Work work) {
    later_.emplace_back(std::move(work));
  }

  Plant& plant_;
  Panels& panels_;
  Outbox& outbox_;
  Notifications notifications_;
  OperatorCommands operator_;
  bool findOnly_;
  std::vector<std::function<void()>> later_;
};

}  // namespace velcrum::nxi
