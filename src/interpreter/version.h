// The program version, as title bars, boxes, the log and the version query show it.
#pragma once

namespace velcrum {

inline constexpr char kVersion[] = "3.08.41";

}  // namespace velcrum
