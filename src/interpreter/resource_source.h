// Where the resources bound into a panel come from: its string table (the script, the
// About strings), its dialog templates, bitmaps and icons.
//
// The shell reads them from the panel's resource script; tests and velcrum-run use an
// in-memory table. Resource names are as FindResource takes them: "#12" for the
// identifier 12, a name compared without regard to case.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/dialog_template.h"

namespace velcrum {

class ResourceSource {
 public:
  virtual ~ResourceSource() = default;
  // The string with that identifier, or false when there is none.
  virtual bool LoadString(int id, std::string& text) const = 0;
  // The dialog template of that name, or false when there is none.
  virtual bool LoadDialog(std::string_view name, platform::DialogTemplate& dialog) const {
    (void)name;
    (void)dialog;
    return false;
  }
  // The bytes of the BITMAP (a .bmp file) or ICON (a .ico file) resource of that name.
  virtual bool LoadBitmap(std::string_view name, std::string& bytes) const {
    (void)name;
    (void)bytes;
    return false;
  }
  virtual bool LoadIcon(std::string_view name, std::string& bytes) const {
    (void)name;
    (void)bytes;
    return false;
  }
};

class InMemoryResources final : public ResourceSource {
 public:
  InMemoryResources() = default;
  explicit InMemoryResources(std::map<int, std::string> strings) : strings_(std::move(strings)) {}

  void Add(int id, std::string text) { strings_[id] = std::move(text); }
  // Dialogs by name as FindResource takes it ("#1" for panel 1).
  void AddDialog(std::string name, platform::DialogTemplate dialog) {
    dialogs_[std::move(name)] = std::move(dialog);
  }
  void AddBitmap(std::string name, std::string bytes) {
    bitmaps_[std::move(name)] = std::move(bytes);
  }

  bool LoadString(int id, std::string& text) const override {
    const auto found = strings_.find(id);
    if (found == strings_.end()) return false;
    text = found->second;
    return true;
  }
  bool LoadDialog(std::string_view name, platform::DialogTemplate& dialog) const override {
    const auto found = dialogs_.find(std::string(name));
    if (found == dialogs_.end()) return false;
    dialog = found->second;
    return true;
  }
  bool LoadBitmap(std::string_view name, std::string& bytes) const override {
    const auto found = bitmaps_.find(std::string(name));
    if (found == bitmaps_.end()) return false;
    bytes = found->second;
    return true;
  }

 private:
  std::map<int, std::string> strings_;
  std::map<std::string, platform::DialogTemplate> dialogs_;
  std::map<std::string, std::string> bitmaps_;
};

}  // namespace velcrum
