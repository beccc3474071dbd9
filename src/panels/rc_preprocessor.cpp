// The preprocessor of resource scripts.
#include "panels/rc_preprocessor.h"

#include <algorithm>

#include "interpreter/format.h"
#include "panels/rc_sdk_constants.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

constexpr size_t kMaxIncludeDepth = 16;
constexpr size_t kMaxExpansionDepth = 32;        // a macro whose expansion uses another ...
constexpr size_t kMaxArgumentTokens = 1u << 16;  // the tokens of one macro call's arguments

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualNoCase(text.substr(text.size() - suffix.size()), suffix);
}

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
  std::string directoryKey;
  bool headerOnly;
  size_t conditionalDepth;  // the conditionals open when the file began
  size_t lexProblemsReported = 0;

  Source(std::string bytes, std::string_view name, std::string dir, bool header, size_t depth)
      : text(std::move(bytes)),
        lexer(text),
        fileName(name),
        directoryKey(std::move(dir)),
        headerOnly(header),
        conditionalDepth(depth) {}
};

RcPreprocessor::RcPreprocessor(std::string_view text, std::string fileName,
                               const RcFileSource* files, RcProblems& problems)
    : files_(files), problems_(problems) {
  // rc compiles with these defined; APSTUDIO_INVOKED (the resource editor) is not.
  defines_["RC_INVOKED"].body = Tokens("1");
  defines_["_WIN32"].body = Tokens("1");
  PushSource(text, std::move(fileName), "", false, 1252);
}

RcPreprocessor::~RcPreprocessor() = default;

const std::string& RcPreprocessor::directoryKey() const {
  return lastDirectoryKey_;
}

void RcPreprocessor::PushSource(std::string_view bytes, std::string fileName,
                                std::string directoryKey, bool headerOnly, int codePage) {
  fileNames_.push_back(std::move(fileName));
  sources_.push_back(std::make_unique<Source>(RcSourceText(bytes), fileNames_.back(),
                                              std::move(directoryKey), headerOnly,
                                              conditionals_.size()));
  sources_.back()->lexer.SetCodePage(codePage);
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
    const RcLexProblem& problem = found[source.lexProblemsReported];
    // C code in a header may hold character literals such as '"', which look like strings
    // that do not end; rc skips that code, and so does this reader.
    if (source.headerOnly && problem.inString) continue;
    problems_.Add(source.fileName, problem.line, problem.message);
  }
}

void RcPreprocessor::Report(int line, std::string message) {
  problems_.Add(sources_.empty() ? std::string_view() : sources_.back()->fileName, line,
                std::move(message));
}

RcToken RcPreprocessor::Next() {
  while (true) {
    RcToken token = RawNext();
    if (token.kind != RcTokenKind::kName || Hidden(token.text)) return token;
    const auto macro = defines_.find(token.text);
    if (macro == defines_.end()) return token;
    // A copy: the expansion may meet a #define or #undef of this very name.
    const RcMacro definition = macro->second;
    if (!Expand(token, definition)) return token;
  }
}

bool RcPreprocessor::Hidden(const std::string& name) const {
  for (const Expansion& expansion : expansions_) {
    if (expansion.macro == name) return true;
  }
  return false;
}

RcToken RcPreprocessor::RawNext() {
  if (lookahead_) {
    RcToken token = std::move(*lookahead_);
    lookahead_.reset();
    return token;
  }
  // An expansion stays open until a token is wanted after its last one, so that the
  // last one is still hidden from itself.
  while (!expansions_.empty()) {
    Expansion& top = expansions_.back();
    if (top.next < top.tokens.size()) return top.tokens[top.next++];
    expansions_.pop_back();
  }
  return SourceNext();
}

// Replaces `token`, a name with a definition: true when it became a number or its
// expansion was pushed (the caller then reads on); false when it stays as it is.
bool RcPreprocessor::Expand(RcToken& token, const RcMacro& macro) {
  if (expansionsLeft_ <= 0 || expansions_.size() >= kMaxExpansionDepth) return false;
  std::vector<RcToken> tokens;
  if (macro.functionLike) {
    RcToken next = RawNext();
    const bool called = next.IsPunct("(");
    if (!called) {
      lookahead_ = std::move(next);
      return false;
    }
    std::vector<std::vector<RcToken>> arguments;
    if (!Arguments(token, arguments)) return true;
    if (arguments.size() == 1 && arguments[0].empty() && macro.params.empty()) arguments.clear();
    if (arguments.size() != macro.params.size()) {
      problems_.Add(
          token.file, token.line,
          Format("macro '%s' takes %d arguments, not %d", token.text.c_str(),
                 static_cast<int>(macro.params.size()), static_cast<int>(arguments.size())));
      return true;
    }
    for (const RcToken& part : macro.body) {
      size_t param = 0;
      while (param < macro.params.size() &&
             !(part.kind == RcTokenKind::kName && part.text == macro.params[param])) {
        ++param;
      }
      if (param < macro.params.size()) {
        tokens.insert(tokens.end(), arguments[param].begin(), arguments[param].end());
      } else {
        tokens.push_back(part);
      }
    }
  } else {
    // A definition that is an integer expression becomes its value, the token keeping the
    // name for reports.
    size_t pos = 0;
    int32_t value = 0;
    std::string error;
    expansionsLeft_ -= static_cast<int64_t>(macro.body.size());
    if (EvaluateRcExpression(macro.body, pos, defines_, false, value, error, expansionsLeft_) &&
        pos == macro.body.size()) {
      --expansionsLeft_;
      token.kind = RcTokenKind::kNumber;
      token.number = static_cast<uint32_t>(value);
      return false;
    }
    if (expansionsLeft_ <= 0) return false;
    tokens = macro.body;
  }
  expansionsLeft_ -= static_cast<int64_t>(tokens.size()) + 1;
  for (size_t i = 0; i < tokens.size(); ++i) {
    tokens[i].line = token.line;
    tokens[i].file = token.file;
    tokens[i].firstOnLine = i == 0 && token.firstOnLine;
  }
  expansions_.push_back({token.text, std::move(tokens)});
  return true;
}

