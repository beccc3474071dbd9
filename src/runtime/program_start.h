// Starting another program from a Windows command line, as EA and VE do: the command line
// is split into words by the Windows rules, the program found on the host (a Windows path
// through the drive mapping, a bare name beside this program, in the current directory or
// on PATH), and arguments written as drive paths mapped to the host paths they name,
// except for a copy of this runtime, which reads Windows paths itself. The program runs in
// its own process group, without a shell. The start then waits, dispatching window
// messages, until the program is ready for input (a top-level window of its process group
// answers a message), or has ended, or a bound has passed: 30 s for a copy of this runtime
// (it always opens its main window, unless it refuses to run and ends), 2 s for any other
// program, which may never open a window at all.
#pragma once

#include <sys/types.h>

#include <string>

namespace velcrum {

// Starts the program of the command line; its process id, or 0 with errno set (ENOENT
// for an empty line or a program that is not found). runtimeCopy tells whether the program
// is this runtime under another name.
pid_t StartCommandLine(const std::string& commandLine, bool& runtimeCopy);

// Waits, dispatching window messages, until the started program answers at a window of
// its own or ends, within the bound above; then stops keeping its end.
void AwaitProgramWindow(pid_t pid, bool runtimeCopy);

}  // namespace velcrum
