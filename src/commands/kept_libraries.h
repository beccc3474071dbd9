// The libraries that EX keeps loaded between calls (mode 2). A script holds each by a
// number in a 32-bit integer variable, so it is known by a small non-zero number that
// this table hands out, never by its address: 1 for the first library kept, 2 for the
// next, and so on. Numbers are not handed out again (until the count has passed the
// highest 32-bit number, and then never one in use), so a stale number in a script finds
// nothing instead of another library.
#pragma once

#include <cstdint>

#include "platform/shared_library.h"

namespace velcrum {

// Keeps a loaded library and answers its number. A library that is kept already (the
// same file) keeps its number and counts one load more, as Windows hands out the same
// module handle for it again; each load then needs its own unload.
int32_t KeepLibrary(SharedLibrary library);

// The kept library with this number, or nullptr for a number that names none.
const SharedLibrary* KeptLibrary(int32_t number);

// Takes one load of the library back; the last unloads it and its number then names
// nothing. False for a number that names no kept library.
bool UnloadKeptLibrary(int32_t number);

// Unloads every kept library and starts the numbers again at 1 (the commands' reset and
// the shut-down).
void ReleaseKeptLibraries();

}  // namespace velcrum
