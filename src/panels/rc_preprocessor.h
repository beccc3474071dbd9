// The preprocessor of resource scripts: #define and #undef, #include of the files beside
// the script, #if/#ifdef/#ifndef/#elif/#else/#endif, #pragma code_page, the expansion of
// macros in resource text, and the problems met on the way.
//
// It hands the parser the tokens of the active text only. As rc does, an included file
// whose name ends in .h or .c contributes only its directives (its #defines; C code there
// is skipped); any other included file (.rc2, .dlg) contributes its resource statements
// too. The files of the Windows SDK and MFC that scripts include (afxres.h, windows.h,
// commctrl.h, afxres.rc, ...) are never read: their constants are known already
// (rc_sdk_constants.h).
//
// A name the script #defines is replaced where resource text uses it: by one number token
// (its text still the name) when its definition is an integer expression, else by the
// tokens of its definition (a string, a keyword, a list), a function-like macro with its
// arguments put in. A macro is not expanded again inside its own expansion.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "panels/rc_expression.h"
#include "panels/rc_file.h"
#include "panels/rc_lexer.h"

namespace velcrum {

// A problem in a resource script: the file as it was opened, its line, what is wrong.
struct RcProblem {
  std::string file;
  int line = 0;
  std::string message;

  // "<file>(<line>): <message>", the form compilers use, so editors can jump to it.
  std::string Text() const;
};

// Collects problems; after kMaxProblems it keeps one last entry saying that more followed,
// so that a file of garbage cannot flood the output.
class RcProblems {
 public:
  static constexpr size_t kMaxProblems = 100;
  void Add(std::string_view file, int line, std::string message);
  const std::vector<RcProblem>& list() const { return list_; }

 private:
  std::vector<RcProblem> list_;
  bool full_ = false;
};

class RcPreprocessor {
 public:
  // `text`: the script's bytes; `fileName`: how reports name it; `files`: where its
  // #include names are read from (null: includes are not read).
  RcPreprocessor(std::string_view text, std::string fileName, const RcFileSource* files,
                 RcProblems& problems);
  ~RcPreprocessor();

  // The next token of active resource text, macros expanded; kEnd at the end of the script.
  RcToken Next();

  // The key of the directory of the file the last token came from (rc_file.h).
  const std::string& directoryKey() const;
  // The files read so far by key, each once: the included files in the order read.
  const std::vector<std::string>& filesRead() const { return filesRead_; }

  const RcDefines& defines() const { return defines_; }
  // The names the script's expressions may still expand: one share for its #if lines,
  // its included files and the identifiers the parser evaluates.
  int64_t& expansionsLeft() { return expansionsLeft_; }

 private:
  struct Source;
  struct Expansion {
    std::string macro;
    std::vector<RcToken> tokens;
    size_t next = 0;
  };
  struct Conditional {
    bool parentActive;
    bool active;    // the current branch is taken
    bool anyTaken;  // some branch so far was taken
    bool sawElse;
    int line;
  };

  bool Active() const { return conditionals_.empty() || conditionals_.back().active; }
  RcToken SourceNext();
  RcToken RawNext();
  bool Hidden(const std::string& name) const;
  bool Expand(RcToken& token, const RcMacro& macro);
  bool Arguments(const RcToken& call, std::vector<std::vector<RcToken>>& arguments);
  void PushSource(std::string_view bytes, std::string fileName, std::string directoryKey,
                  bool headerOnly, int codePage);
  void PopSource();
  void ReportLexProblems(Source& source);
  void Directive(const RcToken& directive);
  void Include(const std::string& rest, int line);
  void Pragma(const std::string& rest);
  bool Condition(const std::string& expression, int line);
  void Report(int line, std::string message);

  const RcFileSource* files_;
  std::vector<std::unique_ptr<Source>> sources_;
  std::vector<Expansion> expansions_;  // the macros being expanded, innermost last
  std::optional<RcToken> lookahead_;   // a token read to see whether "(" follows a name
  std::string lastDirectoryKey_;
  std::vector<std::string> filesRead_;
  std::deque<std::string> fileNames_;  // stable storage for RcToken::file
  std::vector<Conditional> conditionals_;
  RcDefines defines_;
  RcProblems& problems_;
  int64_t expansionsLeft_ = kMaxRcExpansions;
};

}  // namespace velcrum
