// The bound bundle: a panel's resource script and the files it reads (its local headers,
// bitmaps and icons) appended to a copy of the runtime program, so that one file is the
// whole panel. velcrum-bind writes it; the runtime finds it at the end of its own file.
//
// Layout, numbers little-endian:
//   the program's own bytes
//   one record per file, the script first: u32 key length, key, u32 data length, data
//     (the key as rc_file.h makes it: the name relative to the script's directory)
//   the trailer, 16 bytes: u64 length of the records, then the 8 bytes "VLCBND01"
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "panels/rc_file.h"
#include "panels/rc_resources.h"

namespace velcrum {

struct BoundFile {
  std::string key;
  std::string bytes;
};

// At most this many bytes of records are read back, so a damaged trailer cannot make the
// runtime read without end.
inline constexpr uint64_t kMaxBoundBundleSize = uint64_t{256} << 20;

// The records and the trailer for `files` (the script first), to append to a program.
std::string EncodeBoundBundle(const std::vector<BoundFile>& files);

// `bytes` without the bundle at its end, if it has one: the program it was bound to.
std::string_view WithoutBoundBundle(std::string_view bytes);

enum class BundleRead { kNone, kRead, kBroken };

// The bundle at the end of the file at `hostPath`. kNone: the file has none (or cannot be
// opened); kBroken: its trailer is there but the records are not whole (`error` says why).
BundleRead ReadBoundBundle(const std::string& hostPath, std::vector<BoundFile>& files,
                           std::string& error);

// A bundle's files as the reader's file source: found by key without regard to case,
// named in reports as "<bundle name>[<key>]".
class BundleRcFiles final : public RcFileSource {
 public:
  BundleRcFiles(const std::vector<BoundFile>& files, std::string bundleName)
      : files_(files), bundleName_(std::move(bundleName)) {}
  bool Read(const std::string& key, std::string& bytes, std::string& shownName,
            std::string& error) const override;

 private:
  const std::vector<BoundFile>& files_;
  std::string bundleName_;
};

// Parses the script of a bundle (its first file) with the bundle's files.
RcScript ParseBoundBundle(const std::vector<BoundFile>& files, const std::string& bundleName);

// The resources of the panel whose program file is `modulePath`: its bound bundle when
// the file has one, else its companion script (companion_script.h). Problems, a broken
// bundle among them, are lines on the system debugger.
RcResources LoadModuleResources(const std::string& modulePath);

}  // namespace velcrum
