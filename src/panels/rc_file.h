// Reading a resource script and the files it names (included files, bitmaps, icons):
// from the host file system, or from wherever a RcFileSource keeps them (a bound bundle).
//
// Files are named by keys: the name as the script writes it, joined to the directory of
// the file that writes it, relative to the main script's directory, with "/" between
// components ("res/logo.bmp", "../common/ids.h"). Keys are compared without regard to
// case, as Windows compares file names.
#pragma once

#include <string>
#include <string_view>

namespace velcrum {

// Scripts larger than this are refused rather than read into memory.
constexpr size_t kMaxRcFileSize = 16u << 20;

// Reads the whole regular file at `hostPath` into `bytes`. False with `error` set when it
// is missing, not a regular file, unreadable or too large.
bool ReadRcFile(const std::string& hostPath, std::string& bytes, std::string& error);

// The key of `name` (written with "\" or "/") named in a file whose directory has the key
// `directoryKey` ("" for the main script's): "." and ".." are resolved ("res/../x.h" is
// "x.h"; ".." that leads above the main directory stays). A name with a drive ("c:\x.h")
// or a leading "\" is not relative to anything: its key is the name with "/".
std::string RcFileKey(std::string_view directoryKey, std::string_view name);

// The key of the directory of the file with key `key` ("res" for "res/logo.bmp").
std::string RcKeyDirectory(std::string_view key);

class RcFileSource {
 public:
  virtual ~RcFileSource() = default;
  // The bytes of the file with that key, and how problems name it. False with `error`
  // set ("not found", "is too large", ...) when there is no such file.
  virtual bool Read(const std::string& key, std::string& bytes, std::string& shownName,
                    std::string& error) const = 0;
};

// The files beside a script on this machine: keys relative to `directory` (a host path),
// components found without regard to case; a drive key through the drive mapping.
class HostRcFiles final : public RcFileSource {
 public:
  explicit HostRcFiles(std::string directory) : directory_(std::move(directory)) {}
  bool Read(const std::string& key, std::string& bytes, std::string& shownName,
            std::string& error) const override;

 private:
  std::string directory_;
};

}  // namespace velcrum
