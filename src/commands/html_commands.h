// The H group: HTML pages that panels write, up to 32 at a time (HO opens a page, HW writes
// to it, HC closes it), and deleting and renaming files (HD, HR).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kHtmlCommands;

// Finishes and writes every page still open, with the closing tags HC writes; a page that
// cannot be written is reported to the debug output. For the module's reset and shut-down.
void CloseHtmlPages();

}  // namespace velcrum
