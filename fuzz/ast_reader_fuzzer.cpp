// Fuzzes the script-file reader and the bound string table loader: any bytes as a file,
// or as string-table entries, are read, reported and stored within the store's limits.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/scratch_drive.h"
#include "interpreter/executor_state.h"
#include "interpreter/interpreter_reset.h"
#include "interpreter/resource_source.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"

namespace {

// One scratch file per process, reused for every input.
const std::string& ScratchFile() {
  static const std::string path = (velcrum::fuzzing::ScratchDrive() / "FUZZ.AST").string();
  return path;
}

void CheckStore() {
  char buffer[velcrum::kLineBufferSize];
  for (int line = 0; line <= velcrum::MAX_SCRIPT_LINE + 1; ++line) {
    if (velcrum::VLSTMSup_GetMem(line, buffer) > velcrum::kLineBufferSize - 1) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velcrum::ResetInterpreter();
  velcrum::g_settings.enableOutputDbwin = true;  // exercise the report paths too
  if (std::FILE* file = std::fopen(ScratchFile().c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  velcrum::VLSTMSup_LoadFile(ScratchFile());
  CheckStore();

  // The same bytes as a bound string table: each line feed starts the next entry.
  velcrum::InMemoryResources resources;
  resources.Add(velcrum::kStartupLine, "EI start");
  int id = 1;
  std::string entry;
  for (size_t i = 0; i < size && id < velcrum::kStartupLine; ++i) {
    if (data[i] == '\n') {
      resources.Add(id++, entry);
      entry.clear();
    } else {
      entry.push_back(static_cast<char>(data[i]));
    }
  }
  resources.Add(id, entry);
  velcrum::LoadScript(resources, "/nowhere/FUZZ.exe");
  CheckStore();
  return 0;
}
