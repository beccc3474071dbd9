// The open desktop of a process: windows, posted queue, timers, sends, the bus, in the Qt
// event loop.
#include "platform/desktop/desktop_session.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimerEvent>
#include <QWidget>
#include <algorithm>
#include <climits>

#include "platform/desktop/debug_output.h"
#include "platform/desktop/desktop_directory.h"
#include "platform/desktop/dialog_window.h"
#include "platform/desktop/input_translation.h"
#include "platform/desktop/message_text.h"
#include "platform/desktop/printing.h"
#include "platform/desktop/remote_hand.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/text_conversion.h"
#include "platform/desktop/video_overlay.h"

namespace velcrum::platform {
namespace {

DesktopSession* g_session = nullptr;

// The most posted messages a process holds before further posts fail (Windows' limit).
constexpr size_t kMaxPosted = 10000;

// A send given up on, for the debug line: the window, the message and what it carries.
std::string Described(Hwnd to, const Message& message) {
  Message shown = message;
  shown.hwnd = to;
  return DescribeMessage(shown, getpid());
}

QEvent::Type WakeEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace

DesktopSession* DesktopSession::Current() {
  return g_session;
}

bool DesktopSession::Open(const std::string& dir, std::string* error) {
  if (g_session) {
    if (error) *error = "a desktop is already open: " + g_session->dir_;
    return false;
  }
  if (!QCoreApplication::instance()) {
    if (error) *error = "the desktop needs a Qt application object";
    return false;
  }
  if (!PrepareDesktopDirectory(dir, error)) return false;
  auto* session = new DesktopSession(dir);
  if (!session->Start(error)) {
    delete session;
    return false;
  }
  g_session = session;
  SetDebugMonitorLinks(&session->monitors_);
  InstallDialogBuilder(&BuildDesktopDialog);
  InstallScreenSource(&DesktopRect);
  InstallLinePrinter(&PrintLinesOnDesktop);
  RegisterVideoOverlayDevice();
  return true;
}

void DesktopSession::Close() {
  DesktopSession* session = g_session;
  if (!session) return;
  InstallLinePrinter(nullptr);
  InstallScreenSource(nullptr);
  InstallDialogBuilder(nullptr);
  SetDebugMonitorLinks(nullptr);
  g_session = nullptr;
  for (auto& [hwnd, state] : session->windows_) {
    state->attached = false;
    session->registry_.Unregister(hwnd);
    for (auto& [id, timer] : state->timers) session->killTimer(timer.qtTimer);
    state->timers.clear();
    if (state->widget && state->input) state->widget->removeEventFilter(state->input);
    if (state->input) state->input->deleteLater();
  }
  session->windows_.clear();
  delete session;
}

DesktopSession::DesktopSession(std::string dir) : dir_(dir), registry_(dir), monitors_(dir) {}

DesktopSession::~DesktopSession() {
  delete busNotifier_;
  bus_.reset();
}

bool DesktopSession::Start(std::string* error) {
  BusEndpoint::Handlers handlers;
  handlers.send = [this](Hwnd target, Message&& message, pid_t sender) -> std::optional<Result> {
    // The desktop tool's requests are the platform's work; the window never sees them.
    if (IsHandRequest(message)) return AnswerHandRequest(target, message);
    const std::shared_ptr<WindowState> state = Find(target);
    if (!state) return std::nullopt;
    return Dispatch(state, message, kRecordSent, sender);
  };
  handlers.post = [this](Hwnd target, Message&& message, pid_t sender) {
    if (!Enqueue(PostedMessage{target, std::move(message), sender, false})) {
      OutputDebugString("desktop bus: posted-message queue full, dropped a message from process " +
                        std::to_string(sender));
    }
  };
  handlers.monitorAttached = [this](pid_t monitor) { monitors_.Attach(monitor); };
  handlers.peerGone = [this](pid_t pid) { OnPeerGone(pid); };
  handlers.debugLine = [](std::string_view line) { OutputDebugString(line); };
  bus_ = std::make_unique<BusEndpoint>(dir_, std::move(handlers));
  if (!bus_->Open(error)) return false;
  busNotifier_ = new QSocketNotifier(bus_->PollFd(), QSocketNotifier::Read);
  QObject::connect(busNotifier_, &QSocketNotifier::activated, this, [this] { bus_->Service(0); });

  // Our socket exists now; a monitor attaching from here on will announce itself.
  monitors_.Rescan();

  if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    active_ = gui->applicationState() == Qt::ApplicationActive;
    QObject::connect(
        gui, &QGuiApplication::applicationStateChanged, this,
        [this](Qt::ApplicationState state) { OnApplicationState(state == Qt::ApplicationActive); });
  }
  return true;
}

std::shared_ptr<WindowState> DesktopSession::Find(Hwnd hwnd) const {
  const auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second;
}

QWidget* DesktopSession::LocalWidget(Hwnd hwnd) const {
  const std::shared_ptr<WindowState> state = Find(hwnd);
  return state ? state->widget.data() : nullptr;
}

std::optional<WindowInfo> DesktopSession::Lookup(Hwnd hwnd) {
  if (const std::shared_ptr<WindowState> state = Find(hwnd)) return state->entry;
  std::optional<WindowInfo> entry = registry_.Lookup(hwnd);
  // An entry with our own pid but no window here is a leftover of a window being closed.
  if (entry && entry->pid == getpid()) return std::nullopt;
  return entry;
}

std::shared_ptr<WindowState> DesktopSession::CreateWindow(Window::Kind kind, std::string_view title,
                                                          QWidget* widget) {
  std::optional<WindowInfo> entry = registry_.Register(kind == Window::Kind::kTopLevel, title);
  if (!entry) return nullptr;
  auto state = std::make_shared<WindowState>();
  state->entry = std::move(*entry);
  state->widget = widget;
  if (widget) {
    widget->setWindowTitle(ToQString(title));
    state->input = MakeInputTranslator(state).release();
    widget->installEventFilter(state->input);
  }
  windows_[state->entry.hwnd] = state;
  return state;
}

void DesktopSession::DestroyWindow(WindowState& state) {
  if (!state.attached) return;
  state.attached = false;
  for (auto& [id, timer] : state.timers) {
    killTimer(timer.qtTimer);
    qtTimers_.erase(timer.qtTimer);
  }
  state.timers.clear();
  // The translator may be on the stack (a close request that closes the window): let the
  // loop delete it.
  if (state.widget && state.input) state.widget->removeEventFilter(state.input);
  if (state.input) state.input->deleteLater();
  registry_.Unregister(state.entry.hwnd);
  windows_.erase(state.entry.hwnd);
}

bool DesktopSession::SetTitle(WindowState& state, std::string_view title) {
  if (!state.attached) return false;
  if (!registry_.SetTitle(state.entry, title)) return false;
  state.entry.title.assign(title);
  if (state.widget) {
    state.widget->setWindowTitle(ToQString(title));
  }
  return true;
}

bool DesktopSession::SetTimer(WindowState& state, uint32_t id, uint32_t intervalMs) {
  if (!state.attached) return false;
  KillTimer(state, id);
  const int interval = static_cast<int>(std::clamp<uint32_t>(intervalMs, 1, INT_MAX));
  const int qtTimer = startTimer(interval, Qt::PreciseTimer);
  if (qtTimer == 0) return false;
  state.timers[id] = WindowState::Timer{qtTimer, false};
  qtTimers_[qtTimer] = {state.entry.hwnd, id};
  return true;
}

bool DesktopSession::KillTimer(WindowState& state, uint32_t id) {
  const auto it = state.timers.find(id);
  if (it == state.timers.end()) return false;
  killTimer(it->second.qtTimer);
  qtTimers_.erase(it->second.qtTimer);
  state.timers.erase(it);  // a pending tick goes with it: DeliverDueTimers checks
  return true;
}

Result DesktopSession::Dispatch(const std::shared_ptr<WindowState>& state, Message& message,
                                char how, pid_t sender) {
  message.hwnd = state->entry.hwnd;
  const bool watched = monitors_.Any() && message.message != WM_TIMER;
  if (watched) monitors_.Deliver(how, DescribeMessage(message, sender));
  // Hold the procedure: the window may be closed, or the procedure replaced, while it runs.
  const std::shared_ptr<const WindowProc> proc = state->proc;
  const Result result = proc && *proc ? (*proc)(message) : 0;
  if (watched && how == kRecordSent) {
    monitors_.Deliver(kRecordResult, DescribeResult(message, result));
  }
  return result;
}

Result DesktopSession::DispatchLocal(const std::shared_ptr<WindowState>& state, Message message) {
  return Dispatch(state, message, kRecordSent, getpid());
}

std::optional<Result> DesktopSession::Send(Hwnd to, const Message& message) {
  if (QThread::currentThread() != thread()) return std::nullopt;
  const SendBounds bounds = CurrentSendBounds();
  if (to == kBroadcast) {
    // Every top-level window in turn, from the top down; each answer (and whatever is sent
    // to us meanwhile) is handled before the next, and a window that does not answer in
    // time is passed over.
    std::vector<WindowInfo> windows = registry_.List();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if (it->topLevel) SendOne(it->hwnd, message, bounds.broadcastMs);
    }
    return 0;
  }
  return SendOne(to, message, bounds.sendMs);
}

