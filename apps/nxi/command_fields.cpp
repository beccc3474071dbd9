// Splitting command texts into fields.
#include "command_fields.h"

#include <cstdlib>

#include "platform/ascii_case.h"

namespace velcrum::nxi {

std::vector<CommandField> CommandFields(std::string_view text) {
  std::vector<CommandField> fields;
  size_t at = 0;
  while (at < text.size()) {
    if (IsAsciiSpace(text[at])) {
      ++at;
      continue;
    }
    CommandField field;
    if (text[at] == '\'') {
      field.quoted = true;
      size_t end = at + 1;
      while (end < text.size() &&
             !(text[end] == '\'' && (end + 1 == text.size() || IsAsciiSpace(text[end + 1])))) {
        ++end;
      }
      field.text = std::string(text.substr(at + 1, end - at - 1));
      at = end + 1;
    } else {
      size_t end = at;
      while (end < text.size() && !IsAsciiSpace(text[end])) ++end;
      field.text = std::string(text.substr(at, end - at));
      at = end;
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

long FieldNumber(const std::vector<CommandField>& fields, size_t i) {
  return i < fields.size() ? std::strtol(fields[i].text.c_str(), nullptr, 10) : 0;
}

std::string FieldText(const std::vector<CommandField>& fields, size_t i) {
  return i < fields.size() ? fields[i].text : std::string();
}

}  // namespace velcrum::nxi
