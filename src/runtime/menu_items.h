// The identifiers of the main window's pop-up menu items: the shell builds the menu and
// sets its switches; the developer tools and the panels act on some of its items too.
#pragma once

#include <cstdint>

namespace velcrum {

enum MenuItem : uint32_t {
  kMenuAbout = 256,
  kMenuExit = 300,
  kMenuShowEditor = 501,
  kMenuShowDebugWindow = 502,
  kMenuOutputParserTrace = 503,
  kMenuShowVariables = 504,
  kMenuClearVariables = 505,
  kMenuOutputToDbwin = 510,
  kMenuOutputDebug = 511,
};

}  // namespace velcrum