std::optional<Result> DesktopSession::SendOne(Hwnd to, const Message& message, int timeoutMs) {
  if (const std::shared_ptr<WindowState> state = Find(to)) {
    Message copy = message;
    return Dispatch(state, copy, kRecordSent, getpid());
  }
  // The owner we knew may have closed the window and its handle gone to another process:
  // ask the registry once more before giving up.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const pid_t owner = OwnerOf(to, attempt > 0);
    if (!owner) return std::nullopt;
    const BusEndpoint::CallOutcome outcome = bus_->Call(owner, to, message, timeoutMs);
    switch (outcome.status) {
      case BusEndpoint::CallStatus::kAnswered:
        return outcome.result;
      case BusEndpoint::CallStatus::kTimedOut:
        OutputDebugString("desktop bus: no answer from process " + std::to_string(owner) +
                          " within " + std::to_string(timeoutMs) +
                          " ms, gave up: " + Described(to, message));
        return std::nullopt;
      case BusEndpoint::CallStatus::kHung:
        OutputDebugString("desktop bus: process " + std::to_string(owner) +
                          " is not responding, not sent: " + Described(to, message));
        return std::nullopt;
      case BusEndpoint::CallStatus::kFailed:
        owners_.erase(to);
        return std::nullopt;
      case BusEndpoint::CallStatus::kNoWindow:
        owners_.erase(to);
        break;
    }
  }
  return std::nullopt;
}

