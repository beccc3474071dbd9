// Loading and saving wave clips with libsndfile. A save is built in memory through
// libsndfile's virtual I/O and then replaces the file whole, so a failed save never
// leaves a cut WAV file behind.
#include "platform/wave_clip.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/atomic_file.h"

namespace velcrum {
namespace {

// The bytes of a file being written, for libsndfile's virtual I/O.
struct MemoryFile {
  std::string bytes;
  sf_count_t position = 0;
};

sf_count_t MemoryLength(void* user) {
  return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  const sf_count_t base = whence == SEEK_SET   ? 0
                          : whence == SEEK_CUR ? file->position
                                               : static_cast<sf_count_t>(file->bytes.size());
  file->position = std::max<sf_count_t>(0, base + offset);
  return file->position;
}

sf_count_t MemoryRead(void* to, sf_count_t count, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  const sf_count_t size = static_cast<sf_count_t>(file->bytes.size());
  const sf_count_t n = std::clamp<sf_count_t>(size - file->position, 0, count);
  // A seek may leave the position past the end: nothing to copy then.
  if (n > 0) std::memcpy(to, file->bytes.data() + file->position, static_cast<size_t>(n));
  file->position += n;
  return n;
}

sf_count_t MemoryWrite(const void* from, sf_count_t count, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  const size_t end = static_cast<size_t>(file->position + count);
  if (file->bytes.size() < end) file->bytes.resize(end);
  std::memcpy(file->bytes.data() + file->position, from, static_cast<size_t>(count));
  file->position += count;
  return count;
}

sf_count_t MemoryTell(void* user) {
  return static_cast<MemoryFile*>(user)->position;
}

}  // namespace

uint32_t WaveClip::FramesToMs(size_t frames) const {
  if (sampleRate <= 0) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(frames) * 1000 /
                               static_cast<uint64_t>(sampleRate));
}

size_t WaveClip::MsToFrames(uint32_t ms) const {
  return static_cast<size_t>(static_cast<uint64_t>(ms) * static_cast<uint64_t>(sampleRate) / 1000);
}

WaveFileResult LoadWaveClip(const std::string& hostPath, WaveClip& clip) {
  struct stat status {};
  if (stat(hostPath.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return WaveFileResult::kNotFound;
  }
  SF_INFO info{};
  SNDFILE* file = sf_open(hostPath.c_str(), SFM_READ, &info);
  if (!file) return WaveFileResult::kNotAudio;
  WaveClip loaded;
  loaded.channels = info.channels;
  loaded.sampleRate = info.samplerate;
  loaded.bitsPerSample = (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_U8 ? 8 : 16;
  loaded.samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
  const sf_count_t read = sf_readf_short(file, loaded.samples.data(), info.frames);
  sf_close(file);
  if (read < 0 || info.channels <= 0 || info.samplerate <= 0) return WaveFileResult::kNotAudio;
  loaded.samples.resize(static_cast<size_t>(read) * static_cast<size_t>(info.channels));
  clip = std::move(loaded);
  return WaveFileResult::kDone;
}

WaveFileResult SaveWaveClip(const WaveClip& clip, const std::string& hostPath) {
  MemoryFile memory;
  SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
  SF_INFO info{};
  info.channels = clip.channels;
  info.samplerate = clip.sampleRate;
  info.format = SF_FORMAT_WAV | (clip.bitsPerSample == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16);
  SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
  if (!file) return WaveFileResult::kNotWritten;
  const sf_count_t frames = static_cast<sf_count_t>(clip.Frames());
  const bool written = sf_writef_short(file, clip.samples.data(), frames) == frames;
  if (sf_close(file) != 0 || !written) return WaveFileResult::kNotWritten;
  return ReplaceFile(hostPath, memory.bytes) == FileWrite::kWritten ? WaveFileResult::kDone
                                                                    : WaveFileResult::kNotWritten;
}

}  // namespace velcrum
