// The script store, its loading from the bound string table and the script file, and
// the script file writer.
#include "interpreter/script_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/version.h"
#include "platform/atomic_file.h"

namespace velcrum {
namespace {

constexpr size_t kMaxLineText = kLineBufferSize - 1;
// The bound table is read through a 511-character buffer, the script file's physical
// lines with a 511-character limit of which the first 255 count.
constexpr size_t kBoundStringLimit = 510;
constexpr size_t kFileRecordLimit = 511;

// Slot 0 is unused so that a line number is its own index. Every text stored gets a
// stamp never given before, so that a reader can tell whether a line still holds the
// text it saw (VLSTMSup_Fetch).
struct StoredLine {
  std::optional<std::string> text;
  uint64_t stamp = 0;
};
std::vector<StoredLine> storedLines(MAX_SCRIPT_LINE + 1);
uint64_t lastStamp = 0;
// The lowest and highest line stored since the store was last empty, so that emptying
// it visits only those.
int firstStored = MAX_SCRIPT_LINE + 1;
int lastStored = 0;

bool IsSyntaxAcceptable(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
         (c >= '\t' && c <= '\r') || c == '.' || c == ':' || c == '-';
}

bool HasNonAscii(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) > 127; });
}

// Bound-table problems go to the debug output and straight to the system debugger.
void ReportLoading(const std::string& text) {
  DebugOut(text);
  TheHost().SystemDebuggerOut(text);
}

void ReportNonAscii(int line) {
  ReportLoading(Format("<%s> WARNING: line: %d, cmd: '%s' %s", g_instanceName.c_str(), line,
                       "Loading STRING TABLES", "Parameter error NON-ASCII character present.\n"));
}

// "::" becomes ":", a "::" at the very end goes entirely, then one trailing ":" goes.
void NormaliseSeparators(std::string& text) {
  for (size_t at = text.find("::"); at != std::string::npos; at = text.find("::")) {
    if (at + 2 == text.size()) {
      text.erase(at);
    } else {
      text.erase(at, 1);
    }
  }
  if (!text.empty() && text.back() == ':') text.pop_back();
}

// The leading "%d," of a record: white space, a sign, at least one digit.
std::optional<int> LeadingLineNumber(std::string_view record) {
  size_t i = 0;
  while (i < record.size() && (record[i] == ' ' || (record[i] >= '\t' && record[i] <= '\r'))) ++i;
  if (i < record.size() && (record[i] == '+' || record[i] == '-')) ++i;
  if (i >= record.size() || record[i] < '0' || record[i] > '9') return std::nullopt;
  return ReadDecimal(record);
}

// Reads one physical line, keeping at most its first kFileRecordLimit bytes (with its
// line feed when that fits); the rest of a longer line is read and dropped, so it can
// never be taken for a record of its own. The length is that of the bytes read, NULs
// included: a NUL ends the record's text later, not the physical line.
bool ReadPhysicalLine(std::FILE* file, std::string& record) {
  record.clear();
  int c;
  while ((c = std::getc(file)) != EOF) {
    if (record.size() < kFileRecordLimit) record.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return c != EOF || !record.empty();
}

struct Section {
  const char* header;
  int first;
  int last;
};

constexpr Section kSections[] = {
    {"// ************************ Main Section ************************ //", 1, 29999},
    {"// ************************ STARTUP Section ********************* //", 30000, 30499},
    {"// ************************ WAKEUP Section  ********************* //", 30500, 30999},
    {"// ************************ CLOSEDOWN Section ******************* //", 31000, 31499},
    {"// ************************ SLEEP Section *********************** //", 31500, 31999},
    {"// ************************ DATABASE Section ******************** //", 32000, 32768},
};

constexpr const char* kFileHeader[] = {
    "// ************************************************************** //",
    "// *                Velcrum Stringtable File                   * //",
    "// *      Records: line number, a comma, a space, quoted text   * //",
    "// ************************************************************** //",
    "//",
    "//",
};

}  // namespace

uint64_t g_lineStamps[MAX_SCRIPT_LINE + 1];

int VLSTMSup_SetMem(int line, std::string_view text) {
  if (line < 1 || line > MAX_SCRIPT_LINE) return 0;
  StoredLine& stored = storedLines[static_cast<size_t>(line)];
  stored.text.emplace(text.substr(0, kMaxLineText));
  stored.stamp = ++lastStamp;
  g_lineStamps[line] = stored.text->empty() ? 0 : stored.stamp;
  firstStored = std::min(firstStored, line);
  lastStored = std::max(lastStored, line);
  return 1;
}

int VLSTMSup_GetMem(int line, char* buffer) {
  buffer[0] = '\0';
  if (line < 1 || line > MAX_SCRIPT_LINE) return 0;
  const std::optional<std::string>& slot = storedLines[static_cast<size_t>(line)].text;
  if (!slot) return 0;
  std::memcpy(buffer, slot->c_str(), slot->size() + 1);
  return static_cast<int>(slot->size());
}

bool VLSTMSup_Exists(int line) {
  return line >= 1 && line <= MAX_SCRIPT_LINE &&
         storedLines[static_cast<size_t>(line)].text.has_value();
}

