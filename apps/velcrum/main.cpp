// velcrum: the panel runtime. One process per panel; the program's file name names the
// panel, and its arguments, joined by spaces, are the panel's start parameter (S$, S%).
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "module_path.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/termination_signals.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "shell/runtime_host.h"
#include "shell/runtime_modules.h"
#include "shell/startup.h"

namespace {

const char kHelp[] =
    "Usage: PANEL [PARAMETER...]\n"
    "\n"
    "Runs the operator panel this program file is named after: a link to or a copy of\n"
    "velcrum named \"DESK 4.EXE\" runs the panel \"DESK 4\", with its script in\n"
    "\"DESK 4.AST\" and its resources (string table) in \"DESK 4.rc\" beside it. As on\n"
    "Windows, the script file is looked for only when the name contains \".EXE\".\n"
    "The arguments, joined by spaces, are the panel's start parameter (S$ and S%).\n"
    "\n"
    "Environment:\n"
    "  VELCRUM_DESKTOP      the desktop directory shared with NXI and the other panels\n"
    "  VELCRUM_ROOT, VELCRUM_DRIVE_C ...   where Windows drive letters live on this host\n"
    "  CC_ROOT, CC_SYSTEM   the configuration and system directories, as on Windows\n"
    "  CC_WORKSTATION       the workstation number (1 to 999)\n"
    "  VELCRUM_MESSAGEBOX   ok|cancel|yes|no: answer every message box at once (headless)\n"
    "  VELCRUM_SCREENSHOT   a PNG file: the main window is pictured there when it closes\n"
    "  QT_QPA_PLATFORM=offscreen   run without a display\n"
    "\n"
    "SIGTERM or SIGINT closes the panel as its Exit does (CLOSEDOWN section, closing log\n"
    "lines); a second one ends it at once with status 128 + the signal.\n"
    "\n"
    "Debug output (the system debugger) goes to standard error. The exit status is 0\n"
    "when the panel ended normally or was already running; 1 when the desktop could not\n"
    "be opened. \"--help\" as the only argument shows this text, so a panel cannot be\n"
    "started with exactly that parameter.\n";

std::string CommandTail(int argc, char** argv) {
  std::string tail;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) tail += ' ';
    tail += argv[i];
  }
  return tail;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  const std::string modulePath = velcrum::ModulePathFromArgv0(argv[0]);
  const std::string tail = CommandTail(argc, argv);

  QApplication application(argc, argv);
  std::string error;
  if (!velcrum::platform::OpenDesktop(&error)) {
    std::fprintf(stderr, "velcrum: cannot open the desktop: %s\n", error.c_str());
    return 1;
  }
  // SIGTERM and SIGINT close the panel as its Exit does: CLOSEDOWN section, closing log
  // lines and all.
  if (!velcrum::platform::RouteTerminationSignals(
          [] {
            velcrum::platform::Post(velcrum::g_hwndMain,
                                    velcrum::platform::Message::Plain(velcrum::platform::WM_CLOSE));
          },
          &error)) {
    std::fprintf(stderr, "velcrum: %s\n", error.c_str());
  }
  velcrum::InstallModules(velcrum::RuntimeModules());
  velcrum::RuntimeHost host;
  velcrum::SetHost(&host);
  const int exitCode = velcrum::VelcrumEntry(modulePath, tail);
  velcrum::SetHost(nullptr);
  velcrum::platform::CloseDesktop();
  return exitCode;
}
