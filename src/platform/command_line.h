// Windows command lines on the host: the words a program started with a command line
// receives, and the host program and arguments that a command line written for Windows
// names (the way EA starts programs).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velcrum {

// The words of a command line as a Windows program receives them (CreateProcess and the
// C runtime's rules): words are separated by blanks and tabs; the first word, the
// program, ends at the next blank or, when it begins with a double quote, at the next
// double quote. In the other words a double quote starts or ends a quoted part (blanks in
// it do not separate), two double quotes inside a quoted part stand for one, and
// backslashes are literal except before a double quote: 2n backslashes and a quote give n
// backslashes and a quote that starts or ends a quoted part, 2n+1 give n backslashes and
// a literal quote.
std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine);

// The host file of the program a command line names, found as Windows finds it:
// - a name with a drive or a "\" is a Windows path, mapped by HostPath (paths.h);
// - a bare name is looked for in each of `searchFirst` (host directories), then the
//   current directory, then each directory of $PATH.
// Each place is tried with the name as written, then without its ".exe" extension (the
// host's programs have none) or, for a name without any extension, with ".exe" added (a
// panel's program file is NAME.EXE), found without regard to case. Empty when no such
// executable file exists (errno ENOENT, or EACCES when one exists but may not be run).
std::string FindHostProgram(std::string_view program, const std::vector<std::string>& searchFirst);

// An argument written as a drive path ("c:\data\x.txt") as the host path it names; any
// other argument as it stands. A program of the host reads host paths, not drive letters.
std::string HostArgument(std::string_view argument);

// Whether the host program is this very program (the runtime started again under a
// panel's name): it reads Windows paths itself, so its arguments are passed unmapped.
bool IsThisProgram(const std::string& hostProgram);

}  // namespace velcrum
