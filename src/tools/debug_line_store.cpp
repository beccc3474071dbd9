// The debug window's lines in a ring of reused slots: an append copies the text into the
// slot after the newest, so that a burst of lines allocates nothing once the ring is warm
// and moves no line.
#include "tools/debug_line_store.h"

#include <algorithm>

namespace velcrum {

DebugLineStore::DebugLineStore() : ring_(kMaxLines) {}

bool DebugLineStore::Append(std::string_view text) {
  if (paused_) return false;
  text = text.substr(0, kMaxLineLength);
  newest_ = (newest_ + 1) % kMaxLines;
  ring_[newest_].assign(text);
  count_ = std::min(count_ + 1, kMaxLines);
  ++stored_;
  longest_ = std::max(longest_, text.size());
  return true;
}

std::string_view DebugLineStore::Line(int index) const {
  if (index < 0 || index >= count_) return {};
  return ring_[(newest_ - index + kMaxLines) % kMaxLines];
}

int DebugLineStore::IndexOf(int64_t serial) const {
  const int64_t index = stored_ - 1 - serial;
  return index >= 0 && index < count_ ? static_cast<int>(index) : -1;
}

std::string DebugLineStore::Text(int64_t first, int64_t last) const {
  std::string text;
  for (int64_t serial = std::max(first, SerialOf(count_ - 1)); serial <= last; ++serial) {
    const int index = IndexOf(serial);
    if (index < 0) continue;
    std::string_view line = Line(index);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    text.append(line);
    text += '\n';
  }
  return text;
}

}  // namespace velcrum