bool DesktopSession::Post(Hwnd to, Message message) {
  if (QThread::currentThread() != thread()) {
    // Another thread: queue it here; the loop delivers or forwards it.
    return Enqueue(PostedMessage{to, std::move(message), getpid(), true});
  }
  if (to == kBroadcast) {
    for (const WindowInfo& window : registry_.List()) {
      if (window.topLevel) Post(window.hwnd, message);
    }
    return true;
  }
  if (Find(to)) return Enqueue(PostedMessage{to, std::move(message), getpid(), false});
  return PostRemote(to, message);
}

bool DesktopSession::PostRemote(Hwnd to, const Message& message) {
  const pid_t owner = OwnerOf(to, false);
  if (!owner) return false;
  if (bus_->Post(owner, to, message)) return true;
  owners_.erase(to);
  return false;
}

pid_t DesktopSession::OwnerOf(Hwnd hwnd, bool fresh) {
  if (!fresh) {
    if (const auto it = owners_.find(hwnd); it != owners_.end()) return it->second;
  }
  const std::optional<WindowInfo> entry = Lookup(hwnd);
  if (!entry) {
    owners_.erase(hwnd);
    return 0;
  }
  owners_[hwnd] = entry->pid;
  return entry->pid;
}

void DesktopSession::OnPeerGone(pid_t pid) {
  std::erase_if(owners_, [pid](const auto& item) { return item.second == pid; });
  // A process that has ended leaves its entries behind; whoever notices removes them.
  if (!ProcessStartTime(pid)) registry_.RemoveEntriesOf(pid);
}

void DesktopSession::PostQuit(int exitCode) {
  quitRequested_ = true;
  quitCode_ = exitCode;
  Wake();
}

