// The executor's cache of the lines it runs.
//
// A line is fetched from the script store every time it runs, because a script may
// change a line while it runs. What the executor makes of the text (its cut into
// commands, each command's parameter tokens and handler) depends on nothing but the
// text, so it is kept and used again for as long as the store holds the same text for
// that line, which the store's stamp tells.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/command_table.h"
#include "interpreter/executor_state.h"
#include "interpreter/preparsed_arguments.h"
#include "interpreter/script_store.h"

namespace velcrum {

// One command of a cached line: the command at `index` of line `line`.
class CachedCommand {
 public:
  CachedCommand(std::string_view text, int line, int index);

  std::string_view Text() const { return call_.text; }
  PreparsedArguments& Arguments() { return arguments_; }

  // Runs the command as DispatchCommand would at its index and the given line: the
  // handler looked up once (again after the command table changes) is called directly;
  // breakpoints, "##", unknown and unbuilt commands have the dispatcher itself as their
  // handler. The line is the command's own unless a jump taken earlier in the line
  // already counts the rest of it as the target line.
  int Dispatch(int line) {
    if (generation_ != g_commandTableGeneration) LookUpHandler();
    if (line == call_.line) return handler_(call_);
    return handler_(CommandCall{call_.text, line, call_.index});
  }

 private:
  void LookUpHandler();

  const CommandCall call_;  // the text within the line's text, its line and its index
  PreparsedArguments arguments_;
  CommandHandler handler_ = nullptr;  // never null once looked up
  uint32_t generation_ = 0;
};

class CachedLine {
 public:
  // The cached form of the text of line `line`.
  CachedLine(int line, std::string_view text, uint64_t stamp);
  CachedLine(const CachedLine&) = delete;
  CachedLine& operator=(const CachedLine&) = delete;

  // The text as the executor runs it: the stored text up to any NUL character.
  const std::string& Text() const { return text_; }
  // A line beginning with "--" ends the run.
  bool EndsRun() const { return endsRun_; }
  // The store's stamp of the text this was made from.
  uint64_t Stamp() const { return stamp_; }
  // The number of ":" in the text (the line has one command more).
  int Separators() const { return separators_; }
  // The commands, as the line splitter cuts them (at most 128).
  int CommandCount() const { return commandCount_; }
  CachedCommand& Command(int index) { return commands_[static_cast<size_t>(index)]; }

 private:
  friend class LineHandle;

  int references_ = 0;
  const std::string text_;
  const uint64_t stamp_;
  bool endsRun_ = false;
  int separators_ = 0;
  std::vector<CachedCommand> commands_;
  int commandCount_ = 0;  // commands_.size(), kept as the executor's loop bound
};

// Keeps a cached line alive while a run uses it, even when the line changes meanwhile
// (an evaluated text replacing the scratch line that is running, for example).
class LineHandle {
 public:
  LineHandle() = default;
  explicit LineHandle(CachedLine* line) : line_(line) {
    if (line_) ++line_->references_;
  }
  LineHandle(const LineHandle&) = delete;
  LineHandle& operator=(const LineHandle&) = delete;
  LineHandle(LineHandle&& other) noexcept : line_(other.line_) { other.line_ = nullptr; }
  LineHandle& operator=(LineHandle&& other) noexcept {
    if (this != &other) {
      Release();
      line_ = other.line_;
      other.line_ = nullptr;
    }
    return *this;
  }
  ~LineHandle() { Release(); }

  explicit operator bool() const { return line_ != nullptr; }
  CachedLine* Get() const { return line_; }
  CachedLine& operator*() const { return *line_; }
  CachedLine* operator->() const { return line_; }

 private:
  void Release() {
    if (line_ && --line_->references_ == 0) delete line_;
    line_ = nullptr;
  }
  CachedLine* line_ = nullptr;
};

namespace line_cache {
// One cached line per line number; the cache holds a reference to each.
extern LineHandle g_lines[MAX_SCRIPT_LINE + 1];
// Makes the cached form of the line's stored text.
void Refill(int line, std::string_view stored, uint64_t stamp);
}  // namespace line_cache

// Fetches the line from the script store and answers its cached form, made anew when
// the stored text has changed; nullptr when the line is missing or empty. The cache
// keeps it until the line changes: a run that goes on using it holds a LineHandle.
inline CachedLine* FetchLine(int line) {
  const uint64_t stamp = VLSTMSup_Stamp(line);
  if (stamp == 0) return nullptr;
  const LineHandle& cached = line_cache::g_lines[line];
  if (!cached || cached->Stamp() != stamp) {
    uint64_t fetched;
    line_cache::Refill(line, VLSTMSup_Fetch(line, fetched), stamp);
  }
  return &*cached;
}

// Drops every cached line that no run is using.
void ClearLineCache();

}  // namespace velcrum
