// VLPanel_DialogProc: what a panel's dialog does with each message, and the control event
// that turns a press into a run of the control's line.
#pragma once

#include "platform/desktop/message.h"

namespace velcrum {

// The procedure of panel `panel`'s dialog. Every message is traced first; after it has
// been handled the queue drain runs. Answers 1 for the messages it handles whole, else 0.
platform::Result VLPanel_DialogProc(int panel, const platform::Message& message);

}  // namespace velcrum
