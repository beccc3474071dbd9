// Readable one-line descriptions of messages, for debug monitors and the desktop tool.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/desktop/message.h"

namespace velcrum::platform {

// The name of a message the platform layer knows ("WM_COPYDATA"), or its number.
std::string MessageName(uint32_t message);

// "002a WM_COPYDATA wParam=00000013 lParam=00000000 copydata dwData=0ba80012 cb=513
// "text..." from 1234": receiver, message, parameters, what it carries (the start of the
// bytes, unprintable ones as \xNN) and the sending process.
std::string DescribeMessage(const Message& message, pid_t sender);

// "002a WM_COPYDATA = 1": the answer to a sent message.
std::string DescribeResult(const Message& message, Result result);

}  // namespace velcrum::platform
