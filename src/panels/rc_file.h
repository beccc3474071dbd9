// Reading a resource script (or a file it includes) from the host file system.
#pragma once

#include <string>

namespace velcrum {

// Scripts larger than this are refused rather than read into memory.
constexpr size_t kMaxRcFileSize = 16u << 20;

// Reads the whole regular file at `hostPath` into `bytes`. False with `error` set when it
// is missing, not a regular file, unreadable or too large.
bool ReadRcFile(const std::string& hostPath, std::string& bytes, std::string& error);

}  // namespace velcrum
