// EA's reading of its command line.
#include "shell/program_launch.h"

#include "interpreter/format.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

std::string PaddedTo8(std::string text) {
  if (text.size() < 8) text.resize(8, '_');
  return text;
}

std::string Titled(const std::string& name, int workstation) {
  return Format("%s.%03d", name.c_str(), workstation);
}

}  // namespace

LaunchPlan PlanLaunch(std::string_view commandLine, bool keepNotation, int workstation) {
  LaunchPlan plan;
  plan.commandLine = keepNotation ? std::string(commandLine) : ScriptPathToWindows(commandLine);
  const std::string& line = plan.commandLine;
  const size_t blank = line.find(' ');
  if (blank != std::string::npos) plan.arguments = line.substr(blank + 1);

  const std::string beforeDot = line.substr(0, line.find('.'));
  std::string program = beforeDot;
  if (LowerAsciiText(line).find(".exe") == std::string::npos && blank != std::string::npos) {
    program = program.substr(0, program.find(' '));
  }
  const size_t separator = program.rfind('\\');
  const std::string base = separator == std::string::npos ? program : program.substr(separator + 1);

  plan.titles[0] = Titled(PaddedTo8(beforeDot), workstation);
  plan.titles[1] = Titled(PaddedTo8(UpperAsciiText(base)), workstation);
  plan.titles[2] = Titled(base, workstation);
  return plan;
}

}  // namespace velcrum
