// A panel extension library for the tests: takes line 10 over and writes "taken" into
// A$; leaves every other line to the interpreter.
#include <cstdint>
#include <cstring>

extern "C" int32_t VelcrumCall(int32_t line, char (*strings)[256], int32_t* integers,
                               void* /*panels*/, int32_t (* /*callback*/)(const char*)) {
  if (line != 10) return 0;
  std::strcpy(strings[0], "taken");
  integers[0] = line;
  return 1;
}
