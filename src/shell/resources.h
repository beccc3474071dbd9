// The panel's bound resources as the shell sees them: the string table the script, the
// About box and the section checks read.
#pragma once

#include "interpreter/resource_source.h"

namespace velcrum {

// The resources in use; an empty table until SetBoundResources.
const ResourceSource& BoundResources();
// Installs the panel's resources (nullptr: none). The caller keeps ownership.
void SetBoundResources(const ResourceSource* resources);

}  // namespace velcrum
