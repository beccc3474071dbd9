// Forming the instance name.
#include "runtime/instance_name.h"

#include <algorithm>
#include <cstdio>

namespace velcrum {

std::string FormInstanceName(std::string_view modulePath, int workstation, bool compatibleNames) {
  constexpr size_t kMinimumWidth = 8;
  constexpr size_t kMaxLength = 255;
  const size_t slash = modulePath.find_last_of("\\/");
  std::string_view base =
      slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
  base = base.substr(0, base.find('.'));
  const size_t width = compatibleNames ? kMinimumWidth : std::max(base.size(), kMinimumWidth);

  std::string name(base.substr(0, width));
  name.resize(width, '_');
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] >= 'a' && name[i] <= 'z') name[i] = static_cast<char>(name[i] - 'a' + 'A');
    if (i < kMinimumWidth && name[i] == ' ') name[i] = '_';
  }
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%03d", workstation);
  name.resize(std::min(name.size(), kMaxLength - std::char_traits<char>::length(suffix)));
  return name + suffix;
}

}  // namespace velcrum
