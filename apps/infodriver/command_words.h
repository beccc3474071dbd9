// The words of a command text as panels send them to a driver ("XW 20 'ON AIR' 4 0"):
// separated by blanks, a word in single quotes kept whole with its blanks (the quotes
// removed). A quote that is never closed runs to the end of the text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum::infodriver {

std::vector<std::string> CommandWords(std::string_view text);

// A word read as a whole decimal number (an optional sign, then digits only, within 32
// bits); nothing otherwise.
std::optional<int> WordNumber(std::string_view word);

}  // namespace velcrum::infodriver
