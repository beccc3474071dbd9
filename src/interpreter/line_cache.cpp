// The cache of lines and their parsed commands.
#include "interpreter/line_cache.h"

#include <algorithm>

#include "interpreter/cvorn_strtok.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"

namespace velcrum {
LineHandle line_cache::g_lines[MAX_SCRIPT_LINE + 1];

namespace {

// The lowest and highest line cached since the cache was last cleared, so that clearing
// it visits only those.
int firstCached = MAX_SCRIPT_LINE + 1;
int lastCached = 0;

// The handler of every command that has no handler of its own in the table.
int DispatchViaTable(const CommandCall& call) {
  return DispatchCommand(call.text, call.line, call.index);
}

}  // namespace

CachedCommand::CachedCommand(std::string_view text, int line, int index)
    : call_{text, line, index}, arguments_(PreparseArguments(text)) {
  LookUpHandler();
}

void CachedCommand::LookUpHandler() {
  generation_ = g_commandTableGeneration;
  // Only what the dispatcher would hand to a table handler: not a breakpoint ("!"),
  // not "##", two characters and a first one up to "X".
  const std::string_view text = call_.text;
  const bool tableCommand =
      text.size() >= 2 && text[0] != '!' && !(text[0] == '#' && text[1] == '#') && text[0] <= 'X';
  handler_ = tableCommand ? FindHandler(text[0], text[1]) : nullptr;
  if (!handler_) handler_ = DispatchViaTable;
}

CachedLine::CachedLine(int line, std::string_view text, uint64_t stamp)
    : text_(text), stamp_(stamp), endsRun_(text_.starts_with("--")) {
  separators_ = static_cast<int>(std::count(text_.begin(), text_.end(), ':'));
  Cvorn_strtok splitter;
  const int count = splitter.Split(text_, ':');
  commands_.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) commands_.emplace_back(splitter.Get(i), line, i);
  commandCount_ = count;
}

void line_cache::Refill(int line, std::string_view stored, uint64_t stamp) {
  // The executor has always run a line as a C string: it ends at a NUL character.
  g_lines[line] = LineHandle(new CachedLine(line, stored.substr(0, stored.find('\0')), stamp));
  firstCached = std::min(firstCached, line);
  lastCached = std::max(lastCached, line);
}

void ClearLineCache() {
  for (int line = firstCached; line <= lastCached; ++line) line_cache::g_lines[line] = LineHandle();
  firstCached = MAX_SCRIPT_LINE + 1;
  lastCached = 0;
}

}  // namespace velcrum
