// A panel's resources as read from its resource script: its string table (the script
// lines, the About strings, the NETWORKMESSAGE line), its dialog templates, bitmaps and
// icons, found by name as FindResource takes it ("#12", or a name in any case).
#pragma once

#include <map>
#include <string>

#include "interpreter/resource_source.h"
#include "panels/rc_parser.h"
#include "panels/rc_statements.h"

namespace velcrum {

class RcResources final : public ResourceSource {
 public:
  RcResources() = default;  // no resources at all
  explicit RcResources(RcScript script)
      : strings_(std::move(script.strings)),
        dialogs_(std::move(script.dialogs)),
        bitmaps_(std::move(script.bitmaps)),
        icons_(std::move(script.icons)) {}

  // The STRINGTABLE entry with that identifier, as written in the script (no limit on its
  // length: the script loader cuts and reports over-long lines itself).
  bool LoadString(int id, std::string& text) const override {
    const auto found = strings_.find(id);
    if (found == strings_.end()) return false;
    text = found->second;
    return true;
  }
  bool LoadDialog(std::string_view name, platform::DialogTemplate& dialog) const override {
    return Find(dialogs_, name, dialog);
  }
  bool LoadBitmap(std::string_view name, std::string& bytes) const override {
    return Find(bitmaps_, name, bytes);
  }
  bool LoadIcon(std::string_view name, std::string& bytes) const override {
    return Find(icons_, name, bytes);
  }

  size_t StringCount() const { return strings_.size(); }

 private:
  template <typename T>
  static bool Find(const std::map<std::string, T>& table, std::string_view name, T& out) {
    const auto found = table.find(RcResourceKey(name));
    if (found == table.end()) return false;
    out = found->second;
    return true;
  }

  std::map<int, std::string> strings_;
  std::map<std::string, platform::DialogTemplate> dialogs_;
  std::map<std::string, std::string> bitmaps_;
  std::map<std::string, std::string> icons_;
};

}  // namespace velcrum
