// QF, WD, WE, WF, WT and ES: the frames NXI gets, WT's reply, ES's result line, and the same
// commands without NXI, which must return at once.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fake_nxi.h"
#include "interpreter/format.h"
#include "network/device_tables.h"
#include "panel_dialog_fixture.h"

namespace velcrum::testing {
namespace {

class NxiRequestCommandsTest : public PanelDialogTest {
 protected:
  void SetUp() override {
    PanelDialogTest::SetUp();
    g_instanceSettings.workstation = 7;
    ASSERT_TRUE(nxi_.Open());
    g_hwndNxi = nxi_.Handle();
  }
  void TearDown() override {
    g_hwndNxi = 0;
    PanelDialogTest::TearDown();
  }
  bool Said(const std::string& text) const {
    for (const std::string& line : host_.debugger) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }

  FakeNxi nxi_;
};

TEST_F(NxiRequestCommandsTest, EachRequestIsOneNumericFrame) {
  struct Case {
    const char* line;
    uint32_t message;
    uint32_t wParam;
    const char* number;  // the frame's eight hexadecimal digits
  };
  const Case cases[] = {
      {"QF", 49237, 0, "00000000"},          {"WD", 2036, 0, "00000000"},
      {"WE", 2036, 1, "00000000"},           {"WF 9", 2038, 9, "00000000"},
      {"WF -1", 2038, 0xFFFF, "00000000"},   {"WT 5 2 3 R%", 2037, 5, "00030002"},
      {"WT 1 -1 1 R%", 2037, 1, "0001ffff"}, {"WT 0 7 0 R$", 2037, 0, "00000007"},
  };
  for (const Case& c : cases) {
    nxi_.calls.clear();
    RunText(c.line);
    ASSERT_EQ(nxi_.calls.size(), 1u) << c.line;
    const FakeNxiCall& call = nxi_.calls[0];
    EXPECT_EQ(call.message, c.message) << c.line;
    EXPECT_EQ(call.wParam, c.wParam) << c.line;
    EXPECT_EQ(call.bytes, std::string(c.number) + std::string(8, '\0')) << c.line;
  }
}

TEST_F(NxiRequestCommandsTest, WtNeedsAVariableAndAnIntegerOneTakesTheReply) {
  nxi_.answer = [](const FakeNxiCall& call) {
    return FakeNxiAnswer{call.message == 2037 ? 1234u : 0u, {}};
  };
  RunText("WT 5 2 3 7");
  RunText("WT 5 2 3");
  EXPECT_TRUE(nxi_.calls.empty());
  Var('R') = 0;
  RunText("WT 5 2 3 R%");
  EXPECT_EQ(Var('R'), 1234);
  SetStringVariable(VariableIndex('R'), "text");
  RunText("WT 5 2 3 R$");
  EXPECT_EQ(std::string(g_szStringVariables[VariableIndex('R')]), "text");
  EXPECT_EQ(nxi_.CallsOf(2037).size(), 2u);
}

TEST_F(NxiRequestCommandsTest, EsSendsTheNsRequestAndItsAnswerRunsTheLineOnce) {
  Line(600, "NA c% 1 c%");
  Var('c') = 0;
  RunText("ES 12 3 'READY?' 600");
  const std::vector<FakeNxiCall> sent = nxi_.CallsOf(2121);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].wParam, 12u);
  const std::string request = Format("NS 12 3 'READY?' 7 %d 600", static_cast<int>(g_hwndMain));
  EXPECT_EQ(std::string(FrameText(sent[0].bytes)), request);
  EXPECT_EQ(g_statusAnswerLines[12], 600);

  // NXI's answer, as it would send it later; a second one finds no line left to run.
  const std::string answer = Format("NS 12 3 'ONLINE' 7 %d 600", static_cast<int>(g_hwndMain));
  const auto deliver = [this, &answer] {
    platform::Send(g_hwndMain,
                   platform::Message::CopyData(nxi_.Handle(), PackFrameData(KAL_DEVSTATUSMSG, 12),
                                               TextFrame(answer)));
  };
  deliver();
  ASSERT_TRUE(WaitUntil([] { return Var('c') == 1; }, 5000));
  deliver();
  EXPECT_FALSE(WaitUntil([] { return Var('c') > 1; }, 300));
  EXPECT_EQ(Var('S'), 3);
  EXPECT_EQ(std::string(g_szStringVariables[kEventVariable]), "ONLINE");
}

TEST_F(NxiRequestCommandsTest, EsChecksItsParameters) {
  struct Case {
    const char* line;
    bool sent;
    const char* said;
  };
  const Case cases[] = {
      {"ES 0 1 'X' 600", false, "Device does not exist, Device number: 0"},
      {"ES 1000 1 'X' 600", false, "Device does not exist, Device number: 1000"},
      {"ES 12 0 'X' 600", true, "Parameter 2 is out of range"},
      {"ES 12 1000 'X' 600", true, "Parameter 2 is out of range"},
      {"ES 12 1 'X' 0", true, "Parameter 4 is out of range"},
      {"ES 12 1 'X' 32769", true, "Parameter 4 is out of range"},
      {"ES 12 999 'X' 32768", true, nullptr},
  };
  for (const Case& c : cases) {
    nxi_.calls.clear();
    host_.debugger.clear();
    RunText(c.line);
    EXPECT_EQ(nxi_.CallsOf(2121).size(), c.sent ? 1u : 0u) << c.line;
    if (c.said) {
      EXPECT_TRUE(Said(c.said)) << c.line;
    }
  }
  // Strict inspection stops at a range problem.
  g_settings.parameterInspection = Inspection::kStrict;
  nxi_.calls.clear();
  RunText("ES 12 0 'X' 600");
  EXPECT_TRUE(nxi_.calls.empty());
  g_settings = InterpreterSettings{};
}

TEST_F(NxiRequestCommandsTest, WithoutNxiTheRequestsReturnAtOnce) {
  g_hwndNxi = 0;
  Var('R') = 5;
  const auto start = std::chrono::steady_clock::now();
  RunText("QF:WD:WE:WF 3:WT 1 2 3 R%:ES 12 1 'X' 600");
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, std::chrono::milliseconds(1000));
  EXPECT_EQ(Var('R'), 0);
  EXPECT_TRUE(nxi_.calls.empty());
}

}  // namespace
}  // namespace velcrum::testing
