// The desktop's line printer (see platform/printing.h): Qt's print support, or a PDF file
// when VELCRUM_PRINT_TO names one. DesktopSession::Open installs it.
#pragma once

#include <string>
#include <vector>

#include "platform/printing.h"

namespace velcrum::platform {

PrintResult PrintLinesOnDesktop(const std::vector<std::string>& lines);

}  // namespace velcrum::platform
