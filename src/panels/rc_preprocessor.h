// The preprocessor of resource scripts: #define and #undef, #include of the files beside
// the script, #if/#ifdef/#ifndef/#elif/#else/#endif, and the problems met on the way.
//
// It hands the parser the tokens of the active text only. As rc does, an included file
// whose name ends in .h or .c contributes only its directives (its #defines); any other
// included file (.rc2, .dlg) contributes its resource statements too. The headers of the
// Windows SDK that Visual C++ scripts include (afxres.h, windows.h, ...) are not needed
// beside the script: the few names of theirs that panels use are known already.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "panels/rc_expression.h"
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
  // `text`: the script's bytes; `fileName`: how reports name it; `directory`: the host
  // directory its #include names are relative to (empty: includes are not read).
  RcPreprocessor(std::string_view text, std::string fileName, std::string directory,
                 RcProblems& problems);
  ~RcPreprocessor();

  // The next token of active resource text; kEnd at the end of the script.
  RcToken Next();

  const RcDefines& defines() const { return defines_; }
  // The names the script's expressions may still expand: one share for its #if lines,
  // its included files and the identifiers the parser evaluates.
  int64_t& expansionsLeft() { return expansionsLeft_; }

 private:
  struct Source;
  struct Conditional {
    bool parentActive;
    bool active;    // the current branch is taken
    bool anyTaken;  // some branch so far was taken
    bool sawElse;
    int line;
  };

  bool Active() const { return conditionals_.empty() || conditionals_.back().active; }
  void PushSource(std::string_view bytes, std::string fileName, std::string directory,
                  bool headerOnly);
  void PopSource();
  void ReportLexProblems(Source& source);
  void Directive(const RcToken& directive);
  void Include(const std::string& rest, int line);
  bool Condition(const std::string& expression, int line);
  void Report(int line, std::string message);

  std::vector<std::unique_ptr<Source>> sources_;
  std::deque<std::string> fileNames_;  // stable storage for RcToken::file
  std::vector<Conditional> conditionals_;
  RcDefines defines_;
  RcProblems& problems_;
  bool sdkNamesDefined_ = false;
  int64_t expansionsLeft_ = kMaxRcExpansions;
};

}  // namespace velcrum
