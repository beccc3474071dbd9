// The `do` client: one command to the running nxi, its answer to standard output.
#include "do_client.h"

#include <cstdio>
#include <memory>

#include "do_carrier.h"
#include "network/net_frame.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"

namespace velcrum::nxi {

int RunDoClient(const std::string& text) {
  // A burst of thousands of revertives takes seconds; the answer comes after it.
  platform::SetSendBounds({600000, 300});
  std::string error;
  if (!platform::OpenDesktop(&error)) {
    std::fprintf(stderr, "nxi: %s\n", error.c_str());
    return 1;
  }
  int status = 1;
  {
    const platform::Hwnd nxi = platform::FindWindow("NXI");
    std::unique_ptr<platform::Window> window =
        platform::Window::Create(platform::Window::Kind::kMessageOnly);
    bool answered = false;
    bool ok = false;
    std::string answer;
    if (nxi == platform::kNoWindow || !window) {
      std::fprintf(stderr, "nxi: no NXI window on the desktop\n");
    } else {
      window->SetProc([&](const platform::Message& m) -> platform::Result {
        if (m.message != platform::WM_COPYDATA || FrameMessage(m.dwData) != kMsgNxiDo) return 0;
        answered = true;
        ok = FrameWParam(m.dwData) == 1;
        answer = m.data;
        return 1;
      });
      platform::Send(nxi, platform::Message::Text(kMsgNxiDo, window->Handle(), text));
      if (!answered) {
        std::fprintf(stderr, "nxi: no answer from the NXI window %04x\n", nxi);
      } else {
        std::fwrite(answer.data(), 1, answer.size(), stdout);
        std::fputc('\n', stdout);
        status = ok ? 0 : 1;
      }
    }
  }
  platform::CloseDesktop();
  return status;
}

}  // namespace velcrum::nxi