bool DesktopSession::Enqueue(PostedMessage&& posted) {
  {
    std::lock_guard lock(postedMutex_);
    if (posted_.size() >= kMaxPosted) return false;
    posted_.push_back(std::move(posted));
  }
  Wake();
  return true;
}

void DesktopSession::Wake() {
  if (!wakePending_.exchange(true)) {
    QCoreApplication::postEvent(this, new QEvent(WakeEventType()));
  }
}

bool DesktopSession::PostedQueueEmpty() {
  std::lock_guard lock(postedMutex_);
  return posted_.empty();
}

bool DesktopSession::event(QEvent* event) {
  if (event->type() == WakeEventType()) {
    PumpOne();
    return true;
  }
  return QObject::event(event);
}

void DesktopSession::PumpOne() {
  wakePending_ = false;
  std::optional<PostedMessage> next;
  bool more = false;
  {
    std::lock_guard lock(postedMutex_);
    if (!posted_.empty()) {
      next = std::move(posted_.front());
      posted_.pop_front();
    }
    more = !posted_.empty();
  }
  // Ask for the next turn before dispatching, so that a handler that runs a loop of its
  // own (a message box) keeps the queue moving.
  if (more) Wake();
  if (next) {
    if (const std::shared_ptr<WindowState> state = Find(next->target)) {
      Dispatch(state, next->message, kRecordPosted, next->sender);
    } else if (next->forwardIfRemote) {
      // Posted by another thread to a window elsewhere, or to every window.
      Post(next->target, std::move(next->message));
    }
  }
  if (!PostedQueueEmpty()) return;
  if (quitRequested_) {
    quitRequested_ = false;
    QCoreApplication::exit(quitCode_);
    return;
  }
  DeliverDueTimers();
}

void DesktopSession::timerEvent(QTimerEvent* event) {
  const auto it = qtTimers_.find(event->timerId());
  if (it == qtTimers_.end()) return;
  const auto [hwnd, id] = it->second;
  if (PostedQueueEmpty() && dueTimers_.empty()) {
    DeliverTimer(hwnd, id);
    return;
  }
  // Posted messages come first; the tick waits, once, until they are done.
  const std::shared_ptr<WindowState> state = Find(hwnd);
  if (!state) return;
  const auto timer = state->timers.find(id);
  if (timer == state->timers.end() || timer->second.due) return;
  timer->second.due = true;
  dueTimers_.push_back({hwnd, id, timer->second.qtTimer});
  if (PostedQueueEmpty()) Wake();
}

void DesktopSession::DeliverDueTimers() {
  while (!dueTimers_.empty() && PostedQueueEmpty()) {
    const DueTimer due = dueTimers_.front();
    dueTimers_.pop_front();
    const std::shared_ptr<WindowState> state = Find(due.hwnd);
    if (!state) continue;
    const auto timer = state->timers.find(due.id);
    // A timer killed or set again since it ticked has lost that tick.
    if (timer == state->timers.end() || timer->second.qtTimer != due.qtTimer ||
        !timer->second.due) {
      continue;
    }
    timer->second.due = false;
    DeliverTimer(due.hwnd, due.id);
  }
}

void DesktopSession::DeliverTimer(Hwnd hwnd, uint32_t id) {
  if (const std::shared_ptr<WindowState> state = Find(hwnd)) {
    Message tick = Message::Plain(WM_TIMER, id, 0);
    Dispatch(state, tick, kRecordPosted, getpid());
  }
}

void DesktopSession::OnApplicationState(bool active) {
  if (active == active_) return;
  active_ = active;
  std::vector<std::shared_ptr<WindowState>> topLevel;
  for (const auto& [hwnd, state] : windows_) {
    if (state->entry.topLevel) topLevel.push_back(state);
  }
  std::sort(topLevel.begin(), topLevel.end(),
            [](const auto& a, const auto& b) { return a->entry.order < b->entry.order; });
  for (const auto& state : topLevel) {
    if (state->attached) DispatchLocal(state, Message::Plain(WM_ACTIVATEAPP, active ? 1 : 0, 0));
  }
}

}  // namespace velcrum::platform
