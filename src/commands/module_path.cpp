// The module path.
#include "commands/module_path.h"

namespace velcrum {

std::string g_modulePath;

}  // namespace velcrum
