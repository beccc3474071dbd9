// Running a helper program from a test (pdftotext, pdfinfo ...) and reading what it
// prints.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace velcrum::testing {

// Whether the shell finds the program.
inline bool HasProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// What a shell command writes to standard output.
inline std::string ProgramOutput(const std::string& command) {
  std::string text;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  pclose(pipe);
  return text;
}

}  // namespace velcrum::testing
