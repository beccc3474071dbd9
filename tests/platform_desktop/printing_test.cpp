// The desktop's line printer, printing to a PDF file that poppler's tools read back.
#include "platform/printing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QPrinterInfo>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "support/program_output.h"

namespace velcrum::platform::testing {
namespace {

using velcrum::testing::HasProgram;

std::string Output(const std::string& command) {
  return velcrum::testing::ProgramOutput(command);
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Each test prints into its own scratch directory through VELCRUM_PRINT_TO.
class PrintingTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    char scratch[] = "/tmp/velcrum-print-test-XXXXXX";
    ASSERT_NE(mkdtemp(scratch), nullptr);
    scratch_ = scratch;
    pdf_ = scratch_ + "/list.pdf";
    setenv("VELCRUM_PRINT_TO", pdf_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VELCRUM_PRINT_TO");
    RemoveTree(scratch_);
    DesktopTest::TearDown();
  }

  // The scratch directory's entries other than . and ..
  std::string Listing() const { return Output("ls -A " + scratch_); }

  std::string scratch_;
  std::string pdf_;
};

std::string LineText(int number) {
  char text[32];
  std::snprintf(text, sizeof text, "Item %02d", number);
  return text;
}

TEST_F(PrintingTest, PrintsLinesInOrderOnPagesOfSixtyFour) {
  if (!HasProgram("pdftotext") || !HasProgram("pdfinfo")) GTEST_SKIP() << "poppler-utils missing";
  std::vector<std::string> lines;
  for (int number = 1; number <= 70; ++number) lines.push_back(LineText(number));
  // Windows-1252 e acute, last in its line: not the start of a UTF-8 sequence cut short.
  lines[4] += " caf\xE9";

  const PrintResult result = PrintLines(lines);
  ASSERT_TRUE(result.printed) << result.error;
  EXPECT_EQ(result.error, "");

  const std::string info = Output("pdfinfo " + pdf_);
  EXPECT_TRUE(std::regex_search(info, std::regex("Title: +Velcrum\n"))) << info;
  EXPECT_TRUE(std::regex_search(info, std::regex("Pages: +2\n"))) << info;

  // pdftotext ends each page with a form feed: the first 64 lines on page one, the rest on
  // page two, each in order.
  const std::string text = Output("pdftotext -layout " + pdf_ + " -");
  const size_t pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos) << text;
  size_t previous = 0;
  for (int number = 1; number <= 70; ++number) {
    const size_t at = text.find(LineText(number), previous);
    ASSERT_NE(at, std::string::npos) << LineText(number) << " missing or out of order:\n" << text;
    EXPECT_EQ(at < pageBreak, number <= 64) << LineText(number);
    previous = at;
  }
  EXPECT_NE(text.find("Item 05 caf\xC3\xA9"), std::string::npos) << text;

  // Every line starts 160 device units (at the PDF's 1200 dpi: 9.6 points) from the
  // page's left edge.
  const std::string boxes = Output("pdftotext -bbox " + pdf_ + " -");
  const std::regex item(R"re(<word xMin="([0-9.]+)"[^>]*>Item</word>)re");
  int starts = 0;
  for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), item);
       it != std::sregex_iterator(); ++it, ++starts) {
    EXPECT_NEAR(std::stod((*it)[1]), 9.6, 0.5);
  }
  EXPECT_EQ(starts, 70);
  EXPECT_EQ(Listing(), "list.pdf\n");  // no scratch file left beside it
}

TEST_F(PrintingTest, EmptyListPrintsNothing) {
  const PrintResult result = PrintLines({});
  EXPECT_FALSE(result.printed);
  EXPECT_EQ(result.error, "");
  EXPECT_FALSE(Exists(pdf_));
}

TEST_F(PrintingTest, UnwritableDestinationFailsAndLeavesNothing) {
  const std::string missing = scratch_ + "/no such directory/list.pdf";
  setenv("VELCRUM_PRINT_TO", missing.c_str(), 1);
  const PrintResult result = PrintLines({"one line"});
  EXPECT_FALSE(result.printed);
  EXPECT_NE(result.error.find(missing), std::string::npos) << result.error;
  EXPECT_EQ(Listing(), "");
}

TEST_F(PrintingTest, NoDefaultPrinterIsReported) {
  unsetenv("VELCRUM_PRINT_TO");
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a printer";
  const PrintResult result = PrintLines({"one line"});
  EXPECT_FALSE(result.printed);
  EXPECT_EQ(result.error, "no default printer");
}

TEST_F(PrintingTest, ClosedDesktopHasNoPrintingSupport) {
  CloseDesktop();
  const PrintResult result = PrintLines({"one line"});
  EXPECT_FALSE(result.printed);
  EXPECT_EQ(result.error, "no printing support");
  EXPECT_FALSE(Exists(pdf_));
}

}  // namespace
}  // namespace velcrum::platform::testing
