// Splitting command texts into words.
#include "command_words.h"

#include <charconv>
#include <cstdint>

namespace velcrum::infodriver {

std::vector<std::string> CommandWords(std::string_view text) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ' || text[at] == '\t') {
      ++at;
    } else if (text[at] == '\'') {
      const size_t close = text.find('\'', at + 1);
      const size_t end = close == std::string_view::npos ? text.size() : close;
      words.emplace_back(text.substr(at + 1, end - at - 1));
      at = end == text.size() ? end : end + 1;
    } else {
      size_t end = at;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
      words.emplace_back(text.substr(at, end - at));
      at = end;
    }
  }
  return words;
}

std::optional<int> WordNumber(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (word.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace velcrum::infodriver
