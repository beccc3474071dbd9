// Finding a panel's companion resource script beside its program file, and loading it.
#include "panels/companion_script.h"

#include <gtest/gtest.h>

#include "interpreter/script_store.h"
#include "panels/rc_test_directory.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

using testing::RcTestDirectory;

TEST(CompanionScript, NameReplacesTheExtensionOfTheFileName) {
  const struct {
    const char* module;
    const char* companion;
  } cases[] = {
      {"/opt/panels/DESK4.EXE", "/opt/panels/DESK4.rc"},
      {"/opt/panels/Desk 4.exe", "/opt/panels/Desk 4.rc"},
      {"/opt/panels/desk.v2.EXE", "/opt/panels/desk.v2.rc"},
      {"/opt/panels.d/DESK4", "/opt/panels.d/DESK4.rc"},  // a "." in a directory
      {"/opt/panels.d/DESK4.EXE", "/opt/panels.d/DESK4.rc"},
      {"DESK4.EXE", "DESK4.rc"},
  };
  for (const auto& c : cases) EXPECT_EQ(CompanionScriptName(c.module), c.companion) << c.module;
}

TEST(CompanionScript, FoundExactlyOrInAnotherCase) {
  RcTestDirectory dir;
  const std::string exact = dir.Write("panels.d/DESK4.rc", "");
  dir.Write("panels.d/desk4.RC", "");  // the exact name wins over another case
  const std::string other = dir.Write("panels.d/studio.RC", "");
  EXPECT_EQ(FindCompanionScript(dir.Path("panels.d/DESK4.EXE")), exact);
  EXPECT_EQ(FindCompanionScript(dir.Path("panels.d/Studio.exe")), other);
  EXPECT_EQ(FindCompanionScript(dir.Path("panels.d/other.EXE")), "");
  // "panels.d" must not be cut at its ".": the panel "panels" has no companion.
  EXPECT_EQ(FindCompanionScript(dir.Path("panels.d/panels")), "");
  // A directory with the companion's name is no script.
  std::filesystem::create_directories(dir.Path("panels.d/dir.rc"));
  EXPECT_EQ(FindCompanionScript(dir.Path("panels.d/dir.EXE")), "");
  EXPECT_EQ(FindCompanionScript(""), "");
}

class CompanionResourcesTest : public testing::InterpreterTest {};

TEST_F(CompanionResourcesTest, LoadsTheStringTableAndReportsProblems) {
  RcTestDirectory dir;
  dir.Write("DESK4.RC",
            "STRINGTABLE\nBEGIN\n 30000 \"EC 2:PS 1\"\n 120 \"CM 'x'\"\n"
            " 32700 \"Desk 4\"\n 9 \"open\nEND\n");
  const RcResources resources = LoadCompanionResources(dir.Path("DESK4.EXE"));
  std::string text;
  ASSERT_TRUE(resources.LoadString(32700, text));
  EXPECT_EQ(text, "Desk 4");
  EXPECT_FALSE(resources.LoadString(121, text));
  EXPECT_EQ(host.debugger, std::vector<std::string>{dir.Path("DESK4.RC") +
                                                    "(6): string without its closing quote"});

  // The runtime's script store takes the table as the panel's bound script.
  LoadScript(resources, dir.Path("DESK4.EXE"));
  char line[kLineBufferSize];
  ASSERT_GT(VLSTMSup_GetMem(120, line), 0);
  EXPECT_STREQ(line, "CM 'x'");
  ASSERT_GT(VLSTMSup_GetMem(30000, line), 0);
  EXPECT_STREQ(line, "EC 2:PS 1");
}

TEST_F(CompanionResourcesTest, NoCompanionIsAnEmptyTableSilently) {
  RcTestDirectory dir;
  const RcResources resources = LoadCompanionResources(dir.Path("DESK4.EXE"));
  EXPECT_EQ(resources.StringCount(), 0u);
  EXPECT_TRUE(host.debugger.empty());
}

}  // namespace
}  // namespace velcrum