std::string_view VLSTMSup_Fetch(int line, uint64_t& stamp) {
  stamp = 0;
  if (line < 1 || line > MAX_SCRIPT_LINE) return {};
  const StoredLine& stored = storedLines[static_cast<size_t>(line)];
  if (!stored.text) return {};
  stamp = stored.stamp;
  return *stored.text;
}

void VLSTMSup_FreeAll() {
  for (int line = firstStored; line <= lastStored; ++line) {
    storedLines[static_cast<size_t>(line)].text.reset();
    g_lineStamps[line] = 0;
  }
  firstStored = MAX_SCRIPT_LINE + 1;
  lastStored = 0;
}

int VLSTMSup_LoadFile(const std::string& path) {
  DebugOut(path);
  if (path.empty()) return 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
  if (!file) {
    DebugOut(Format("VLSTMSup_LoadFile: File does not exist: '%s' ", path.c_str()));
    return 0;
  }
  std::string record;
  while (ReadPhysicalLine(file.get(), record)) {
    // Only what a C string would hold counts, and only its first 255 characters.
    record.resize(std::min({record.size(), std::strlen(record.c_str()), kMaxLineText}));
    if (record.empty() || record[0] == '/') continue;
    record.resize(std::min(record.size(), record.find_first_of("\r\n")));
    const std::optional<int> line = LeadingLineNumber(record);
    if (!line) continue;
    std::string_view text = record;
    if (const size_t quote = text.find('"'); quote != std::string_view::npos) {
      // Everything after the first quote, less the line's last character (the closing
      // quote, or whatever stands in its place when the record was cut).
      const size_t end = text.size() - 1;
      text = quote + 1 < end ? text.substr(quote + 1, end - (quote + 1)) : std::string_view();
    }
    VLSTMSup_SetMem(*line, text);
  }
  return 1;
}

int VLSTMSup_SaveFile(const std::string& path) {
  if (path.empty()) return 0;
  std::string contents;
  for (const char* header : kFileHeader) (contents += header) += '\n';
  for (const Section& section : kSections) {
    (contents += section.header) += '\n';
    for (int line = section.first; line <= section.last; ++line) {
      if (const auto& slot = storedLines[static_cast<size_t>(line)].text) {
        contents += Format("%d, \"%s\"\n", line, slot->c_str());
      }
    }
    contents += "//\n";
  }
  // Replaced whole, so that a save that fails leaves the script file as it was.
  switch (ReplaceFile(path, contents)) {
    case FileWrite::kWritten:
      return 1;
    case FileWrite::kNotOpened:
      DebugOut(Format("VLSTMSup_SaveFile: File does not exist: '%s' ", path.c_str()));
      return 0;
    case FileWrite::kNotWritten:
      DebugOut(Format("VLSTMSup_SaveFile: File could not be written: '%s' (%s) ", path.c_str(),
                      std::strerror(errno)));
      return 0;
  }
  return 0;
}

ScriptLoad LoadStringTables(const ResourceSource& resources) {
  std::string lastLine;
  std::string text;
  for (int n = 1; n <= kHighestJumpTarget; ++n) {
    if (!resources.LoadString(n, text)) continue;
    text.resize(std::min(text.size(), kBoundStringLimit));
    if (text.empty()) continue;
    if (text.size() > kMaxLineText) {
      ReportLoading(Format("<%s> ERROR: line: %d, cmd: '%s' %s", g_instanceName.c_str(), n,
                           "Loading STRING TABLES", "String table entry is longer than 255.\n"));
      ReportLoading(Format("<%s> ERROR: line: %d (Found %d characters). Truncated.\n",
                           g_instanceName.c_str(), n, static_cast<int>(text.size())));
    }
    if (HasNonAscii(text)) ReportNonAscii(n);
    if (text.size() < 2 || !IsSyntaxAcceptable(text[0]) || !IsSyntaxAcceptable(text[1])) {
      const std::string firstTwo = text.substr(0, 2);
      const std::string where = Format(
          "This application contains a syntax error in line: %d, and may contain illegal "
          "characters in: '%s'. ",
          n, firstTwo.c_str());
      const std::string last = Format("Last line string: '%s'", lastLine.c_str());
      TheHost().ShowMessageBox(Format("Velcrum V%s", kVersion), where + last, {});
      TheHost().SystemDebuggerOut(where);
      TheHost().SystemDebuggerOut(last);
      return ScriptLoad::kSyntaxStop;
    }
    NormaliseSeparators(text);
    if (text.starts_with("--")) continue;
    if (HasNonAscii(text)) ReportNonAscii(n);
    text.resize(std::min(text.size(), kMaxLineText));
    VLSTMSup_SetMem(n, text);
    lastLine = text;
  }
  return ScriptLoad::kLoaded;
}

ScriptLoad LoadScript(const ResourceSource& resources, const std::string& modulePath) {
  VLSTMSup_FreeAll();
  std::string startup;
  if (resources.LoadString(kStartupLine, startup) && !startup.empty() &&
      LoadStringTables(resources) == ScriptLoad::kSyntaxStop) {
    return ScriptLoad::kSyntaxStop;
  }
  if (modulePath.find(".EXE") != std::string::npos) {
    VLSTMSup_LoadFile(modulePath.substr(0, modulePath.size() - 4) + ".AST");
  }
  return ScriptLoad::kLoaded;
}

}  // namespace velcrum
