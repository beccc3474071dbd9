// The process's open desktop: its windows, its posted-message queue, its timers and its bus
// endpoint, tied into the Qt event loop. Internal to the platform layer; desktop.h and
// window.h are the interface.
//
// Message order follows Windows: a message sent to this process is dispatched as soon as
// it arrives (also while this process waits in a Send of its own); posted messages are
// dispatched one at a time, in order, by the Qt loop; WM_TIMER is generated only when no
// posted message waits, at most once per timer.
#pragma once

#include <sys/types.h>

#include <QObject>
#include <QPointer>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/desktop/bus_endpoint.h"
#include "platform/desktop/debug_monitor.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window.h"
#include "platform/desktop/window_registry.h"

class QSocketNotifier;
class QWidget;

namespace velcrum::platform {

struct WindowState {
  WindowInfo entry;  // as registered; entry.hwnd is the handle
  QPointer<QWidget> widget;
  std::shared_ptr<const WindowProc> proc;
  struct Timer {
    int qtTimer = 0;
    bool due = false;  // ticked while posted messages waited; delivered once they are done
  };
  std::map<uint32_t, Timer> timers;
  QPointer<QObject> input;  // the widget's input translator (an event filter)
  bool attached = true;     // false once the window or the desktop is closed
};

class DesktopSession final : public QObject {
 public:
  // The open session, or nullptr.
  static DesktopSession* Current();
  static bool Open(const std::string& dir, std::string* error);
  static void Close();

  std::shared_ptr<WindowState> CreateWindow(Window::Kind kind, std::string_view title,
                                            QWidget* widget);
  void DestroyWindow(WindowState& state);
  bool SetTitle(WindowState& state, std::string_view title);
  bool SetTimer(WindowState& state, uint32_t id, uint32_t intervalMs);
  bool KillTimer(WindowState& state, uint32_t id);

  std::optional<Result> Send(Hwnd to, const Message& message);
  bool Post(Hwnd to, Message message);
  void PostQuit(int exitCode);

  // Dispatches a message to a window of this process as if sent from this process (input
  // messages, WM_ACTIVATEAPP).
  Result DispatchLocal(const std::shared_ptr<WindowState>& state, Message message);

  std::vector<WindowInfo> ListWindows() { return registry_.List(); }
  std::optional<WindowInfo> Lookup(Hwnd hwnd);
  // The widget of a window of this process, or nullptr.
  QWidget* LocalWidget(Hwnd hwnd) const;
  const std::string& Directory() const { return dir_; }

 protected:
  bool event(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  struct PostedMessage {
    Hwnd target = kNoWindow;
    Message message;
    pid_t sender = 0;
    bool forwardIfRemote = false;  // posted from another thread: the target may be remote
  };

  explicit DesktopSession(std::string dir);
  ~DesktopSession() override;
  bool Start(std::string* error);

  std::shared_ptr<WindowState> Find(Hwnd hwnd) const;
  // A send to one window, waiting at most timeoutMs when it belongs to another process.
  std::optional<Result> SendOne(Hwnd to, const Message& message, int timeoutMs);
  Result Dispatch(const std::shared_ptr<WindowState>& state, Message& message, char how,
                  pid_t sender);
  bool Enqueue(PostedMessage&& posted);
  void Wake();
  void PumpOne();
  bool PostedQueueEmpty();
  void DeliverDueTimers();
  void DeliverTimer(Hwnd hwnd, uint32_t id);
  pid_t OwnerOf(Hwnd hwnd, bool fresh);
  bool PostRemote(Hwnd to, const Message& message);
  void OnPeerGone(pid_t pid);
  void OnApplicationState(bool active);

  std::string dir_;
  WindowRegistry registry_;
  MonitorLinks monitors_;
  std::unique_ptr<BusEndpoint> bus_;
  QSocketNotifier* busNotifier_ = nullptr;
  std::unordered_map<Hwnd, std::shared_ptr<WindowState>> windows_;
  std::unordered_map<Hwnd, pid_t> owners_;  // remote handle -> owning process, as last seen
  std::unordered_map<int, std::pair<Hwnd, uint32_t>> qtTimers_;
  struct DueTimer {
    Hwnd hwnd;
    uint32_t id;
    int qtTimer;
  };
  std::deque<DueTimer> dueTimers_;

  std::mutex postedMutex_;
  std::deque<PostedMessage> posted_;
  std::atomic<bool> wakePending_{false};
  bool quitRequested_ = false;
  int quitCode_ = 0;
  bool active_ = false;
};

}  // namespace velcrum::platform
