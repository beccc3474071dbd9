// velcrum-bind: makes a panel's program file from its resource script.
//
// A panel is the runtime under the panel's name with the panel's resources: either a
// copy of the runtime with the script and the files it reads appended (a bound bundle,
// src/panels/bound_bundle.h), or, with --link, a symbolic link to the runtime with the
// script and those files beside it as its companion files (docs/RESOURCES.md).
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "panels/bound_bundle.h"
#include "panels/companion_script.h"
#include "panels/rc_file.h"
#include "panels/rc_parser.h"
#include "platform/atomic_file.h"

namespace velcrum {
namespace {

namespace fs = std::filesystem;

constexpr char kUsage[] =
    "usage: velcrum-bind [--link] [--runtime PATH] PANEL.rc OUT\n"
    "\n"
    "Makes the panel program OUT (for example \"Desk 4.EXE\") from the resource script\n"
    "PANEL.rc. The script is read as the runtime reads it; every problem in it is listed\n"
    "and nothing is written.\n"
    "\n"
    "Without --link, OUT is a copy of the runtime with the script, the local headers it\n"
    "includes and its bitmaps and icons bound into it: one file that is the whole panel.\n"
    "With --link, OUT is a symbolic link to the runtime, and the script is copied beside\n"
    "it as OUT's name with \".rc\" for its extension, the headers, bitmaps and icons beside\n"
    "that at the places the script names them.\n"
    "\n"
    "options:\n"
    "  --link          make a link and companion files instead of a bound copy\n"
    "  --runtime PATH  the runtime program (default: velcrum beside velcrum-bind)\n"
    "  --help          show this text\n"
    "\n"
    "OUT is replaced whole or not at all. Exit status: 0 when OUT was made; 1 when the\n"
    "script has problems or OUT cannot be written; 2 for a bad option or a missing file.\n";

void Say(const std::string& text) {
  std::fprintf(stderr, "velcrum-bind: %s\n", text.c_str());
}

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

// A hidden name beside `path` for what is made before it is renamed into place.
std::string TemporaryBeside(const fs::path& path) {
  return (path.parent_path() /
          ("." + path.filename().string() + ".bind." + std::to_string(::getpid()) + ".tmp"))
      .string();
}

// Writes a file whole (ReplaceFile); false, said, when it cannot be written.
bool WriteFile(const std::string& path, const std::string& bytes) {
  if (ReplaceFile(path, bytes) == FileWrite::kWritten) return true;
  Say("cannot write " + path + ": " + std::strerror(errno));
  return false;
}

// Puts the entry made at `temporary` in OUT's place in one step (a link or file at OUT is
// replaced itself, never what a link points to).
bool PutInPlace(const std::string& temporary, const std::string& out) {
  if (std::rename(temporary.c_str(), out.c_str()) == 0) return true;
  Say("cannot write " + out + ": " + std::strerror(errno));
  std::remove(temporary.c_str());
  return false;
}

bool BindCopy(const std::string& runtime, const std::string& out,
              const std::vector<BoundFile>& files) {
  std::string program;
  struct stat status {};
  if (!ReadWhole(runtime, program) || ::stat(runtime.c_str(), &status) != 0) {
    Say("cannot read the runtime " + runtime);
    return false;
  }
  // A runtime that is itself a bound panel gives its program only.
  std::string bytes(WithoutBoundBundle(program));
  bytes += EncodeBoundBundle(files);
  const std::string temporary = TemporaryBeside(out);
  if (!WriteFile(temporary, bytes)) return false;
  if (::chmod(temporary.c_str(), status.st_mode & 0777) != 0) {
    Say("cannot make " + out + " executable: " + std::strerror(errno));
    std::remove(temporary.c_str());
    return false;
  }
  return PutInPlace(temporary, out);
}

bool BindLink(const std::string& runtime, const std::string& out,
              const std::vector<BoundFile>& files) {
  const fs::path directory = fs::path(out).parent_path();
  if (!WriteFile(CompanionScriptName(out), files.front().bytes)) return false;
  for (size_t i = 1; i < files.size(); ++i) {
    const std::string& key = files[i].key;
    // A file named with a drive or from a root is found there; it is not copied.
    if (key.starts_with('/') || (key.size() >= 2 && key[1] == ':')) continue;
    const fs::path target = directory / key;
    std::error_code code;
    fs::create_directories(target.parent_path(), code);
    if (!WriteFile(target.string(), files[i].bytes)) return false;
  }
  const std::string temporary = TemporaryBeside(out);
  std::remove(temporary.c_str());
  if (::symlink(runtime.c_str(), temporary.c_str()) != 0) {
    Say("cannot make the link " + out + ": " + std::strerror(errno));
    return false;
  }
  return PutInPlace(temporary, out);
}

int Main(int argc, char** argv) {
  bool link = false;
  std::string runtime;
  std::vector<std::string> operands;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--link") {
      link = true;
    } else if (arg == "--runtime" && i + 1 < argc) {
      runtime = argv[++i];
    } else if (arg.starts_with("--")) {
      Say("unknown option " + arg);
      std::fputs(kUsage, stderr);
      return 2;
    } else {
      operands.push_back(arg);
    }
  }
  if (operands.size() != 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::error_code code;
  if (runtime.empty()) {
    runtime = (fs::read_symlink("/proc/self/exe", code).parent_path() / "velcrum").string();
  }
  runtime = fs::absolute(runtime, code).string();
  const std::string script = fs::absolute(operands[0], code).string();
  const std::string out = fs::absolute(operands[1], code).string();
  if (!fs::is_regular_file(script, code)) {
    Say("resource script not found: " + operands[0]);
    return 2;
  }
  if (!fs::is_regular_file(runtime, code)) {
    Say("runtime not found: " + runtime);
    return 2;
  }
  // A link at OUT is replaced itself; a file at OUT must not be the runtime.
  if (!fs::is_symlink(out, code) && fs::equivalent(runtime, out, code)) {
    Say(operands[1] + " is the runtime itself");
    return 2;
  }

  const RcScript parsed = ParseRcFile(script);
  for (const RcProblem& problem : parsed.problems) {
    std::fprintf(stderr, "%s\n", problem.Text().c_str());
  }
  if (!parsed.problems.empty()) {
    Say("the script has problems; " + operands[1] + " was not written");
    return 1;
  }
  std::vector<BoundFile> files(1);
  files[0].key = fs::path(script).filename().string();
  const HostRcFiles beside(fs::path(script).parent_path().string());
  std::string shownName;
  std::string error;
  if (!ReadRcFile(script, files[0].bytes, error)) {
    Say("resource script " + error + ": " + operands[0]);
    return 2;
  }
  for (const std::string& key : parsed.files) {
    BoundFile file{key, {}};
    if (!beside.Read(key, file.bytes, shownName, error)) {
      Say("file " + error + ": " + key);
      return 2;
    }
    files.push_back(std::move(file));
  }
  return (link ? BindLink(runtime, out, files) : BindCopy(runtime, out, files)) ? 0 : 1;
}

}  // namespace
}  // namespace velcrum

int main(int argc, char** argv) {
  return velcrum::Main(argc, argv);
}
