// Other programs started by this one: each in its own process group, never through a
// shell, and reaped when it ends, so that no ended child stays behind as a zombie.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace velcrum {

// Starts the host program words[0] (a path, not looked up) with words as its arguments,
// in a new process group of its own (the system's CREATE_NEW_PROCESS_GROUP), with no
// blocked signals and every signal's default action, and with this program's standard
// streams and environment. A thread of this process waits for its end. The child's
// process id, or 0 with errno set (ENOENT, EACCES, ...) when it cannot be started.
pid_t StartProcess(const std::vector<std::string>& words);

// The status of a process StartProcess started (as waitpid gives it) once it has ended;
// nothing while it runs or after ForgetProcess.
std::optional<int> EndedProcessStatus(pid_t pid);

// Stops keeping the end of a started process (its status is no longer asked for); the
// process is still reaped when it ends.
void ForgetProcess(pid_t pid);

// Whether a process with this id is in the process group of `group`.
bool IsInProcessGroup(pid_t pid, pid_t group);

}  // namespace velcrum
