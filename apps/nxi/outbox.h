// What nxi sends: every message goes out through here, so that the log shows it ("> "
// and the fields of a received message's line) and the window it comes from is nxi's own.
#pragma once

#include <cstdio>
#include <optional>

#include "platform/desktop/message.h"

namespace velcrum::nxi {

class Outbox {
 public:
  // `log` may be null: nothing is logged.
  explicit Outbox(std::FILE* log) : log_(log) {}

  void SetOwn(platform::Hwnd own) { own_ = own; }
  platform::Hwnd Own() const { return own_; }

  // platform::Send, logged first.
  std::optional<platform::Result> Send(platform::Hwnd to, const platform::Message& message);
  // The log line of a message nxi's window received.
  void LogReceived(const platform::Message& message);

 private:
  void Write(const char* prefix, const platform::Message& message);

  std::FILE* log_;
  platform::Hwnd own_ = platform::kNoWindow;
};

}  // namespace velcrum::nxi
