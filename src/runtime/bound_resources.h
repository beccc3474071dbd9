// The panel's bound resources in use: the string table the script, the About box and the
// section checks read, and the dialogs, bitmaps and icons of its panels.
#pragma once

#include "interpreter/resource_source.h"

namespace velcrum {

// The resources in use; an empty table until SetBoundResources.
const ResourceSource& BoundResources();
// Installs the panel's resources (nullptr: none). The caller keeps ownership.
void SetBoundResources(const ResourceSource* resources);

}  // namespace velcrum
