// A reader for the few sscanf patterns that date, time and timecode texts are read with.
//
// Each read skips white space first, as sscanf's conversions do, and fails without
// moving when nothing of its kind follows; the caller stops at the first failure, so
// the fields after it keep their defaults, as with sscanf.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velcrum {

class FieldScanner {
 public:
  explicit FieldScanner(std::string_view text) : text_(text) {}

  // "%d" or "%ld" (with a width, "%02ld": at most that many characters, sign included):
  // an optional sign and at least one digit. A number beyond 32 bits reads as the
  // nearest 32-bit limit.
  std::optional<int32_t> Integer(size_t width = 0);

  // "%s": the run of characters up to the next white space.
  std::optional<std::string_view> Word();

  // A literal character of the format: matches only that character, here.
  bool Literal(char c);

 private:
  void SkipSpace();

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace velcrum
