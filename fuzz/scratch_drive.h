// A private drive C for fuzz targets whose inputs name files: every Windows path a script
// or an INI file can write maps into a fresh temporary directory, which can also be the
// current directory, so that no input reaches the developer's own files.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace velcrum::fuzzing {

// Makes the directory and points $VELCRUM_ROOT at it, once per process (call it before
// each input; it is removed when the process ends). Returns drive C's directory.
inline const std::filesystem::path& ScratchDrive() {
  static std::string root = "/tmp/velcrum-fuzz-XXXXXX";
  static const std::filesystem::path drive = [] {
    if (!mkdtemp(root.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(root, ignored);
    });
    setenv("VELCRUM_ROOT", root.c_str(), 1);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      unsetenv((std::string("VELCRUM_DRIVE_") + letter).c_str());
    }
    const std::filesystem::path c = std::filesystem::path(root) / "drive_c";
    std::filesystem::create_directories(c);
    return c;
  }();
  return drive;
}

// Moves into drive C, so that relative names in scripts land there too. For libFuzzer,
// which reads its corpus and writes its findings only after the first input has run, the
// relative paths among its arguments are made absolute first (its LLVMFuzzerInitialize
// may change them), and findings go to the directory it was started in.
inline void EnterScratchDrive(int* argc, char*** argv) {
  static std::vector<std::string> arguments;
  static std::vector<char*> pointers;
  // libFuzzer starts the program again to merge, by the name it was given, and allows no
  // change to that name: a relative one is made absolute by starting afresh with it.
  const std::string program = (*argv)[0];
  if (program.find('/') != std::string::npos && !program.starts_with('/')) {
    const std::string absolute = std::filesystem::absolute(program);
    (*argv)[0] = const_cast<char*>(absolute.c_str());
    execv(absolute.c_str(), *argv);
    std::perror("execv");
    std::abort();
  }
  const std::string here = std::filesystem::current_path().string() + "/";
  bool prefixGiven = false;
  for (int i = 0; i < *argc; ++i) {
    std::string argument = (*argv)[i];
    if (i > 0 && !argument.starts_with('-')) argument = std::filesystem::absolute(argument);
    for (const std::string flag : {"-dict=", "-artifact_prefix=", "-exact_artifact_path="}) {
      if (argument.starts_with(flag) && argument.size() > flag.size() &&
          argument[flag.size()] != '/') {
        argument = flag + here + argument.substr(flag.size());
      }
    }
    prefixGiven = prefixGiven || argument.starts_with("-artifact_prefix=");
    arguments.push_back(argument);
  }
  if (!prefixGiven) arguments.push_back("-artifact_prefix=" + here);
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(arguments.size());
  *argv = pointers.data();
  if (chdir(ScratchDrive().c_str()) != 0) {
    std::perror("chdir");
    std::abort();
  }
}

// Removes what the last input created, so that each input starts from an empty drive
// and the runs stay reproducible.
inline void EmptyScratchDrive() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(ScratchDrive(), ignored)) {
    std::filesystem::remove_all(entry.path(), ignored);
  }
}

}  // namespace velcrum::fuzzing
