// EQ: at once with 1000, through the main window otherwise, by load for 0 to 99.
#include <gtest/gtest.h>

#include "interpreter/executor.h"
#include "interpreter/variables.h"
#include "network/kal_messages.h"
#include "runtime/process_state.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class QuitCommandTest : public testing::InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    ResetProcessState();
  }
  void TearDown() override {
    ResetProcessState();
    InterpreterTest::TearDown();
  }
};

TEST_F(QuitCommandTest, Code1000RunsTheLineThenClosesDownAndEndsTheProcess) {
  Script({{100, "EQ 1000 200"}, {200, "MS 5 1 1"}});
  RunLine(100, 0);
  EXPECT_EQ(GetMem("MG", 1), 5);
  EXPECT_TRUE(g_bQuitImmediately);
  EXPECT_EQ(host.closeDowns, 1);
  EXPECT_EQ(host.endedWith, std::vector<int>{0});
  EXPECT_TRUE(host.posted.empty());
}

TEST_F(QuitCommandTest, OtherCodesPostCloseDownByTheLoadRule) {
  struct Case {
    const char* line;
    int load;
    bool posts;
  };
  const Case cases[] = {
      {"EQ 100", 0, true},  {"EQ -1", 0, true},   {"EQ 50", 51, true},
      {"EQ 50", 50, false}, {"EQ 0", 500, false}, {"EQ 99", 100, true},
  };
  for (const Case& c : cases) {
    host.posted.clear();
    host.copiesLoad = c.load;
    Script({{100, c.line}});
    RunLine(100, 0);
    if (c.posts) {
      ASSERT_EQ(host.posted.size(), 1u) << c.line << " load " << c.load;
      EXPECT_EQ(host.posted[0], std::make_pair(KAL_CLOSEDOWN, 0u));
    } else {
      EXPECT_TRUE(host.posted.empty()) << c.line << " load " << c.load;
    }
    EXPECT_EQ(host.closeDowns, 0);
    EXPECT_FALSE(g_bQuitImmediately);
  }
}

}  // namespace
}  // namespace velcrum
