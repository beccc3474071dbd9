// The parser of resource scripts.
#include "panels/rc_parser.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "panels/rc_file.h"

namespace velcrum {
namespace {

// Resource types whose statement has header lines (STYLE, CAPTION "...", FONT ...)
// between the type and the BEGIN of its block.
bool HasHeader(const RcToken& type) {
  constexpr std::string_view kTypes[] = {"DIALOG",       "DIALOGEX",    "MENU",   "MENUEX",
                                         "ACCELERATORS", "VERSIONINFO", "TOOLBAR"};
  for (std::string_view name : kTypes) {
    if (type.IsKeyword(name)) return true;
  }
  return false;
}

bool IsMemoryOption(const RcToken& token) {
  constexpr std::string_view kOptions[] = {"PRELOAD",  "LOADONCALL",  "FIXED",
                                           "MOVEABLE", "DISCARDABLE", "PURE",
                                           "IMPURE",   "SHARED",      "NONSHARED"};
  for (std::string_view name : kOptions) {
    if (token.IsKeyword(name)) return true;
  }
  return false;
}

bool IsBegin(const RcToken& token) {
  return token.IsKeyword("BEGIN") || token.IsPunct("{");
}
bool IsEnd(const RcToken& token) {
  return token.IsKeyword("END") || token.IsPunct("}");
}
bool AtEnd(const RcToken& token) {
  return token.kind == RcTokenKind::kEnd;
}

// How a token is named in a problem: its text, or the byte's value when it is no text.
std::string Describe(const RcToken& token) {
  if (AtEnd(token)) return "end of file";
  if (token.kind == RcTokenKind::kString) return "string \"" + token.text.substr(0, 40) + "\"";
  std::string shown;
  for (const char c : token.text.substr(0, 40)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown.push_back(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      shown += hex;
    }
  }
  return "'" + shown + "'";
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& fileName, const std::string& directory)
      : pp_(text, fileName, directory, problems_) {}

  RcScript Run() {
    while (!AtEnd(Peek())) Statement();
    RcScript script;
    script.strings = std::move(strings_);
    script.defines = pp_.defines();
    script.problems = problems_.list();
    return script;
  }

 private:
  const RcToken& Peek() {
    if (!peeked_) peeked_ = pp_.Next();
    return *peeked_;
  }
  RcToken Next() {
    RcToken token = Peek();
    peeked_.reset();
    return token;
  }
  void Report(const RcToken& at, std::string message) {
    problems_.Add(at.file, at.line, std::move(message));
  }
  // Drops the tokens up to the next line.
  void SkipRestOfLine() {
    while (!AtEnd(Peek()) && !Peek().firstOnLine) Next();
  }
  // A STRINGTABLE at the start of a line cannot belong to the block being read: the
  // block lacks its END.
  bool StartsStringTable(const RcToken& token) {
    return token.firstOnLine && token.IsKeyword("STRINGTABLE");
  }

  void Statement() {
    const RcToken first = Next();
    if (first.IsKeyword("STRINGTABLE")) {
      StringTable(first);
    } else if (first.IsKeyword("LANGUAGE") || first.IsKeyword("VERSION") ||
               first.IsKeyword("CHARACTERISTICS")) {
      SkipRestOfLine();
    } else if (IsEnd(first)) {
      Report(first, "END without BEGIN");
    } else if (IsBegin(first)) {
      Report(first, "BEGIN without a resource statement");
      SkipBlock(first);
    } else if (first.kind == RcTokenKind::kName || first.kind == RcTokenKind::kNumber ||
               first.kind == RcTokenKind::kString) {
      const RcToken& type = Peek();
      if (AtEnd(type) || type.firstOnLine ||
          (type.kind != RcTokenKind::kName && type.kind != RcTokenKind::kNumber)) {
        Report(first, "resource statement without a type: " + Describe(first));
        SkipRestOfLine();
        return;
      }
      SkipResource(Next());
    } else {
      Report(first, "unexpected " + Describe(first));
      SkipRestOfLine();
    }
  }

  // A resource this reader does not take in: its header, then its block or file name.
  void SkipResource(const RcToken& type) {
    const bool header = HasHeader(type);
    bool data = false;
    while (true) {
      const RcToken& token = Peek();
      if (IsBegin(token)) {
        SkipBlock(Next());
        return;
      }
      if (AtEnd(token) || IsEnd(token) || StartsStringTable(token) ||
          (!header && token.firstOnLine)) {
        if (header) {
          Report(type, type.text + " without BEGIN");
        } else if (!data) {
          Report(type, type.text + " resource without data");
        }
        return;
      }
      const RcToken taken = Next();
      data = true;
      if (!header && taken.kind == RcTokenKind::kString) return;  // its file name
    }
  }

