// velcrum-run: runs a script file headless through the real interpreter.
//
// Panel authors test their scripts with it, and so do we: the debug output goes to
// standard output one line per call, message boxes are written there and answered,
// and the variables and memories can be printed afterwards.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "commands/html_commands.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "runtime/instance_name.h"
#include "runtime/module.h"
#include "runtime/module_path.h"
#include "shell/display_free_modules.h"

namespace velcrum {
namespace {

constexpr char kUsage[] =
    "usage: velcrum-run [options] SCRIPT\n"
    "\n"
    "Runs the script file SCRIPT (the \".AST\" form: records `N, \"text\"`, comment lines\n"
    "beginning with \"/\") through the Velcrum interpreter, headless. The instance name\n"
    "is formed from SCRIPT's file name with workstation number 0.\n"
    "\n"
    "Debug output (the system-debugger channel) is written to standard output, one line\n"
    "per call. A message box is written as `MESSAGEBOX <caption>: <text>` and answered OK.\n"
    "\n"
    "options:\n"
    "  --line N             run line N as a control press runs it (in-sequence flag\n"
    "                       clear); repeat to run several lines in order. Without any,\n"
    "                       line 30000 runs as the start-up section runs it.\n"
    "  --trace              the executor's line trace (OutputDebug)\n"
    "  --parser-trace       the parser's inspection lines (OutputParserTrace)\n"
    "  --inspect 0|1|2      parameter inspection: off, on, strict (default 1)\n"
    "  --msgs 0|1           parameter inspection messages (default 1)\n"
    "  --cancel-breakpoints answer breakpoint boxes with Cancel instead of OK\n"
    "  --vars               afterwards print the 52 variables, A to Z then a to z\n"
    "  --mem FIRST:LAST     afterwards print integer memories as M<index>=<value>\n"
    "  --smem FIRST:LAST    afterwards print string memories as S<index>=<text>\n"
    "  --help               show this text\n"
    "\n"
    "Exit status: 0 when the script ran, whatever it reported; 2 for a missing or\n"
    "unreadable file or a bad option.\n";

class ConsoleHost final : public Host {
 public:
  explicit ConsoleHost(bool cancelBreakpoints) : cancelBreakpoints_(cancelBreakpoints) {}

  void SystemDebuggerOut(std::string_view text) override {
    // Each call is one line; a text that brings its own line feed keeps just that one.
    if (text.ends_with('\n')) text.remove_suffix(1);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
  }

