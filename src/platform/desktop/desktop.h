// The desktop: opening it, sending and posting messages, the message loop, finding and
// enumerating top-level windows.
//
// A process opens its desktop once, after creating its Qt application object and before
// creating windows. Every function here is for the thread that runs the message loop,
// except Post to a window of this process, which any thread may call.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/message.h"

namespace velcrum::platform {

// Opens the desktop the environment names ($VELCRUM_DESKTOP, else
// $XDG_RUNTIME_DIR/velcrum-desktop, else /tmp/velcrum-desktop-$UID), or the given
// directory: prepares the directory, starts listening on the bus, links to attached debug
// monitors. Needs a QCoreApplication (or QApplication). False, with the reason, on failure.
bool OpenDesktop(std::string* error = nullptr);
bool OpenDesktop(const std::string& dir, std::string* error);
// Unregisters every window of this process and closes its bus connections. Not from
// inside a window procedure.
void CloseDesktop();
bool DesktopIsOpen();
std::string DesktopDirectory();

// SendMessage: delivers the message to the window's procedure and returns its answer once
// it has run. Local windows are called directly. For a window of another process, the call
// waits; meanwhile messages other processes send to this one are dispatched (so they may
// call back), but posted messages, timers and input wait until the loop runs again.
// Nothing when the window does not exist, or its process ends or closes its connection
// before answering, or does not answer within the send bound (below). To kBroadcast: sends
// to every top-level window of the desktop in turn, from the top of the z-order down, each
// within the broadcast bound, and answers 0.
std::optional<Result> Send(Hwnd to, const Message& message);

// How long a send waits for a window of another process (SendMessageTimeout with
// SMTO_ABORTIFHUNG). A window that has not answered within its bound is given up: the send
// gives nothing and the system debugger gets one line naming the window and the message.
// Its process is then taken as hung until anything arrives from it again, and sends to it
// give nothing at once, without waiting. A peer that answers within the bound is never cut
// off. Process-wide; may be set before the desktop is opened.
struct SendBounds {
  int sendMs = 5000;      // a send to one window
  int broadcastMs = 300;  // each window of a broadcast
};
// Values below 1 ms are taken as 1 ms.
void SetSendBounds(const SendBounds& bounds);
SendBounds CurrentSendBounds();

// PostMessage: queues the message for the window; the message loop handles posted
// messages in order. False when the window does not exist or its queue is full. To
// kBroadcast: posts to every top-level window. From a thread other than the loop's, only
// windows of this process can be reached (and the answer is always true).
bool Post(Hwnd to, Message message);

// PostQuitMessage: the message loop ends with exitCode once no posted message is waiting.
void PostQuit(int exitCode);
// Runs the message loop until PostQuit; returns its exit code.
int RunMessageLoop();
// Runs the message loop (posted and sent messages, timers, input) until `done` answers
// true, asked every 20 ms, or timeoutMs have passed; false on time-out. For the waits
// during which a program must go on answering its windows' messages.
bool RunMessagesUntil(const std::function<bool()>& done, int timeoutMs);

struct WindowInfo {
  Hwnd hwnd = kNoWindow;
  pid_t pid = 0;           // the owning process
  uint64_t startTime = 0;  // of the owning process (clock ticks since boot)
  uint64_t order = 0;      // creation order: higher is newer, nearer the top
  bool topLevel = true;
  std::string title;
};

enum class ZOrder { kTopFirst, kBottomFirst };

// The top-level windows of the desktop (every process), in z-order: a window created later
// is above one created earlier. Entries of processes that have ended are removed on the way.
std::vector<WindowInfo> TopLevelWindows(ZOrder order = ZOrder::kTopFirst);
// Every window of the desktop, message-only ones included, bottom first.
std::vector<WindowInfo> AllWindows();

// FindWindow: the topmost top-level window whose title equals `title` without regard to
// case; kNoWindow when there is none.
Hwnd FindWindow(std::string_view title);

// Whether a window with this handle exists on the desktop.
bool IsWindow(Hwnd hwnd);

// The title of any window of the desktop (empty when there is no such window).
std::string WindowTitle(Hwnd hwnd);

}  // namespace velcrum::platform
