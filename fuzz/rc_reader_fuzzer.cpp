// Fuzzes the resource-script reader: any bytes are read as a .rc file, every problem is
// reported within the limit, only identifiers 0 to 65535 reach the string table, and the
// dialogs read are found by their names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "panels/rc_parser.h"
#include "panels/rc_resources.h"
#include "platform/ascii_case.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // No directory: #include lines are reported, never read from the machine.
  velcrum::RcScript script = velcrum::ParseRcText(text, "FUZZ.rc", "");
  if (script.problems.size() > velcrum::RcProblems::kMaxProblems) std::abort();
  for (const velcrum::RcProblem& problem : script.problems) {
    if (problem.Text().empty() || problem.line < 1) std::abort();
  }
  for (const auto& [id, entry] : script.strings) {
    if (id < 0 || id > 0xFFFF || entry.find('\0') != std::string::npos) std::abort();
  }
  std::vector<std::string> dialogNames;
  for (const auto& [name, dialog] : script.dialogs) {
    if (name.empty()) std::abort();
    dialogNames.push_back(velcrum::LowerAsciiText(name));
  }
  const velcrum::RcResources resources(std::move(script));
  std::string found;
  for (int id = 0; id <= 0xFFFF; id += 97) resources.LoadString(id, found);
  velcrum::platform::DialogTemplate dialog;
  for (const std::string& name : dialogNames) {
    if (!resources.LoadDialog(name, dialog)) std::abort();
  }
  return 0;
}
