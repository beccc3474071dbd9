// Cvorn_strtok: cuts a text into pieces at a separator character.
//
// At most 128 pieces of at most 299 characters each: splitting stops early when a piece
// would reach 300 characters or the 128th piece has begun, so whatever lies beyond is
// ignored. The pieces are views into the text, which must outlive the splitter.
#pragma once

#include <array>
#include <string_view>

namespace velcrum {

class Cvorn_strtok {
 public:
  static constexpr int kMaxPieces = 128;
  static constexpr size_t kMaxPieceLength = 299;

  // Splits into at most maxSeparators + 1 pieces, each ending at a separator or the end
  // of the text; returns the number of pieces.
  int Split(std::string_view text, char separator, int maxSeparators = kMaxPieces - 1);

  int Count() const { return count_; }

  // The piece of that index; empty outside 0 to Count() - 1.
  std::string_view Get(int index) const {
    return index >= 0 && index < count_ ? pieces_[static_cast<size_t>(index)] : std::string_view();
  }

 private:
  std::array<std::string_view, kMaxPieces> pieces_{};
  int count_ = 0;
};

}  // namespace velcrum
