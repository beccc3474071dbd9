// Sending and logging nxi's messages.
#include "outbox.h"

#include "message_log.h"
#include "platform/desktop/desktop.h"

namespace velcrum::nxi {

std::optional<platform::Result> Outbox::Send(platform::Hwnd to, const platform::Message& message) {
  Write("> ", message);
  return platform::Send(to, message);
}

void Outbox::LogReceived(const platform::Message& message) {
  Write("", message);
}

void Outbox::Write(const char* prefix, const platform::Message& message) {
  if (!log_) return;
  std::fprintf(log_, "%s%s\n", prefix, MessageLogLine(message).c_str());
  std::fflush(log_);
}

}  // namespace velcrum::nxi
