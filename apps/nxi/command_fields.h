// The fields of the command texts that panels send (RC 12 5 7 ',CAM' 3, IW 40 'ON AIR' 2 3):
// blanks separate fields, and a field that begins with a single quote runs to the next
// quote that is followed by a blank or ends the text, so that a quoted text may hold
// blanks and quotes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velcrum::nxi {

struct CommandField {
  std::string text;  // without its quotes
  bool quoted = false;
};

std::vector<CommandField> CommandFields(std::string_view text);

// Field i read as a decimal number as atol would (0 when missing or not a number).
long FieldNumber(const std::vector<CommandField>& fields, size_t i);
// Field i's text; empty when missing.
std::string FieldText(const std::vector<CommandField>& fields, size_t i);

}  // namespace velcrum::nxi
