// The preprocessor of resource scripts.
#include "panels/rc_preprocessor.h"

#include <filesystem>

#include "interpreter/format.h"
#include "panels/rc_file.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

constexpr size_t kMaxIncludeDepth = 16;

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

// The last component of a name written with "\" or "/".
std::string_view BaseName(std::string_view name) {
  const size_t slash = name.find_last_of("\\/");
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

// Headers of the Windows SDK and MFC that resource scripts include for their names.
bool IsSdkHeader(std::string_view name) {
  constexpr std::string_view kHeaders[] = {"windows.h", "winres.h",   "winresrc.h", "afxres.h",
                                           "winuser.h", "winuser.rh", "winver.h",   "commctrl.h",
                                           "dlgs.h",    "richedit.h", "ntdef.h",    "winnt.h"};
  for (std::string_view header : kHeaders) {
    if (EqualNoCase(BaseName(name), header)) return true;
  }
  return false;
}

// The names of those headers that panels' scripts use as identifiers.
constexpr std::pair<std::string_view, std::string_view> kSdkNames[] = {
    {"IDOK", "1"},  {"IDCANCEL", "2"}, {"IDABORT", "3"}, {"IDRETRY", "4"}, {"IDIGNORE", "5"},
    {"IDYES", "6"}, {"IDNO", "7"},     {"IDCLOSE", "8"}, {"IDHELP", "9"},  {"IDC_STATIC", "(-1)"}};

std::vector<RcToken> Tokens(std::string_view text) {
  RcLexer lexer(text);
  std::vector<RcToken> tokens;
  for (RcToken token = lexer.Next(); token.kind != RcTokenKind::kEnd; token = lexer.Next()) {
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::string Trim(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && IsAsciiSpace(text[begin])) ++begin;
  size_t end = text.size();
  while (end > begin && IsAsciiSpace(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

// Splits "name rest" at the end of a leading identifier.
std::string_view LeadingName(std::string_view text) {
  size_t end = 0;
  while (end < text.size() && (IsAsciiAlnum(text[end]) || text[end] == '_')) {
    ++end;
  }
  return text.substr(0, end);
}

}  // namespace

std::string RcProblem::Text() const {
  return Format("%s(%d): %s", file.c_str(), line, message.c_str());
}

void RcProblems::Add(std::string_view file, int line, std::string message) {
  if (full_) return;
  if (list_.size() + 1 >= kMaxProblems) {
    full_ = true;
    message = "further problems are not listed";
  }
  list_.push_back({std::string(file), line, std::move(message)});
}

struct RcPreprocessor::Source {
  std::string text;
  RcLexer lexer;
  std::string_view fileName;
  std::string directory;
  bool headerOnly;
  size_t conditionalDepth;  // the conditionals open when the file began
  size_t lexProblemsReported = 0;

  Source(std::string bytes, std::string_view name, std::string dir, bool header, size_t depth)
      : text(std::move(bytes)),
        lexer(text),
        fileName(name),
        directory(std::move(dir)),
        headerOnly(header),
        conditionalDepth(depth) {}
};

RcPreprocessor::RcPreprocessor(std::string_view text, std::string fileName, std::string directory,
                               RcProblems& problems)
    : problems_(problems) {
  // rc compiles with these defined; APSTUDIO_INVOKED (the resource editor) is not.
  defines_["RC_INVOKED"].body = Tokens("1");
  defines_["_WIN32"].body = Tokens("1");
  PushSource(text, std::move(fileName), std::move(directory), false);
}

RcPreprocessor::~RcPreprocessor() = default;

void RcPreprocessor::PushSource(std::string_view bytes, std::string fileName, std::string directory,
                                bool headerOnly) {
  fileNames_.push_back(std::move(fileName));
  sources_.push_back(std::make_unique<Source>(RcSourceText(bytes), fileNames_.back(),
                                              std::move(directory), headerOnly,
                                              conditionals_.size()));
}

void RcPreprocessor::PopSource() {
  Source& source = *sources_.back();
  ReportLexProblems(source);
  // A file ends every conditional it opened.
  while (conditionals_.size() > source.conditionalDepth) {
    problems_.Add(source.fileName, conditionals_.back().line, "#if without #endif");
    conditionals_.pop_back();
  }
  sources_.pop_back();
}

void RcPreprocessor::ReportLexProblems(Source& source) {
  const std::vector<RcLexProblem>& found = source.lexer.problems();
  for (; source.lexProblemsReported < found.size(); ++source.lexProblemsReported) {
    problems_.Add(source.fileName, found[source.lexProblemsReported].line,
                  found[source.lexProblemsReported].message);
  }
}

void RcPreprocessor::Report(int line, std::string message) {
  problems_.Add(sources_.empty() ? std::string_view() : sources_.back()->fileName, line,
                std::move(message));
}

RcToken RcPreprocessor::Next() {
  while (!sources_.empty()) {
    Source& source = *sources_.back();
    RcToken token = source.lexer.Next();
    token.file = source.fileName;
    ReportLexProblems(source);
    if (token.kind == RcTokenKind::kEnd) {
      PopSource();
      continue;
    }
    if (token.kind == RcTokenKind::kDirective) {
      Directive(token);
      continue;
    }
    if (!Active() || source.headerOnly) continue;
    return token;
  }
  return {};
}

void RcPreprocessor::Directive(const RcToken& directive) {
  const std::string text = Trim(directive.text);
  const std::string name(LeadingName(text));
  const std::string rest = Trim(std::string_view(text).substr(name.size()));
  const int line = directive.line;

  if (name == "if" || name == "ifdef" || name == "ifndef") {
    const bool parentActive = Active();
    bool taken = false;
    if (parentActive) {
      if (name == "if") {
        taken = Condition(rest, line);
      } else {
        const std::string macro(LeadingName(rest));
        if (macro.empty()) Report(line, "#" + name + " without a name");
        taken = (defines_.count(macro) != 0) == (name == "ifdef");
      }
    }
    conditionals_.push_back({parentActive, taken, taken, false, line});
    return;
  }
  if (name == "elif" || name == "else" || name == "endif") {
    if (conditionals_.size() <= sources_.back()->conditionalDepth) {
      Report(line, "#" + name + " without #if");
      return;
    }
    Conditional& open = conditionals_.back();
    if (name == "endif") {
      conditionals_.pop_back();
      return;
    }
    if (open.sawElse) {
      Report(line, "#" + name + " after #else");
      open.active = false;
      return;
    }
    if (name == "else") {
      open.sawElse = true;
      open.active = open.parentActive && !open.anyTaken;
    } else {
      open.active = open.parentActive && !open.anyTaken && Condition(rest, line);
    }
    open.anyTaken = open.anyTaken || open.active;
    return;
  }
  if (!Active()) return;

  if (name == "define") {
    const std::string macro(LeadingName(rest));
    if (macro.empty() || IsAsciiDigit(macro[0])) {
      Report(line, "#define without a name");
      return;
    }
    const std::string_view body = std::string_view(rest).substr(macro.size());
    RcMacro& entry = defines_[macro];
    entry.functionLike = body.starts_with("(");
    entry.body = Tokens(body);
  } else if (name == "undef") {
    defines_.erase(std::string(LeadingName(rest)));
  } else if (name == "include") {
    Include(rest, line);
  } else if (name == "error") {
    Report(line, "#error " + rest);
  } else if (name == "pragma" || name == "line" || name == "warning" || name.empty()) {
    // code_page and the like: nothing that changes what is read here.
  } else {
    Report(line, "unknown directive #" + name);
  }
}

bool RcPreprocessor::Condition(const std::string& expression, int line) {
  const std::vector<RcToken> tokens = Tokens(expression);
  size_t pos = 0;
  int32_t value = 0;
  std::string error;
  if (!EvaluateRcExpression(tokens, pos, defines_, true, value, error, expansionsLeft_)) {
    Report(line, "#if: " + error);
    return false;
  }
  if (pos != tokens.size()) {
    Report(line, "#if: unexpected '" + tokens[pos].text + "'");
    return false;
  }
  return value != 0;
}

void RcPreprocessor::Include(const std::string& rest, int line) {
  std::string name;
  if (rest.size() >= 2 && (rest[0] == '"' || rest[0] == '<')) {
    const size_t close = rest.find(rest[0] == '"' ? '"' : '>', 1);
    if (close != std::string::npos) name = rest.substr(1, close - 1);
  }
  if (name.empty()) {
    Report(line, "#include without a file name in quotes or <>");
    return;
  }
  if (sources_.size() > kMaxIncludeDepth) {
    Report(line, "#include nested too deeply: '" + name + "'");
    return;
  }
  const std::string& directory = sources_.back()->directory;
  std::string hostPath;
  if (!directory.empty()) {
    const bool drive = name.size() >= 2 && IsAsciiAlpha(name[0]) && name[1] == ':';
    hostPath = HostPath(drive ? name : directory + "/" + name);
  }
  std::string bytes;
  std::string error;
  if (hostPath.empty() || !ReadRcFile(hostPath, bytes, error)) {
    if (IsSdkHeader(name)) {
      // The SDK's own headers live with the compiler, not beside the script.
      if (!sdkNamesDefined_) {
        for (const auto& [macro, value] : kSdkNames) {
          if (!defines_.count(std::string(macro))) {
            defines_[std::string(macro)].body = Tokens(value);
          }
        }
        sdkNamesDefined_ = true;
      }
      return;
    }
    Report(line, "#include file not found: '" + name + "'");
    return;
  }
  const bool headerOnly =
      EndsWithNoCase(name, ".h") || EndsWithNoCase(name, ".c") || EndsWithNoCase(name, ".hpp");
  PushSource(bytes, hostPath, std::filesystem::path(hostPath).parent_path().string(), headerOnly);
}

}  // namespace velcrum
