// The script editor's records: the form the list shows, the checks before a record is
// stored or run, and the default file name.
#include "tools/editor_record.h"

#include <gtest/gtest.h>

namespace velcrum {
namespace {

TEST(EditorRecordTest, ARecordIsTheLineNumberAndTheTextInDoubleQuotes) {
  EXPECT_EQ(EditorRecord(120, "NA a% 1 a%"), "120, \"NA a% 1 a%\"");
  EXPECT_EQ(EditorRecord(7, ""), "7, \"\"");
}

TEST(EditorRecordTest, ChecksGiveTheirMessageOrTheLineAndItsText) {
  const struct {
    const char* record;
    const char* error;
    int line;
    const char* text;
  } cases[] = {
      {"", "Error - NULL string", 0, ""},
      {"x, \"TP\"", "Error - Line number out of range", 0, ""},
      {"0, \"TP\"", "Error - Line number out of range", 0, ""},
      {"32768, \"TP\"", "Error - Line number out of range", 0, ""},
      {"120, TP", "Error - Quotation marks missing", 0, ""},
      {"120, \"TP", "Error - Quotation mark missing", 0, ""},
      {"120, \"TP\" \"", "Error - Too many quotation marks", 0, ""},
      {"120, \"TP 'a' 1 3001\"", "", 120, "TP 'a' 1 3001"},
      {"32767, \"\"", "", 32767, ""},
      // What follows the closing quote is not the line's.
      {" 9,\"EI\" trailing", "", 9, "EI"},
  };
  for (const auto& c : cases) {
    const RecordCheck check = CheckEditorRecord(c.record, 32767);
    EXPECT_EQ(check.error, c.error) << c.record;
    EXPECT_EQ(check.record.line, c.line) << c.record;
    EXPECT_EQ(check.record.text, c.text) << c.record;
  }
}

TEST(EditorRecordTest, TheDefaultFileDropsTheWorkstationNumber) {
  EXPECT_EQ(EditorDefaultFileName("DESK_4__.012"), "DESK_4__.ast");
  EXPECT_EQ(EditorDefaultFileName("ab"), ".ast");
  EXPECT_EQ(RecordLineNumber("30000, \"PS 1\""), 30000);
  EXPECT_EQ(RecordLineNumber("// comment"), 0);
}

}  // namespace
}  // namespace velcrum
