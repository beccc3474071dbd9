// Timecode reading, writing and wrapping.
#include "commands/timecode.h"

#include <algorithm>

#include "commands/field_scanner.h"
#include "interpreter/format.h"

namespace velcrum {

int64_t ReadTimecode(std::string_view text) {
  std::string colons(text);
  std::replace(colons.begin(), colons.end(), ';', ':');
  std::replace(colons.begin(), colons.end(), '.', ':');
  FieldScanner scan(colons);
  int64_t fields[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && !scan.Literal(':')) break;
    const auto value = scan.Integer(2);
    if (!value) break;
    fields[i] = *value;
  }
  return fields[0] * kFramesPerHour + fields[1] * kFramesPerMinute + fields[2] * kFramesPerSecond +
         fields[3];
}

std::string TimecodeText(int64_t frames) {
  const int64_t inHour = frames % kFramesPerHour;
  const int64_t inMinute = inHour % kFramesPerMinute;
  return Format("%02lld.%02lld.%02lld.%02lld", static_cast<long long>(frames / kFramesPerHour),
                static_cast<long long>(inHour / kFramesPerMinute),
                static_cast<long long>(inMinute / kFramesPerSecond),
                static_cast<long long>(inMinute % kFramesPerSecond));
}

int64_t WrapTimecode(int64_t frames) {
  const int64_t wrapped = frames % kFramesPerDay;
  return wrapped < 0 ? wrapped + kFramesPerDay : wrapped;
}

std::string LocalTimeTimecode(std::time_t moment) {
  // The interpreter runs on one thread, so the C library's shared result is safe here.
  const std::tm* local = std::localtime(&moment);
  if (local == nullptr) return "00.00.00.00";
  return Format("%02d.%02d.%02d.00", local->tm_hour, local->tm_min, local->tm_sec);
}

}  // namespace velcrum
