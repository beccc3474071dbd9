// The script editor's records: a line as the script file writes it, "120, "NA a% 1 a%"",
// and the checks a record passes before the editor stores or runs it.
#pragma once

#include <string>
#include <string_view>

namespace velcrum {

// The longest record the editor reads from its field: a line number, the separator, 255
// characters of text and the quotes, with room to spare.
inline constexpr size_t kMaxRecordLength = 512;

// "%d, "%s"": the line number and the text between double quotes.
std::string EditorRecord(int line, std::string_view text);

struct CheckedRecord {
  int line = 0;
  std::string text;  // what stands between the two double quotes
};

struct RecordCheck {
  std::string error;  // the status line's message; empty when the record passed
  CheckedRecord record;
};

// An empty record: "Error - NULL string"; a line number (read as "%d,") outside 1 to
// lastLine: "Error - Line number out of range"; no double quote: "Error - Quotation marks
// missing", one: "Error - Quotation mark missing", more than two: "Error - Too many
// quotation marks".
RecordCheck CheckEditorRecord(std::string_view record, int lastLine);

// The number a record begins with, 0 when it begins with none.
int RecordLineNumber(std::string_view record);

// The file "Save" writes: the instance name without its last four characters (the "."
// and the workstation number), then ".ast": "DESK_4__.012" gives "DESK_4__.ast".
std::string EditorDefaultFileName(std::string_view instanceName);

}  // namespace velcrum
