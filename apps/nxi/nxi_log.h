// The nxi stand-in's log: one line for every message its window receives, in the format
// that the peer programs share (apps/message_log/message_log.h).
#pragma once

#include "message_log.h"

namespace velcrum::nxi {

inline std::string LogLine(const platform::Message& message) {
  return MessageLogLine(message);
}

}  // namespace velcrum::nxi
