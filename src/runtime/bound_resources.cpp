// The bound resources in use.
#include "runtime/bound_resources.h"

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
