// Timecodes: whole numbers of frames at 25 frames a second, read as hh:mm:ss:ff and
// written as hh.mm.ss.ff.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace velcrum {

inline constexpr int64_t kFramesPerSecond = 25;
inline constexpr int64_t kFramesPerMinute = 1500;
inline constexpr int64_t kFramesPerHour = 90000;
inline constexpr int64_t kFramesPerDay = 2160000;

// ";" and "." are taken as ":", then hours, minutes, seconds and frames are read as
// "%02ld:%02ld:%02ld:%02ld" reads them (two characters each at most); the fields after
// the first that cannot be read count 0.
int64_t ReadTimecode(std::string_view text);

// "%02ld.%02ld.%02ld.%02ld" of hours, minutes, seconds and frames.
std::string TimecodeText(int64_t frames);

// Frames brought into one day, 0 to 2,159,999, as a clock wraps.
int64_t WrapTimecode(int64_t frames);

// The local time of day of a moment as a timecode text with frame 0: "hh.mm.ss.00".
std::string LocalTimeTimecode(std::time_t moment);

}  // namespace velcrum
