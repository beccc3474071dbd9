// The module path of a panel: the file it was started as, made absolute, links not
// resolved, so that a link or copy named after the panel names it.
#pragma once

#include <string>

namespace velcrum {

// argv[0] made absolute: relative to the working directory when it names a directory,
// else looked up along PATH as the shell did; /proc/self/exe when neither finds it.
std::string ModulePathFromArgv0(const std::string& argv0);

}  // namespace velcrum
