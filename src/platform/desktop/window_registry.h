// The window registry of a desktop: which process owns which handle, with the title and
// creation order of each window.
//
// One file per window in the desktop directory, named after its handle ("w002a"). A handle
// is claimed by creating that file exclusively (link(2) of a complete temporary file, which
// fails when the name exists), so two processes starting at once can never both hold a
// handle, and a reader never sees a half-written entry. Titles change by renaming a new
// complete file over the old one. An entry whose process has ended is removed by whoever
// finds it, under the desktop's lock file so that a fresh claim of the same handle is never
// mistaken for the stale one. docs/DESKTOP-BUS.md describes the files.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/message.h"

namespace velcrum::platform {

// The text of an entry file, and back. Parsing refuses anything that is not exactly what
// FormatEntry writes.
std::string FormatEntry(const WindowInfo& entry);
std::optional<WindowInfo> ParseEntry(Hwnd hwnd, std::string_view text);

class WindowRegistry {
 public:
  // The registry of the (already prepared) desktop directory, for this process.
  explicit WindowRegistry(std::string dir);

  // Claims a free handle for a new window of this process and publishes its entry.
  // Nothing when every handle is taken or the directory cannot be written.
  std::optional<WindowInfo> Register(bool topLevel, std::string_view title);

  // Replaces the title of one of this process's own windows.
  bool SetTitle(const WindowInfo& entry, std::string_view title);

  // Removes one of this process's own windows.
  void Unregister(Hwnd hwnd);

  // The live entry for a handle; a stale one found on the way is removed.
  std::optional<WindowInfo> Lookup(Hwnd hwnd);

  // Every live entry, in creation order (bottom of the z-order first). Stale entries, and
  // leftovers of processes that no longer exist, are removed on the way.
  std::vector<WindowInfo> List();

  // Removes every entry of a process that has ended (called when its bus connection drops).
  void RemoveEntriesOf(pid_t pid);

  const std::string& Directory() const { return dir_; }

 private:
  std::string EntryPath(Hwnd hwnd) const;
  // Writes a complete entry to a fresh temporary file; its path, or empty on failure.
  std::string WriteTemporary(const WindowInfo& entry);
  // Reads an entry file; `unreadable` is set when the file exists but is not a valid entry.
  std::optional<WindowInfo> ReadEntry(Hwnd hwnd, bool* unreadable);
  // Removes the entry for hwnd if it is (still) stale, under the desktop lock.
  void ReclaimIfStale(Hwnd hwnd);
  // The next creation order number, from the desktop's counter under its lock.
  std::optional<uint64_t> NextOrder();

  std::string dir_;
  pid_t pid_;
  uint64_t startTime_;
  uint64_t temporaries_ = 0;
};

// Windows' FindWindow compares titles without regard to case. Titles are UTF-8; a title
// that is not valid UTF-8 compares byte by byte with only A-Z folded.
bool TitlesMatch(std::string_view a, std::string_view b);

}  // namespace velcrum::platform
