// The printf-style formatter for formats that come from scripts.
//
// A script's format never reaches the C library: this formatter reads it and writes the
// result itself, following the printf rules (flags "-+ #0", width and precision with "*",
// the length modifiers, the conversions d i u o x X c s S e E f F g G p n and "%%").
// Every conversion but "%%" takes the next argument in order; a missing argument reads
// as the number 0 and the empty text. "%n" takes its argument and writes nothing. A
// conversion letter that printf does not know is copied to the result as written.
//
// The result can be far longer than anyone keeps ("%999999d"), so the formatter keeps
// only a prefix of it and counts the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum {

// One argument as a script hands it over: a numeric conversion uses the number, a text
// conversion the text.
struct FormatArgument {
  int32_t number = 0;
  std::string text;
};

struct FormattedText {
  std::string text;    // the first `keep` characters of the result
  int64_t length = 0;  // the whole result's length; -1 when printf would fail (over INT_MAX)
};

FormattedText FormatScriptText(std::string_view format, std::span<const FormatArgument> arguments,
                               size_t keep);

// The number of arguments SC's scan takes for a format: "%" sets a pending flag; while
// it is set, one of the letters d l u x D L U X or s S takes the next argument and clears
// it; every other character leaves it as it is. So "%ld" and "%5d" take one, "%c" and
// "%f" none.
int CountGatheredArguments(std::string_view format);

// The arguments for a format from the parameters first to last of the running command
// (the parameter table of the last GetArguments): as many as the scan takes, each with
// the parameter's value and text; beyond `last` they are missing.
std::vector<FormatArgument> GatherFormatArguments(std::string_view format, int first, int last);

}  // namespace velcrum
