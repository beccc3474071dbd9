// The piece splitter.
#include "interpreter/cvorn_strtok.h"

#include <algorithm>

namespace velcrum {

int Cvorn_strtok::Split(std::string_view text, char separator, int maxSeparators) {
  const int limit = std::clamp(maxSeparators + 1, 1, kMaxPieces);
  count_ = 0;
  size_t start = 0;
  while (count_ < limit) {
    size_t end = text.find(separator, start);
    const bool last = end == std::string_view::npos || count_ + 1 == limit;
    if (end == std::string_view::npos) end = text.size();
    if (end - start > kMaxPieceLength) {
      // A piece that reaches 300 characters ends the split here.
      pieces_[static_cast<size_t>(count_++)] = text.substr(start, kMaxPieceLength);
      break;
    }
    pieces_[static_cast<size_t>(count_++)] = text.substr(start, end - start);
    if (last) break;
    start = end + 1;
  }
  return count_;
}

}  // namespace velcrum
