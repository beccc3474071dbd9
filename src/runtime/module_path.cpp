// The module path.
#include "runtime/module_path.h"

namespace velcrum {

std::string g_modulePath;

}  // namespace velcrum
