// A stand-in for NXI inside the test's process: a top-level window that records every
// framed call it gets and answers it with a KAL_REPLY frame, the text and value chosen by
// the test (by default the request's own bytes and value 0, as an echo).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"

namespace velcrum::testing {

struct FakeNxiCall {
  uint32_t message = 0;
  uint32_t wParam = 0;
  std::string bytes;  // the frame as it came
};

struct FakeNxiAnswer {
  uint32_t value = 0;
  std::string text;  // a text frame's reply text
};

class FakeNxi {
 public:
  // The answer to a call; unset: the request's own bytes back with value 0.
  std::function<FakeNxiAnswer(const FakeNxiCall&)> answer;
  std::vector<FakeNxiCall> calls;

  bool Open() {
    window_ = platform::Window::Create(platform::Window::Kind::kTopLevel, "NXI");
    if (!window_) return false;
    window_->SetProc([this](const platform::Message& m) -> platform::Result {
      if (m.message != platform::WM_COPYDATA) return 0;
      const FakeNxiCall call{FrameMessage(m.dwData), FrameWParam(m.dwData), m.data};
      if (call.message == KAL_REPLY) return 1;
      calls.push_back(call);
      FakeNxiAnswer reply;
      if (answer) {
        reply = answer(call);
      } else {
        reply.text = std::string(FrameText(call.bytes));
      }
      const std::string frame = IsNumericFrame(call.bytes.size())
                                    ? NumericFrame(static_cast<int32_t>(reply.value))
                                    : TextFrame(reply.text);
      platform::Send(m.wParam,
                     platform::Message::CopyData(window_->Handle(),
                                                 PackFrameData(KAL_REPLY, reply.value), frame));
      return 1;
    });
    return true;
  }
  platform::Hwnd Handle() const { return window_ ? window_->Handle() : platform::kNoWindow; }

  // The calls with this message number.
  std::vector<FakeNxiCall> CallsOf(uint32_t message) const {
    std::vector<FakeNxiCall> found;
    for (const FakeNxiCall& call : calls) {
      if (call.message == message) found.push_back(call);
    }
    return found;
  }

 private:
  std::unique_ptr<platform::Window> window_;
};

}  // namespace velcrum::testing
