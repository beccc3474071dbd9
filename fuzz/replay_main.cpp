// Replays stored fuzzer inputs through a fuzz target, so that every test run checks the
// corpus even where no fuzzing compiler is at hand. Arguments: files or directories
// (libFuzzer flags are skipped).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Optional, as for libFuzzer: a target's set-up, which may change the arguments.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') continue;  // a libFuzzer flag
    const fs::path path = argv[i];
    if (fs::is_directory(path)) {
      for (const auto& entry : fs::directory_iterator(path)) inputs.push_back(entry.path());
    } else if (fs::exists(path)) {
      inputs.push_back(path);
    } else {
      std::fprintf(stderr, "%s: no such file or directory\n", argv[i]);
      return 1;
    }
  }
  // A target whose corpus has gone missing must not pass as replayed.
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  for (const fs::path& input : inputs) {
    std::ifstream file(input, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
