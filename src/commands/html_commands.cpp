// The H commands and their 32 page slots.
//
// A page is kept in memory from HO to HC and then replaces its file whole, so that a
// browser that reloads the page (the refresh line asks it to) always finds a complete page,
// the previous one until the new one is done, never one cut in the middle. HO makes sure
// the file can be created (an existing page stays until the new one replaces it). The page
// goes where HO named it, even if the current directory changes before HC.
//
// Text that HW writes is taken as written, except that "%%" is one "%", as scripts write a
// percent sign; a "%" followed by anything else (a conversion such as "%d" included) stands
// as it is. Pages still open at the module's reset or at shut-down are finished with the
// closing tags HC writes, so that what was written is a complete page a browser shows.
#include "commands/html_commands.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/file_reports.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

constexpr int kHtmlSlots = 32;

struct HtmlPage {
  bool open = false;
  std::string name;      // the Windows name, for the reports
  std::string hostPath;  // where the page goes
  std::string text;      // the page so far
};

std::array<HtmlPage, kHtmlSlots + 1> g_htmlPages;  // slot n is g_htmlPages[n]

// How a page ended: HC's closing tags, and those of a page HO finishes before it reuses
// its slot.
constexpr std::string_view kCloseTags = "</BODY>\n</HTML>\n";
constexpr std::string_view kReopenCloseTags = "\n</BODY>\n</HTML>\n";

// A finished page on its way to the file; the slot is closed, whatever the outcome.
struct PageWrite {
  FileWrite outcome = FileWrite::kWritten;
  int error = 0;
  std::string name;
};

PageWrite FinishPage(HtmlPage& page, std::string_view closeTags) {
  page.text += closeTags;
  const FileWrite outcome = ReplaceFile(page.hostPath, page.text);
  const int error = errno;
  PageWrite write{outcome, error, std::move(page.name)};
  page = HtmlPage{};
  return write;
}

// A page finished by a command: a failure is reported against the slot's parameter.
void FinishPageReported(const CommandCall& call, HtmlPage& page, std::string_view closeTags) {
  const PageWrite write = FinishPage(page, closeTags);
  if (write.outcome == FileWrite::kNotOpened) {
    ReportFileNotOpened(Mnemonic(call), 1, call.text, write.name);
  } else if (write.outcome == FileWrite::kNotWritten) {
    ReportFileNotWritten(Mnemonic(call), 1, call.text, write.name, write.error);
  }
}

// HW's text as the page gets it.
std::string PageText(std::string_view text) {
  std::string written;
  written.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    written += text[i];
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') ++i;
  }
  return written;
}

// Whether a file can be created under the name: opened for appending, so that a page
// already there stays as it is until the new one replaces it.
bool CanCreate(const std::string& name) {
  if (name.empty()) return false;
  std::FILE* file = OpenWindowsFile(name, "a");
  if (!file) return false;
  std::fclose(file);
  return true;
}

// The slot of parameter 1, or nullptr after the range report.
HtmlPage* SlotOf(const CommandCall& call) {
  const int32_t slot = ParamValue(1);
  if (slot >= 1 && slot <= kHtmlSlots) return &g_htmlPages[static_cast<size_t>(slot)];
  ReportParamRange(Mnemonic(call), 1, call.text);
  return nullptr;
}

void CheckText(const CommandCall& call, int n) {
  CheckStringParam(Mnemonic(call), n, false, false, call.text);
}
void CheckNumber(const CommandCall& call, int n) {
  CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

int ExecHO(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumber(call, 1);
  CheckText(call, 2);
  CheckText(call, 3);
  CheckNumber(call, 4);
  if (!CheckParamLength(call, 2) || !CheckParamLength(call, 3)) return 0;
  HtmlPage* page = SlotOf(call);
  if (!page) return 0;
  if (page->open) FinishPageReported(call, *page, kReopenCloseTags);

  const std::string name = ScriptPathToWindows(ParamText(2));
  if (!CanCreate(name)) {
    ReportFileNotOpened(Mnemonic(call), 2, call.text, name);
    return 0;
  }
  page->open = true;
  page->name = name;
  page->hostPath = HostFilePath(name);
  page->text = "<HTML>\n<HEAD>\n<META NAME=\"Velcrum\" Content=\"Panel File\">\n";
  page->text += "<META HTTP-EQUIV=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n";
  page->text += Format("<TITLE>%s</TITLE>\n", ParamText(3));
  if (const int32_t refresh = ParamValue(4); refresh != 0) {
    page->text += Format("<META HTTP-EQUIV=\"Refresh\" CONTENT=\"%d\">\n", refresh);
  }
  page->text += "</HEAD>\n";
  return 0;
}

int ExecHW(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumber(call, 1);
  CheckText(call, 2);
  if (!CheckParamLength(call, 2)) return 0;
  HtmlPage* page = SlotOf(call);
  if (page && page->open) page->text += PageText(ParamText(2));
  return 0;
}

int ExecHC(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumber(call, 1);
  HtmlPage* page = SlotOf(call);
  if (page && page->open) FinishPageReported(call, *page, kCloseTags);
  return 0;
}

// HD and HR say nothing in the script's diagnostics when they fail; the debug output says
// why, except for a file to delete that is not there, which is what HD is often asked.
void SayNotDone(const CommandCall& call, std::string_view what, std::string_view name) {
  DebugOut(Format("%.2s: %.*s '%.*s' failed (%s)", call.text.data(), static_cast<int>(what.size()),
                  what.data(), static_cast<int>(name.size()), name.data(), std::strerror(errno)));
}

int ExecHD(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckText(call, 1);
  if (!CheckParamLength(call, 1)) return 0;
  const std::string name = ScriptPathToWindows(ParamText(1));
  if (!DeleteWindowsFile(name) && errno != ENOENT) SayNotDone(call, "deleting", name);
  return 0;
}

int ExecHR(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckText(call, 1);
  CheckText(call, 2);
  if (!CheckParamLength(call, 1) || !CheckParamLength(call, 2)) return 0;
  const std::string from = ScriptPathToWindows(ParamText(1));
  const std::string to = ScriptPathToWindows(ParamText(2));
  if (!RenameWindowsFile(from, to)) SayNotDone(call, "renaming", from);
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"HC", ExecHC}, {"HD", ExecHD}, {"HO", ExecHO}, {"HR", ExecHR}, {"HW", ExecHW},
};

}  // namespace

const CommandTable kHtmlCommands = kRows;

void CloseHtmlPages() {
  for (HtmlPage& page : g_htmlPages) {
    if (!page.open) continue;
    const PageWrite write = FinishPage(page, kCloseTags);
    if (write.outcome != FileWrite::kWritten) {
      DebugOut(Format("File could not be written: '%s' (%s) ", write.name.c_str(),
                      std::strerror(write.error)));
    }
  }
}

}  // namespace velcrum
