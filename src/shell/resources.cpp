// The bound resources in use.
#include "shell/resources.h"

namespace velcrum {
namespace {

const InMemoryResources kNoResources;
const ResourceSource* g_resources = &kNoResources;

}  // namespace

const ResourceSource& BoundResources() {
  return *g_resources;
}

void SetBoundResources(const ResourceSource* resources) {
  g_resources = resources ? resources : &kNoResources;
}

}  // namespace velcrum
