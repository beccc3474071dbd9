// The program version, as title bars, boxes, the log and the version query show it, and
// the date and time the program was built, as the About box and the build query show them.
#pragma once

namespace velcrum {

inline constexpr char kVersion[] = "3.08.41";

// The compiler's forms: "Mar  5 2024" and "14:03:07".
extern const char kBuildDate[];
extern const char kBuildTime[];

}  // namespace velcrum
