// What EA makes of its command line before it acts: the arguments, and the three window
// titles by which a copy of the program that already runs is found.
#pragma once

#include <string>
#include <string_view>

namespace velcrum {

struct LaunchPlan {
  std::string commandLine;  // in Windows notation unless the script's was kept
  std::string arguments;    // the text after the command line's first blank
  std::string titles[3];    // T1, T2, T3, each ending in ".%03d" of the workstation
};

// The command line's notation (";" for ":" and "/" for "\") is turned into Windows
// notation unless keepNotation. T1 is the command line up to its first "." padded with
// "_" to 8 characters; T2 the program's base name upper-cased and padded to 8; T3 the
// base name as written. The program is the command line up to its first "." or, when the
// line names no ".exe" but has a blank, the first word of that part; its base name is
// what follows its last "\".
LaunchPlan PlanLaunch(std::string_view commandLine, bool keepNotation, int workstation);

}  // namespace velcrum
