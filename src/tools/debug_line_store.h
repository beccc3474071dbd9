// The debug window's lines: the last 1000 lines of the debug output, newest first, each a
// private copy of at most 256 characters, with the longest length seen (for the horizontal
// scroll range) and the paused flag, under which appended lines are lost, not queued.
//
// Every line that was ever stored has a serial number, counted from the first, so that a
// selection keeps naming the same lines while new ones push the older ones down and out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum {

class DebugLineStore {
 public:
  static constexpr int kMaxLines = 1000;
  static constexpr size_t kMaxLineLength = 256;

  DebugLineStore();

  // Stores a copy of the text (cut to kMaxLineLength) as line 0; the oldest line goes when
  // the store is full. False, and nothing stored, while paused.
  bool Append(std::string_view text);

  int Count() const { return count_; }
  // Line `index`, 0 the newest; empty beyond the count.
  std::string_view Line(int index) const;
  // The longest line length seen since the store was made (lines that left count too).
  size_t LongestLength() const { return longest_; }

  bool Paused() const { return paused_; }
  void SetPaused(bool paused) { paused_ = paused; }

  // The serial number of line `index`; the serial of line 0 is the number of lines ever
  // stored less one.
  int64_t SerialOf(int index) const { return stored_ - 1 - index; }
  // The index of the line with that serial number, -1 when it is no longer (or not yet)
  // stored.
  int IndexOf(int64_t serial) const;

  // The stored lines with serials from `first` to `last`, oldest first, each ended by a line
  // feed (a line's own line ends are not doubled); serials no longer stored are skipped.
  std::string Text(int64_t first, int64_t last) const;
  // Every stored line so.
  std::string Text() const { return Text(SerialOf(count_ - 1), SerialOf(0)); }

 private:
  std::vector<std::string> ring_;  // kMaxLines slots, reused
  int newest_ = -1;                // the slot of line 0
  int count_ = 0;
  int64_t stored_ = 0;
  size_t longest_ = 0;
  bool paused_ = false;
};

}  // namespace velcrum
