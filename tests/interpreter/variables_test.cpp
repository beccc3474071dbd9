// Variables and memories.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/interpreter_reset.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

class VariablesTest : public testing::InterpreterTest {};

TEST_F(VariablesTest, LettersNameIndexes) {
  EXPECT_EQ(VariableIndex('A'), 0);
  EXPECT_EQ(VariableIndex('Z'), 25);
  EXPECT_EQ(VariableIndex('a'), 26);
  EXPECT_EQ(VariableIndex('z'), 51);
  for (const char c : {'0', '@', '[', '`', '{', '%', '\0', '\xc4'}) EXPECT_EQ(VariableIndex(c), -1);
  for (int i = 0; i < kVariableCount; ++i) EXPECT_EQ(VariableIndex(VariableLetter(i)), i);
}

TEST_F(VariablesTest, ClearVariablesKeepsTheEventVariableUnlessAll) {
  for (int i = 0; i < kVariableCount; ++i) {
    g_lIntegerVariables[i] = i + 1;
    SetStringVariable(i, "x");
  }
  ClearVariables(false);
  for (int i = 0; i < kVariableCount; ++i) {
    const bool kept = i == kEventVariable;
    EXPECT_EQ(g_lIntegerVariables[i], kept ? i + 1 : 0) << i;
    EXPECT_STREQ(g_szStringVariables[i], kept ? "x" : "") << i;
  }
  ClearVariables(true);
  EXPECT_EQ(g_lIntegerVariables[kEventVariable], 0);
  EXPECT_STREQ(g_szStringVariables[kEventVariable], "");
}

TEST_F(VariablesTest, StringVariablesHoldAt255Characters) {
  SetStringVariable(3, std::string(400, 'k'));
  EXPECT_EQ(std::string(g_szStringVariables[3]), std::string(255, 'k'));
}

TEST_F(VariablesTest, MemoryBoundsOnBothSides) {
  g_iCurrentLine = 77;
  SetMem("MS", 0, 5);
  EXPECT_TRUE(DebuggerSaid("<TEST____.000> line: 77, cmd: 'MS' <TEST____.000> WARNING: line: 77, "
                           "cmd: 'MS' SetMem() mem location is out of range."));
  host.debugger.clear();
  SetMem("MS", 65537, 5);
  EXPECT_EQ(host.debugger.size(), 1u);
  SetMem("MS", 1, 11);
  SetMem("MS", 65536, 22);
  EXPECT_EQ(GetMem("MG", 1), 11);
  EXPECT_EQ(GetMem("MG", 65536), 22);
  host.debugger.clear();
  EXPECT_EQ(GetMem("MG", 65537), 0);
  EXPECT_TRUE(DebuggerSaid("GetMem() mem location is out of range."));
}

TEST_F(VariablesTest, StringMemoriesRunFrom1To4097) {
  EXPECT_EQ(StringMemory(0), nullptr);
  EXPECT_EQ(StringMemory(4098), nullptr);
  ASSERT_NE(StringMemory(1), nullptr);
  ASSERT_NE(StringMemory(4097), nullptr);
  EXPECT_STREQ(StringMemory(4097), "");
  FreeMemories();
  EXPECT_EQ(StringMemory(1), nullptr);
  EXPECT_EQ(GetMem("MG", 1), 0);  // no block: silently 0
}

// The reset clears only what was touched; what it leaves must still be the state at
// program start, wherever the script wrote, and with blocks freed meanwhile.
TEST_F(VariablesTest, ResetReturnsEverythingWrittenToProgramStart) {
  for (const bool freed : {false, true}) {
    for (const int cell : {1, 30000, 65536}) SetMem("MS", cell, cell);
    for (const int block : {1, 2000, 4097}) {
      std::memset(StringMemory(block), 'x', kStringFieldSize);  // past the terminator too
    }
    VLSTMSup_SetMem(1, "x");
    VLSTMSup_SetMem(32768, "y");
    Run("NA 1 0 a%");
    if (freed) FreeMemories();
    ResetInterpreter();

    for (int cell = 1; cell <= kIntegerMemoryCount; ++cell) ASSERT_EQ(GetMem("MG", cell), 0);
    const char zeros[kStringFieldSize] = {};
    for (int block = 1; block <= kStringMemoryCount; ++block) {
      ASSERT_NE(StringMemory(block), nullptr) << freed;
      ASSERT_EQ(std::memcmp(StringMemory(block), zeros, kStringFieldSize), 0) << block;
    }
    char buffer[kLineBufferSize];
    for (int line = 1; line <= MAX_SCRIPT_LINE; ++line) ASSERT_EQ(VLSTMSup_GetMem(line, buffer), 0);
    // Line 100 runs its new text, not the one cached before the reset.
    Run("NA 2 0 b%");
    EXPECT_EQ(g_lIntegerVariables[VariableIndex('a')], 0);
    EXPECT_EQ(g_lIntegerVariables[VariableIndex('b')], 2);
    ResetInterpreter();
  }
}

}  // namespace
}  // namespace velcrum
