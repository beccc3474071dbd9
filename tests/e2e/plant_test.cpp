// Panels against a simulated plant: real velcrum processes with nxi running a plant file and
// an infodriver program, on a private desktop. What a panel saw comes back as the text it
// sends to NXI with SM, which nxi's log shows.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "panel_fixture.h"

namespace velcrum::testing {
namespace {

using platform::testing::Peer;

const std::vector<std::string> kSettings = {
    "[Debug]", "EnableOutputDBWIN=1", "OutputDebug=1", "[32Bit]", "SynchronousMode=1",
};

constexpr char kPlant[] =
    "[router 12]\n"
    "destinations = 4\n"
    "sources = 4\n"
    "revertive = integer\n"
    "source 3 = CAM 3\n"
    "route 1 = 1\n"
    "[router 40]\n"
    "destinations = 16\n"
    "sources = 16\n"
    "served = yes\n"
    "[info 41]\n"
    "slots = 4\n";

class PlantTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    WriteVelcrumIni(kSettings);
    plant_ = logs_ + "/test.plant";
    std::ofstream(plant_) << kPlant;
  }

  // Waits until nxi has received the SM text.
  bool AwaitSaid(const std::string& text, int timeoutMs = 10000) {
    const std::string quoted = "\"" + text + "\"";
    return WaitUntil(
        [&] {
          for (const std::string& line : NxiLog()) {
            if (line.starts_with("2191 ") && line.ends_with(quoted)) return true;
          }
          return false;
        },
        timeoutMs);
  }

  std::string plant_;
};

TEST_F(PlantTest, ACrosspointTakenByThePanelComesBackAsItsRevertive) {
  StartNxi({"--plant", plant_});
  Peer& panel =
      StartPanel(MakePanel("ROUTER", {R"(30000, "RR 12 1 4 5000 1 A%:RC 12 2 3")",
                                      R"(5002, "SC B$ 'tally %d %s' A% S$:SM B$:EQ 100")"}));
  EXPECT_TRUE(AwaitSaid("tally 2 CAM 3")) << ErrorOutput(panel);
  EXPECT_TRUE(AwaitExit(panel));
}

TEST_F(PlantTest, TheOperatorsRouteReachesEveryRegisteredPanel) {
  StartNxi({"--plant", plant_});
  const std::vector<std::string> script = {
      R"(30000, "RR 12 1 4 5000 1")",
      R"(5004, "SC B$ 'seen %d %s' S% S$:SM B$:EQ 100")",
  };
  Peer& first = StartPanel(MakePanel("FIRST", script), 1);
  Peer& second = StartPanel(MakePanel("SECOND", script), 2);
  ASSERT_TRUE(AwaitOutput(first, "Line 30000"));
  ASSERT_TRUE(AwaitOutput(second, "Line 30000"));
  Peer& operatorCommand = Start({"do", "route 12 4 3"}, NXI_PATH);
  ASSERT_TRUE(AwaitExit(operatorCommand));
  EXPECT_EQ(ExitCode(operatorCommand), 0) << ErrorOutput(operatorCommand);
  EXPECT_TRUE(AwaitExit(first)) << ErrorOutput(first);
  EXPECT_TRUE(AwaitExit(second)) << ErrorOutput(second);
  int seen = 0;
  for (const std::string& line : NxiLog()) seen += line.ends_with("\"seen 3 CAM 3\"");
  EXPECT_EQ(seen, 2);
}

// Panel SERVER serves router 40 (connected to its driver, with a parser line); panel CLIENT
// takes a crosspoint on it through NXI, which hands the command to the server.
TEST_F(PlantTest, AClientsCommandForAServedDeviceRunsTheServersParserLine) {
  StartNxi({"--plant", plant_});
  Peer& driver = Start({"--device", "40", "--slots", "16"}, INFODRIVER_PATH);
  ASSERT_NE(AwaitHandle(driver), platform::kNoWindow) << ErrorOutput(driver);
  Peer& server = StartPanel(
      MakePanel("SERVER",
                {R"(30000, "XR 40 1 16 7000 0:XI 40 6000:RR 40 1 16 7000 0")",
                 R"(6000, "XD a% b% c% d$ e%:SC B$ 'served %d %d %d' a% b% c%:SM B$:EQ 100")"}),
      1);
  ASSERT_TRUE(AwaitOutput(server, "Line 30000"));
  Peer& client = StartPanel(MakePanel("CLIENT", {R"(30000, "RC 40 3 9:EQ 100")"}), 2);
  EXPECT_TRUE(AwaitSaid("served 40 9 3")) << ErrorOutput(server);
  EXPECT_TRUE(AwaitExit(client));
  EXPECT_TRUE(AwaitExit(server));
}

// A session result runs its line in sequence: it goes on with the next line numbers until one
// is missing, so the two result lines stand apart.
TEST_F(PlantTest, AFileSessionCopiesTheFileAndNamesItsResult) {
  StartNxi({"--plant", plant_});
  std::ofstream(root_ / "drive_c" / "clip.txt") << "clip\n";
  Peer& panel = StartPanel(MakePanel(
      "SESSION",
      {R"(30000, "IS 'c;/clip.txt' 41 'c;/copy.txt' 800:IS 'c;/none.txt' 41 'c;/x.txt' 810")",
       R"(800, "SC B$ 'copied %d %s' S% S$:SM B$")",
       R"(810, "SC B$ 'missing %d %s' S% S$:SM B$:EQ 100")"}));
  EXPECT_TRUE(AwaitSaid("copied 0 Success")) << ::testing::PrintToString(NxiLog());
  EXPECT_TRUE(AwaitSaid("missing 3 File not found"));
  EXPECT_TRUE(AwaitExit(panel));
  int said = 0;
  for (const std::string& line : NxiLog()) said += line.starts_with("2191 ");
  EXPECT_EQ(said, 2) << ::testing::PrintToString(NxiLog());
  std::ifstream copy(root_ / "drive_c" / "copy.txt");
  std::string text;
  std::getline(copy, text);
  EXPECT_EQ(text, "clip");
}

TEST_F(PlantTest, TheFixedRequestsAndAStatusRequestReachNxiWhichAnswersThem) {
  StartNxi({"--plant", plant_});
  Peer& panel = StartPanel(MakePanel(
      "REQUESTS",
      {R"(30000, "WD:WE:WF 9:QF:WT 5 2 3 R%:SC B$ 'wt %d' R%:SM B$:ES 12 1 'READY?' 600")",
       R"(600, "SC B$ 'status %d %s' S% S$:SM B$:EQ 100")"}));
  EXPECT_TRUE(AwaitSaid("wt 2")) << ErrorOutput(panel);
  EXPECT_TRUE(AwaitSaid("status 0 OK")) << ::testing::PrintToString(NxiLog());
  EXPECT_TRUE(AwaitExit(panel));
  // The numeric frames in the order sent: message, sub-code, number.
  std::vector<std::string> requests;
  for (const std::string& line : NxiLog()) {
    if (line.find(" num ") != std::string::npos && !line.starts_with("2034 ")) {
      requests.push_back(line.substr(0, line.find(" num ")));
    }
  }
  EXPECT_EQ(requests, (std::vector<std::string>{"2036 0 0", "2036 1 0", "2038 9 0", "49237 0 0",
                                                "2037 5 196610"}))
      << ::testing::PrintToString(NxiLog());
}

}  // namespace
}  // namespace velcrum::testing