// The arguments of a macro call, after its "(": split at the commas outside parentheses,
// up to the matching ")". False (reported) when the call does not end.
bool RcPreprocessor::Arguments(const RcToken& call, std::vector<std::vector<RcToken>>& arguments) {
  arguments.assign(1, {});
  int depth = 0;
  for (size_t taken = 0; taken < kMaxArgumentTokens; ++taken) {
    RcToken token = RawNext();
    if (token.kind == RcTokenKind::kEnd) break;
    if (depth == 0 && token.IsPunct(")")) return true;
    if (depth == 0 && token.IsPunct(",")) {
      arguments.emplace_back();
      continue;
    }
    if (token.IsPunct("(")) ++depth;
    if (token.IsPunct(")")) --depth;
    arguments.back().push_back(std::move(token));
  }
  problems_.Add(call.file, call.line, "macro call '" + call.text + "' without its closing ')'");
  return false;
}

RcToken RcPreprocessor::SourceNext() {
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
    lastDirectoryKey_ = source.directoryKey;
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
    RcMacro entry;
    entry.functionLike = body.starts_with("(");
    entry.body = Tokens(body);
    if (entry.functionLike) {
      // (a, b) before the body: the parameters' names.
      size_t end = 1;
      while (end < entry.body.size() && !entry.body[end].IsPunct(")")) {
        if (entry.body[end].kind == RcTokenKind::kName)
          entry.params.push_back(entry.body[end].text);
        ++end;
      }
      if (end == entry.body.size()) {
        Report(line, "#define " + macro + "( without its closing ')'");
        return;
      }
      entry.body.erase(entry.body.begin(), entry.body.begin() + static_cast<ptrdiff_t>(end) + 1);
    }
    defines_[macro] = std::move(entry);
  } else if (name == "undef") {
    defines_.erase(std::string(LeadingName(rest)));
  } else if (name == "include") {
    Include(rest, line);
  } else if (name == "error") {
    Report(line, "#error " + rest);
  } else if (name == "pragma") {
    Pragma(rest);
  } else if (name == "line" || name == "warning" || name.empty()) {
    // Nothing that changes what is read here.
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

// #pragma code_page(N) sets the code page of the rest of the file (and of the files it
// includes from there on); DEFAULT is 1252 here. Every other pragma is ignored, as rc
// ignores those it does not know.
void RcPreprocessor::Pragma(const std::string& rest) {
  const std::vector<RcToken> tokens = Tokens(rest);
  if (tokens.size() < 4 || tokens[0].text != "code_page" || !tokens[1].IsPunct("(")) return;
  int codePage = 1252;
  if (tokens[2].kind == RcTokenKind::kNumber) codePage = static_cast<int>(tokens[2].number);
  sources_.back()->lexer.SetCodePage(codePage);
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
  // The SDK's and MFC's own files live with the compiler, not beside the script.
  if (IsRcSdkFile(name)) return;
  if (sources_.size() > kMaxIncludeDepth) {
    Report(line, "#include nested too deeply: '" + name + "'");
    return;
  }
  const Source& including = *sources_.back();
  const std::string key = RcFileKey(including.directoryKey, name);
  std::string bytes;
  std::string shownName;
  std::string error;
  if (!files_ || !files_->Read(key, bytes, shownName, error)) {
    Report(line, "#include file not found: '" + name + "'");
    return;
  }
  if (std::find(filesRead_.begin(), filesRead_.end(), key) == filesRead_.end()) {
    filesRead_.push_back(key);
  }
  const bool headerOnly = EndsWithNoCase(name, ".h") || EndsWithNoCase(name, ".c") ||
                          EndsWithNoCase(name, ".hpp") || EndsWithNoCase(name, ".hh") ||
                          EndsWithNoCase(name, ".hxx");
  PushSource(bytes, shownName, RcKeyDirectory(key), headerOnly, including.lexer.codePage());
}

}  // namespace velcrum
