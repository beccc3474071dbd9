// Finding and reading a panel's companion resource script.
#include "panels/companion_script.h"

#include <filesystem>

#include "interpreter/host.h"
#include "platform/paths.h"

namespace velcrum {

std::string CompanionScriptName(const std::string& modulePath) {
  const size_t slash = modulePath.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = modulePath.rfind('.');
  const size_t cut = (dot == std::string::npos || dot < nameStart) ? modulePath.size() : dot;
  return modulePath.substr(0, cut) + ".rc";
}

std::string FindCompanionScript(const std::string& modulePath) {
  if (modulePath.empty()) return {};
  namespace fs = std::filesystem;
  std::error_code code;
  std::string name = CompanionScriptName(modulePath);
  if (name.front() != '/') name = fs::absolute(name, code).string();
  if (fs::is_regular_file(name, code)) return name;
  // HostPath finds every existing component without regard to case.
  const std::string found = HostPath(name);
  if (fs::is_regular_file(found, code)) return found;
  return {};
}

RcResources LoadCompanionResources(const std::string& modulePath) {
  const std::string path = FindCompanionScript(modulePath);
  if (path.empty()) return {};
  return ReportedResources(ParseRcFile(path));
}

RcResources ReportedResources(RcScript script) {
  // Reports go straight to the system debugger: they concern the installation, not a
  // script line, and must be seen whatever the Debug switches say, as a failed resource
  // compile always was.
  for (const RcProblem& problem : script.problems) TheHost().SystemDebuggerOut(problem.Text());
  return RcResources(std::move(script));
}

}  // namespace velcrum
