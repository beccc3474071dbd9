// The signals reach the loop through a pipe: the handler only writes a byte (the one thing
// a signal handler may safely do here), and a socket notifier on the pipe's other end
// calls the request from the loop.
#include "platform/desktop/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

namespace velcrum::platform {
namespace {

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_signalled = 0;
// Kept for the life of the process: signals may come until the very end.
QSocketNotifier* g_notifier = nullptr;

void OnTerminationSignal(int signal) {
  if (g_signalled) _exit(128 + signal);
  g_signalled = 1;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(g_pipe[1], &byte, 1);
}

}  // namespace

bool RouteTerminationSignals(std::function<void()> onRequest, std::string* error) {
  if (g_pipe[0] < 0 && pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    if (error) *error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  delete g_notifier;
  g_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(g_notifier, &QSocketNotifier::activated, [onRequest = std::move(onRequest)] {
    char bytes[16];
    while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    onRequest();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGTERM, &action, nullptr) != 0 || sigaction(SIGINT, &action, nullptr) != 0) {
    if (error) *error = std::string("sigaction: ") + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace velcrum::platform