  MessageBoxAnswer ShowMessageBox(std::string_view caption, std::string_view text,
                                  MessageBoxStyle style) override {
    std::printf("MESSAGEBOX %.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                static_cast<int>(text.size()), text.data());
    const bool breakpoint =
        style.buttons == MessageBoxButtons::kOkCancel && caption.ends_with("! Debug Breakpoint !");
    return breakpoint && cancelBreakpoints_ ? MessageBoxAnswer::kCancel : MessageBoxAnswer::kOk;
  }

 private:
  bool cancelBreakpoints_;
};

struct Range {
  int first = 0;
  int last = -1;
};

struct Options {
  std::string script;
  std::vector<int> lines;
  bool trace = false;
  bool parserTrace = false;
  int inspect = 1;
  int msgs = 1;
  bool cancelBreakpoints = false;
  bool vars = false;
  std::vector<Range> mem;
  std::vector<Range> smem;
};

[[noreturn]] void Fail(const std::string& reason) {
  std::fprintf(stderr, "velcrum-run: %s (see --help)\n", reason.c_str());
  std::exit(2);
}

bool ParseInt(std::string_view text, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const std::string copy(text);
  errno = 0;
  const long parsed = std::strtol(copy.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < -2147483647L - 1 || parsed > 2147483647L) {
    return false;
  }
  value = static_cast<int>(parsed);
  return true;
}

Range ParseRange(std::string_view option, std::string_view text, int highest) {
  const size_t colon = text.find(':');
  Range range;
  if (colon == std::string_view::npos || !ParseInt(text.substr(0, colon), range.first) ||
      !ParseInt(text.substr(colon + 1), range.last) || range.first < 1 ||
      range.last < range.first || range.last > highest) {
    Fail(std::string(option) + " wants FIRST:LAST within 1:" + std::to_string(highest) + ", not '" +
         std::string(text) + "'");
  }
  return range;
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  auto value = [&](int& i) -> std::string_view {
    if (i + 1 >= argc) Fail(std::string(argv[i]) + " needs a value");
    return argv[++i];
  };
  auto choice = [&](int& i, int highest) {
    const std::string_view option = argv[i];
    int chosen = 0;
    if (!ParseInt(value(i), chosen) || chosen < 0 || chosen > highest) {
      Fail(std::string(option) + " takes 0 to " + std::to_string(highest));
    }
    return chosen;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (arg == "--line") {
      int line = 0;
      if (!ParseInt(value(i), line)) Fail("--line takes a line number");
      options.lines.push_back(line);
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg == "--parser-trace") {
      options.parserTrace = true;
    } else if (arg == "--inspect") {
      options.inspect = choice(i, 2);
    } else if (arg == "--msgs") {
      options.msgs = choice(i, 1);
    } else if (arg == "--cancel-breakpoints") {
      options.cancelBreakpoints = true;
    } else if (arg == "--vars") {
      options.vars = true;
    } else if (arg == "--mem") {
      options.mem.push_back(ParseRange(arg, value(i), kIntegerMemoryCount));
    } else if (arg == "--smem") {
      options.smem.push_back(ParseRange(arg, value(i), kStringMemoryCount));
    } else if (arg.starts_with("-") && arg.size() > 1) {
      Fail("unknown option '" + std::string(arg) + "'");
    } else if (options.script.empty()) {
      options.script = arg;
    } else {
      Fail("only one SCRIPT may be given");
    }
  }
  if (options.script.empty()) Fail("no SCRIPT given");
  return options;
}

void PrintVariables() {
  for (int i = 0; i < kVariableCount; ++i) {
    const char letter = VariableLetter(i);
    const char* text = g_szStringVariables[i][0] ? g_szStringVariables[i] : "NULL";
    std::printf("%c%%=%5ld    %c$=%s\n", letter, static_cast<long>(g_lIntegerVariables[i]), letter,
                text);
  }
}

void PrintMemories(const Options& options) {
  for (const Range& range : options.mem) {
    for (int i = range.first; i <= range.last; ++i) {
      std::printf("M%d=%ld\n", i, static_cast<long>(GetMem("MG", i)));
    }
  }
  for (const Range& range : options.smem) {
    for (int i = range.first; i <= range.last; ++i) {
      const char* text = StringMemory(i);
      std::printf("S%d=%s\n", i, text ? text : "");
    }
  }
}

int Run(int argc, char** argv) {
  const Options options = ParseOptions(argc, argv);
  if (std::FILE* probe = std::fopen(options.script.c_str(), "r")) {
    std::fclose(probe);
  } else {
    Fail("cannot read '" + options.script + "': " + std::strerror(errno));
  }

  InstallModules(DisplayFreeModules());
  ResetModules();
  ConsoleHost host(options.cancelBreakpoints);
  SetHost(&host);
  // The script stands where a panel's program file would: it names the instance, and SA
  // reports its file name.
  g_modulePath = std::filesystem::absolute(options.script).string();
  g_instanceName = FormInstanceName(options.script, 0, false);
  g_settings.enableOutputDbwin = true;
  g_settings.outputDebug = options.trace;
  g_settings.outputParserTrace = options.parserTrace;
  g_settings.parameterInspection = static_cast<Inspection>(options.inspect);
  g_settings.parameterInspectMsgs = options.msgs != 0;

  VLSTMSup_LoadFile(options.script);
  if (options.lines.empty()) {
    PushEmptyProcFrame();
    g_bInSequence = true;
    RunLine(kStartupLine, 0);
  }
  for (const int line : options.lines) {
    g_bInSequence = false;
    RunLine(line, 0);
  }
  if (options.vars) PrintVariables();
  PrintMemories(options);
  // The script ends here as the program would: pages it left open are finished.
  CloseHtmlPages();
  std::fflush(stdout);
  SetHost(nullptr);
  return 0;
}

}  // namespace
}  // namespace velcrum

int main(int argc, char** argv) {
  return velcrum::Run(argc, argv);
}
