// The script store: one slot per line number 1 to 32768, each empty or holding the
// line's text of at most 255 characters. It is loaded at start-up from the bound string
// table and the companion ".AST" file, and it is the only place lines are run from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "interpreter/executor_state.h"
#include "interpreter/resource_source.h"

namespace velcrum {

inline constexpr int kLineBufferSize = 256;  // a line's text and its terminator

// Stores the text (cut to 255 characters) as the line. 0 for a line number outside
// 1 to 32768, otherwise 1. An empty text is stored as an existing, empty line.
int VLSTMSup_SetMem(int line, std::string_view text);

// Copies the line's text into the buffer (room for 256 characters) and returns its
// length; 0 for a line outside the range, an empty slot or a stored empty line.
int VLSTMSup_GetMem(int line, char* buffer);

// Whether the line is stored, an empty text included (the script editor lists it).
bool VLSTMSup_Exists(int line);

// The line's text as the store holds it, valid until the line is next stored or the
// store is emptied; empty for a line outside the range, an empty slot or an empty line.
// `stamp` identifies the text: every text stored gets a stamp never given before, so an
// equal stamp means the very text seen then.
std::string_view VLSTMSup_Fetch(int line, uint64_t& stamp);

// The stamp of each line's text, 0 where VLSTMSup_Fetch gives an empty text. The executor
// looks a line up on every pass; with this it needs the text only when the line changed.
extern uint64_t g_lineStamps[MAX_SCRIPT_LINE + 1];
inline uint64_t VLSTMSup_Stamp(int line) {
  return line >= 1 && line <= MAX_SCRIPT_LINE ? g_lineStamps[line] : 0;
}

// Reads a script file (host path) into the store; its lines replace those already
// there. 1 when read; 0 for an empty path or a file that cannot be opened.
int VLSTMSup_LoadFile(const std::string& path);

// Writes the whole store to a script file (host path). 1 on success, 0 otherwise.
int VLSTMSup_SaveFile(const std::string& path);

// Empties every slot.
void VLSTMSup_FreeAll();

enum class ScriptLoad {
  kLoaded,
  kSyntaxStop,  // the bound table failed its syntax check; the program must end (exit 0)
};

// Loads the bound string table (when it has line 30000), then the companion script file
// named after the module path (only when that path contains ".EXE").
ScriptLoad LoadScript(const ResourceSource& resources, const std::string& modulePath);

// Loads the bound string table into the store; called by LoadScript.
ScriptLoad LoadStringTables(const ResourceSource& resources);

}  // namespace velcrum
