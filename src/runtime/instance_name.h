// The instance name: the main window's title, the head of every diagnostic and the
// identity by which copies of the program recognise each other.
#pragma once

#include <string>
#include <string_view>

namespace velcrum {

// From the module path: the file name up to its first ".", upper-cased, padded with "_"
// to 8 characters (cut to exactly 8 in the compatible mode), spaces among the first 8
// made "_", then "." and the workstation number in three digits ("DESK_4__.012").
// Both "\" and "/" separate directories.
std::string FormInstanceName(std::string_view modulePath, int workstation, bool compatibleNames);

}  // namespace velcrum
