// A page a panel writes with HO, HW and HC is a page a browser shows: a real panel writes
// it, headless Chromium loads it, and its document comes back with the text and the
// refresh line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "panel_fixture.h"
#include "support/program_output.h"

namespace velcrum::testing {
namespace {

using platform::testing::Peer;

class HtmlPageTest : public PanelTest {};

TEST_F(HtmlPageTest, APanelsPageRendersInABrowserWithItsRefreshLine) {
  if (!HasProgram("chromium")) GTEST_SKIP() << "chromium is not installed (scripts/setup.sh)";
  WriteVelcrumIni({"[System]", "KALNXIEnable=0"});
  std::filesystem::create_directories(root_ / "drive_c" / "web");
  Peer& panel = StartPanel(MakePanel(
      "STUDIO",
      {R"(30000, "HO 1 'c;/web/studio.htm' 'Studio B' 5:HW 1 '<BODY><H1>On air</H1>':JA 100")",
       R"(100, "HW 1 '<P>Levels 100%% ready</P>':HC 1:EQ 100")"}));
  ASSERT_TRUE(AwaitExit(panel)) << ErrorOutput(panel);
  const std::filesystem::path page = root_ / "drive_c" / "web" / "studio.htm";
  ASSERT_TRUE(std::filesystem::exists(page)) << ErrorOutput(panel);

  // Chromium's own wait is bounded by timeout(1); its complaints about the missing session
  // bus go to a file.
  const std::string command =
      "timeout -k 5 90 chromium --headless --no-sandbox --disable-gpu "
      "--user-data-dir='" +
      logs_ + "/chromium' --dump-dom 'file://" + page.string() + "' 2>'" + logs_ + "/chromium.err'";
  const std::string document = ProgramOutput(command);
  EXPECT_NE(document.find("<title>Studio B</title>"), std::string::npos) << document;
  EXPECT_NE(document.find(R"(<meta http-equiv="Refresh" content="5">)"), std::string::npos)
      << document;
  EXPECT_NE(document.find("<h1>On air</h1>"), std::string::npos) << document;
  EXPECT_NE(document.find("<p>Levels 100% ready</p>"), std::string::npos) << document;
}

}  // namespace
}  // namespace velcrum::testing
