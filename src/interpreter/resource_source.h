// Where the string-table resources bound into a panel come from.
//
// The shell reads them from the panel's resource script; tests and velcrum-run use an
// in-memory table. Only the look-up of one string by its identifier is needed.
#pragma once

#include <map>
#include <string>

namespace velcrum {

class ResourceSource {
 public:
  virtual ~ResourceSource() = default;
  // The string with that identifier, or false when there is none.
  virtual bool LoadString(int id, std::string& text) const = 0;
};

class InMemoryResources final : public ResourceSource {
 public:
  InMemoryResources() = default;
  explicit InMemoryResources(std::map<int, std::string> strings) : strings_(std::move(strings)) {}

  void Add(int id, std::string text) { strings_[id] = std::move(text); }

  bool LoadString(int id, std::string& text) const override {
    const auto found = strings_.find(id);
    if (found == strings_.end()) return false;
    text = found->second;
    return true;
  }

 private:
  std::map<int, std::string> strings_;
};

}  // namespace velcrum
