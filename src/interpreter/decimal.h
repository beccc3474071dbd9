// Reading text as a decimal integer, the way scripts' numbers are read everywhere.
//
// Optional white space, an optional sign, then digits; reading stops at the first other
// character, and text that does not begin with a number reads as 0 (C's atol). Script
// integers are 32 bits: a number beyond that range reads as the nearest 32-bit limit,
// as the 32-bit atol the scripts were written against did.
#pragma once

#include <cstdint>
#include <string_view>

namespace velcrum {

int32_t ReadDecimal(std::string_view text);

// True when the text holds at least one decimal digit anywhere.
bool ContainsDigit(std::string_view text);

}  // namespace velcrum
