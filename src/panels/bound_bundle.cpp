// The bound bundle at the end of a panel's program file.
#include "panels/bound_bundle.h"

#include <fstream>

#include "interpreter/host.h"
#include "panels/companion_script.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

constexpr std::string_view kMagic = "VLCBND01";
constexpr size_t kTrailerSize = 16;
constexpr uint32_t kMaxKeyLength = 4096;

void PutNumber(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

uint64_t GetNumber(std::string_view in, size_t at, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = value << 8 | static_cast<unsigned char>(in[at + static_cast<size_t>(i)]);
  }
  return value;
}

// The length of the records that the trailer at the end of `tail` announces; 0 when
// `tail` does not end in a trailer.
uint64_t RecordsLength(std::string_view tail) {
  if (tail.size() < kTrailerSize || tail.substr(tail.size() - kMagic.size()) != kMagic) return 0;
  return GetNumber(tail, tail.size() - kTrailerSize, 8);
}

// Splits records into files; false when they are not whole.
bool DecodeRecords(std::string_view records, std::vector<BoundFile>& files, std::string& error) {
  files.clear();
  size_t at = 0;
  while (at < records.size()) {
    if (records.size() - at < 4) break;
    const uint64_t keyLength = GetNumber(records, at, 4);
    at += 4;
    if (keyLength > kMaxKeyLength || records.size() - at < keyLength + 4) break;
    std::string key(records.substr(at, keyLength));
    at += keyLength;
    const uint64_t dataLength = GetNumber(records, at, 4);
    at += 4;
    if (dataLength > kMaxRcFileSize || records.size() - at < dataLength) break;
    files.push_back({std::move(key), std::string(records.substr(at, dataLength))});
    at += dataLength;
  }
  if (at != records.size() || files.empty()) {
    error = "the bound resources are damaged";
    files.clear();
    return false;
  }
  return true;
}

}  // namespace

std::string EncodeBoundBundle(const std::vector<BoundFile>& files) {
  std::string records;
  for (const BoundFile& file : files) {
    PutNumber(records, file.key.size(), 4);
    records += file.key;
    PutNumber(records, file.bytes.size(), 4);
    records += file.bytes;
  }
  const uint64_t length = records.size();
  PutNumber(records, length, 8);
  records += kMagic;
  return records;
}

std::string_view WithoutBoundBundle(std::string_view bytes) {
  const uint64_t length = RecordsLength(bytes);
  if (length == 0 || length > bytes.size() - kTrailerSize) return bytes;
  return bytes.substr(0, bytes.size() - kTrailerSize - length);
}

BundleRead ReadBoundBundle(const std::string& hostPath, std::vector<BoundFile>& files,
                           std::string& error) {
  std::ifstream file(hostPath, std::ios::binary | std::ios::ate);
  if (!file) return BundleRead::kNone;
  const std::streamoff size = file.tellg();
  if (size < static_cast<std::streamoff>(kTrailerSize)) return BundleRead::kNone;
  std::string trailer(kTrailerSize, '\0');
  file.seekg(size - static_cast<std::streamoff>(kTrailerSize));
  if (!file.read(trailer.data(), kTrailerSize)) return BundleRead::kNone;
  const uint64_t length = RecordsLength(trailer);
  if (length == 0) return BundleRead::kNone;
  if (length > kMaxBoundBundleSize || length > static_cast<uint64_t>(size) - kTrailerSize) {
    error = "the bound resources are damaged";
    return BundleRead::kBroken;
  }
  std::string records(length, '\0');
  file.seekg(size - static_cast<std::streamoff>(kTrailerSize + length));
  if (!file.read(records.data(), static_cast<std::streamsize>(length))) {
    error = "the bound resources cannot be read";
    return BundleRead::kBroken;
  }
  return DecodeRecords(records, files, error) ? BundleRead::kRead : BundleRead::kBroken;
}

bool BundleRcFiles::Read(const std::string& key, std::string& bytes, std::string& shownName,
                         std::string& error) const {
  for (const BoundFile& file : files_) {
    if (EqualNoCase(file.key, key)) {
      bytes = file.bytes;
      shownName = bundleName_ + "[" + file.key + "]";
      return true;
    }
  }
  error = "not found";
  return false;
}

RcScript ParseBoundBundle(const std::vector<BoundFile>& files, const std::string& bundleName) {
  if (files.empty()) return {};
  const BundleRcFiles source(files, bundleName);
  return ParseRcText(files.front().bytes, bundleName + "[" + files.front().key + "]", &source);
}

RcResources LoadModuleResources(const std::string& modulePath) {
  std::vector<BoundFile> files;
  std::string error;
  switch (ReadBoundBundle(modulePath, files, error)) {
    case BundleRead::kRead:
      return ReportedResources(ParseBoundBundle(files, modulePath));
    case BundleRead::kBroken:
      TheHost().SystemDebuggerOut(modulePath + ": " + error);
      break;
    case BundleRead::kNone:
      break;
  }
  return LoadCompanionResources(modulePath);
}

}  // namespace velcrum
