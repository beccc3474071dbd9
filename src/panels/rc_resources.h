// A panel's resources as read from its resource script: for now its string table (the
// script lines, the About strings, the NETWORKMESSAGE line). Dialog templates, bitmaps
// and icons join it as the reader learns them.
#pragma once

#include <map>
#include <string>

#include "interpreter/resource_source.h"
#include "panels/rc_parser.h"

namespace velcrum {

class RcResources final : public ResourceSource {
 public:
  RcResources() = default;  // no resources at all
  explicit RcResources(RcScript script) : strings_(std::move(script.strings)) {}

  // The STRINGTABLE entry with that identifier, as written in the script (no limit on its
  // length: the script loader cuts and reports over-long lines itself).
  bool LoadString(int id, std::string& text) const override {
    const auto found = strings_.find(id);
    if (found == strings_.end()) return false;
    text = found->second;
    return true;
  }

  size_t StringCount() const { return strings_.size(); }

 private:
  std::map<int, std::string> strings_;
};

}  // namespace velcrum
