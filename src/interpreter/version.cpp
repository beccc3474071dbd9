// The build's date and time, taken once here so that every text that shows them agrees.
#include "interpreter/version.h"

namespace velcrum {

const char kBuildDate[] = __DATE__;
const char kBuildTime[] = __TIME__;

}  // namespace velcrum