  // From after BEGIN (or "{") to its matching END (or "}").
  void SkipBlock(const RcToken& begin) {
    int depth = 1;
    while (depth > 0) {
      const RcToken& token = Peek();
      if (AtEnd(token) || StartsStringTable(token)) {
        Report(begin, "BEGIN without END");
        return;
      }
      if (IsBegin(token)) ++depth;
      if (IsEnd(token)) --depth;
      Next();
    }
  }

  void StringTable(const RcToken& keyword) {
    // Options: memory flags, LANGUAGE x, y, VERSION n, CHARACTERISTICS n.
    while (true) {
      const RcToken& token = Peek();
      if (IsBegin(token)) {
        Next();
        break;
      }
      if (AtEnd(token) || StartsStringTable(token)) {
        Report(keyword, "STRINGTABLE without BEGIN");
        return;
      }
      const RcToken option = Next();
      if (option.IsKeyword("LANGUAGE") || option.IsKeyword("VERSION") ||
          option.IsKeyword("CHARACTERISTICS")) {
        SkipRestOfLine();
      } else if (!IsMemoryOption(option)) {
        Report(option, "unexpected " + Describe(option) + " before BEGIN of STRINGTABLE");
      }
    }
    while (true) {
      const RcToken& token = Peek();
      if (IsEnd(token)) {
        Next();
        return;
      }
      if (AtEnd(token) || StartsStringTable(token)) {
        Report(keyword, "STRINGTABLE without END");
        return;
      }
      Entry();
    }
  }

  // id "text" or id, "text"; the identifier a number, a #defined name or an expression.
  void Entry() {
    const RcToken start = Peek();
    std::vector<RcToken> idTokens;
    while (true) {
      const RcToken& token = Peek();
      if (AtEnd(token) || token.IsPunct(",") || token.kind == RcTokenKind::kString ||
          IsEnd(token) || (!idTokens.empty() && token.firstOnLine)) {
        break;
      }
      idTokens.push_back(Next());
    }
    if (idTokens.empty()) {
      Report(start, "string table entry without an identifier: " + Describe(start));
      Next();
      SkipRestOfLine();
      return;
    }
    size_t pos = 0;
    int32_t id = 0;
    std::string error;
    bool good =
        EvaluateRcExpression(idTokens, pos, pp_.defines(), false, id, error, pp_.expansionsLeft());
    if (good && pos != idTokens.size()) {
      good = false;
      error = "unexpected " + Describe(idTokens[pos]);
    }
    if (good && (id < 0 || id > 0xFFFF)) {
      good = false;
      error = "identifier " + std::to_string(id) + " is outside 0 to 65535";
    }
    if (!good) Report(start, "string table entry: " + error);

    if (Peek().IsPunct(",")) Next();
    if (Peek().kind != RcTokenKind::kString) {
      if (good) Report(start, "string table entry without its string");
      if (!Peek().firstOnLine) SkipRestOfLine();
      return;
    }
    const RcToken text = Next();
    if (!AtEnd(Peek()) && !Peek().firstOnLine && !IsEnd(Peek())) {
      Report(Peek(), "unexpected " + Describe(Peek()) + " after the string");
      SkipRestOfLine();
    }
    if (!good) return;
    const bool added = strings_.try_emplace(id, text.text.substr(0, text.text.find('\0'))).second;
    if (!added) {
      Report(start, "string table identifier " + std::to_string(id) +
                        " appears twice; the first one counts");
    }
  }

  RcProblems problems_;
  RcPreprocessor pp_;
  std::optional<RcToken> peeked_;
  std::map<int, std::string> strings_;
};

}  // namespace

RcScript ParseRcText(std::string_view text, const std::string& fileName,
                     const std::string& directory) {
  return Parser(text, fileName, directory).Run();
}

RcScript ParseRcFile(const std::string& hostPath) {
  std::string bytes;
  std::string error;
  if (!ReadRcFile(hostPath, bytes, error)) {
    RcScript script;
    script.problems.push_back({hostPath, 0, "resource script " + error});
    return script;
  }
  std::error_code code;
  std::string directory = std::filesystem::absolute(hostPath, code).parent_path().string();
  return ParseRcText(bytes, hostPath, directory);
}

}  // namespace velcrum
