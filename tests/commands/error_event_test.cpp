// EE: the error event, its two lines from the main window's timers, and its guard.
#include <gtest/gtest.h>

#include "interpreter/variables.h"
#include "platform/desktop/message.h"
#include "runtime/module.h"
#include "runtime/timers.h"
#include "support/recording_host.h"

namespace velcrum::testing {
namespace {

class ErrorEventTest : public InterpreterTest {
 protected:
  static void Fire(unsigned timer) {
    OfferToModules(platform::Message::Plain(platform::WM_TIMER, timer));
  }
  bool Running(unsigned timer) const { return host.timers.count(timer) != 0; }
};

TEST_F(ErrorEventTest, AFaultPutsItsTextInTheVariableAndRunsBothLines) {
  Script({{500, "MS 1 1 1"}, {600, "MS 2 2 2"}});
  Run("EE 1 E$ 2000 500 600");
  Run("ZZ");
  EXPECT_EQ(host.timers[kErrorEventFirstTimer], 1u) << "the first line as soon as the loop runs";
  EXPECT_EQ(host.timers[kErrorEventSecondTimer], 2000u);
  EXPECT_STREQ(g_szStringVariables[VariableIndex('E')], "") << "nothing runs inside the report";

  Fire(kErrorEventFirstTimer);
  EXPECT_STREQ(g_szStringVariables[VariableIndex('E')],
               "Unknown Command in line 100 - stringtable: 'ZZ'");
  EXPECT_EQ(GetMem("MG", 1), 1);
  EXPECT_FALSE(Running(kErrorEventFirstTimer)) << "one shot";
  EXPECT_EQ(GetMem("MG", 2), 0);
  Fire(kErrorEventSecondTimer);
  EXPECT_EQ(GetMem("MG", 2), 2);
  EXPECT_FALSE(Running(kErrorEventSecondTimer));
}

TEST_F(ErrorEventTest, FaultsInsideTheEventOrWhileItIsPendingDoNotStartItAgain) {
  Script({{500, "ZZ:MS 1 1 1"}});
  Run("EE 1 E$ 0 500 0");
  Run("ZZ");
  host.timers.clear();
  Run("YY");
  EXPECT_FALSE(Running(kErrorEventFirstTimer)) << "already pending";
  host.timers[kErrorEventFirstTimer] = 1;
  Fire(kErrorEventFirstTimer);
  EXPECT_EQ(GetMem("MG", 1), 1);
  EXPECT_FALSE(Running(kErrorEventFirstTimer)) << "the event line's own fault";
  EXPECT_STREQ(g_szStringVariables[VariableIndex('E')],
               "Unknown Command in line 100 - stringtable: 'ZZ'");

  Run("XQ");
  EXPECT_TRUE(Running(kErrorEventFirstTimer)) << "once done, the next fault starts it";
}

TEST_F(ErrorEventTest, OffOrOutOfRangeStartsNothing) {
  Script({{500, "MS 1 1 1"}});
  Run("EE 1 E$ 0 500 500:EE 0");
  Run("ZZ");
  EXPECT_FALSE(Running(kErrorEventFirstTimer));
  EXPECT_FALSE(Running(kErrorEventSecondTimer));
  Run("EE 2 E$ 0 500 500");
  EXPECT_TRUE(DebuggerSaid("cmd: 'EE'  Parameter 1 is out of range. Value found: 2"));
  Run("ZZ");
  EXPECT_FALSE(Running(kErrorEventFirstTimer));
}

}  // namespace
}  // namespace velcrum::testing
