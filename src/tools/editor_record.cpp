// The script editor's records.
#include "tools/editor_record.h"

#include <algorithm>
#include <cstdio>

#include "interpreter/format.h"

namespace velcrum {

std::string EditorRecord(int line, std::string_view text) {
  const std::string owned(text);
  return Format("%d, %c%s%c", line, '"', owned.c_str(), '"');
}

int RecordLineNumber(std::string_view record) {
  const std::string owned(record);
  int line = 0;
  return std::sscanf(owned.c_str(), "%d,", &line) == 1 ? line : 0;
}

RecordCheck CheckEditorRecord(std::string_view record, int lastLine) {
  RecordCheck check;
  if (record.empty()) {
    check.error = "Error - NULL string";
    return check;
  }
  const int line = RecordLineNumber(record);
  if (line < 1 || line > lastLine) {
    check.error = "Error - Line number out of range";
    return check;
  }
  const auto quotes = std::count(record.begin(), record.end(), '"');
  if (quotes == 0) {
    check.error = "Error - Quotation marks missing";
  } else if (quotes == 1) {
    check.error = "Error - Quotation mark missing";
  } else if (quotes > 2) {
    check.error = "Error - Too many quotation marks";
  } else {
    const size_t open = record.find('"');
    const size_t close = record.find('"', open + 1);
    check.record = {line, std::string(record.substr(open + 1, close - open - 1))};
  }
  return check;
}

std::string EditorDefaultFileName(std::string_view instanceName) {
  return std::string(instanceName.substr(
             0, instanceName.size() - std::min<size_t>(4, instanceName.size()))) +
         ".ast";
}

}  // namespace velcrum
