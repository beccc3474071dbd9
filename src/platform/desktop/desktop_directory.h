// Where the desktop lives, and who its processes are.
//
// The desktop is a directory private to one user: $VELCRUM_DESKTOP, else
// $XDG_RUNTIME_DIR/velcrum-desktop, else /tmp/velcrum-desktop-$UID. It holds the window
// registry, each process's bus socket and the sockets of attached debug monitors. A process
// is named by its id and its start time, so that an entry left by a dead process is never
// taken for a live one that happens to reuse the id.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace velcrum::platform {

// The desktop directory the environment names (not checked or created).
std::string DesktopDirectoryFromEnvironment();

// Creates the directory if needed and makes sure only this user can reach it: it must be a
// real directory owned by the effective user; group and other permissions are removed.
// Fails (with the reason in *error) for anything else, and when the socket names inside it
// would not fit a Unix socket address.
bool PrepareDesktopDirectory(const std::string& path, std::string* error);

// The start time of a process (clock ticks since boot, from /proc), or nothing when no such
// process exists or it has already ended (a zombie counts as ended).
std::optional<uint64_t> ProcessStartTime(pid_t pid);

// Whether the process with this id and start time is still running.
bool ProcessAlive(pid_t pid, uint64_t startTime);

// Whether any process at all has this id (a zombie included): files named after a pid are
// removed only when this is false.
bool ProcessIdInUse(pid_t pid);

// Names inside the desktop directory.
std::string BusSocketPath(const std::string& dir, pid_t pid);
std::string MonitorSocketPath(const std::string& dir, pid_t pid);

}  // namespace velcrum::platform
