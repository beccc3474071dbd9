// The scripts' data: 52 integer and 52 string variables, 65536 integer memories and
// 4097 string memories, shared by every line of every panel for the life of the program.
#pragma once

#include <cstdint>
#include <string_view>

namespace velcrum {

inline constexpr int kVariableCount = 52;
inline constexpr int kStringFieldSize = 256;  // 255 characters and the terminator
inline constexpr int kMaxStringLength = kStringFieldSize - 1;
inline constexpr int kIntegerMemoryCount = 65536;
inline constexpr int kStringMemoryCount = 4097;
inline constexpr int kStringMemoryCountReported = 4096;  // what start-up and QS M state
inline constexpr int kEventVariable = 18;                // S% and S$

// Variables by index: A..Z are 0..25, a..z are 26..51. The layouts are the ones the
// extension library sees: 52 signed 32-bit integers and 52 fields of 256 bytes.
extern int32_t g_lIntegerVariables[kVariableCount];
extern char g_szStringVariables[kVariableCount][kStringFieldSize];

// Index of the variable named by a letter; -1 for anything that is not an ASCII letter.
int VariableIndex(char letter);
// The letter that names a variable index.
char VariableLetter(int index);

// Writes a string variable, cut to 255 characters.
void SetStringVariable(int index, std::string_view text);

// Zeroes every variable; with all false, S% and S$ keep their values.
void ClearVariables(bool all);

// Integer memories, 1 to 65536. Outside that range SetMem stores nothing and GetMem
// gives 0; both report a note naming the command.
void SetMem(std::string_view command, int index, int32_t value);
int32_t GetMem(std::string_view command, int index);

// A string memory, 1 to 4097: its 256-byte field, or nullptr when the index is outside
// the range or the block is missing.
char* StringMemory(int index);

// Allocates and zeroes the integer memories and allocates the missing string memory
// blocks (start-up); frees them all (shut-down).
void AllocateMemories();
void FreeMemories();

// Returns the memories to their state after AllocateMemories: zeroes the cells and
// blocks reached since the last clear (not all of them, so that a reset costs little)
// and allocates whatever is missing.
void ClearMemories();

}  // namespace velcrum
