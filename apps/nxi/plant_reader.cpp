// Reading plant files: sections become devices, keys their sizes, names and initial state.
#include "plant_reader.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/ascii_case.h"

namespace velcrum::nxi {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsAsciiSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The value as INI files give it: quotes around the whole of it removed.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream stream{std::string(text)};
  for (std::string word; stream >> word;) words.push_back(LowerAsciiText(word));
  return words;
}

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// A "key = value" line of a device's section, kept until the section's sizes are known.
struct Entry {
  int line = 0;
  std::vector<std::string> key;  // its words, lower case
  std::string value;
};

class Reader {
 public:
  Reader(std::string_view fileName, Plant* plant, std::string* error)
      : fileName_(fileName), plant_(plant), error_(error) {}

  bool Read(std::string_view text) {
    int lineNumber = 0;
    while (!text.empty()) {
      const size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      ++lineNumber;
      line = Trim(line);
      if (line.empty() || line.front() == ';' || line.front() == '#') continue;
      if (line.front() == '[') {
        if (!Finish() || !Begin(line, lineNumber)) return false;
        continue;
      }
      const size_t equals = line.find('=');
      if (equals == std::string_view::npos) return Fail(lineNumber, "expected KEY = VALUE");
      if (!inSection_) return Fail(lineNumber, "a key before the first [router|gpi|info N]");
      Entry entry{lineNumber, Words(line.substr(0, equals)),
                  std::string(Unquote(Trim(line.substr(equals + 1))))};
      if (entry.key.empty()) return Fail(lineNumber, "a value without a key");
      entries_.push_back(std::move(entry));
    }
    return Finish();
  }

 private:
  bool Fail(int line, const std::string& what) {
    if (error_) *error_ = std::string(fileName_) + ":" + std::to_string(line) + ": " + what;
    return false;
  }

  bool Begin(std::string_view header, int line) {
    if (header.back() != ']') return Fail(line, "a section header must end with ]");
    const std::vector<std::string> words = Words(header.substr(1, header.size() - 2));
    const std::optional<int> number = words.size() == 2 ? Number(words[1]) : std::nullopt;
    if (!number) return Fail(line, "expected [router N], [gpi N] or [info N]");
    device_ = Device{};
    device_.number = *number;
    if (words[0] == "router") {
      device_.kind = DeviceKind::kRouter;
    } else if (words[0] == "gpi") {
      device_.kind = DeviceKind::kGpi;
    } else if (words[0] == "info") {
      device_.kind = DeviceKind::kInfo;
    } else {
      return Fail(line, "unknown device kind '" + words[0] + "' (router, gpi or info)");
    }
    if (*number < 1 || *number > kMaxDevice) return Fail(line, "device number outside 1 to 999");
    if (plant_->Find(*number)) return Fail(line, "device " + words[1] + " is already defined");
    sectionLine_ = line;
    inSection_ = true;
    entries_.clear();
    return true;
  }

  // The section's device: sizes and settings first, then the entries per index.
  bool Finish() {
    if (!inSection_) return true;
    inSection_ = false;
    std::vector<const Entry*> indexed;
    for (const Entry& entry : entries_) {
      if (entry.key.size() == 1 ||
          (entry.key.size() == 2 && entry.key[0] == "status" && entry.key[1] == "text")) {
        if (!Setting(entry)) return false;
      } else {
        indexed.push_back(&entry);
      }
    }
    std::string why;
    if (!plant_->Add(device_, &why)) return Fail(sectionLine_, why);
    Device& device = *plant_->Find(device_.number);
    for (const Entry* entry : indexed) {
      if (!Indexed(device, *entry)) return false;
    }
    return true;
  }

  bool Count(const Entry& entry, int* out, int lowest) {
    const std::optional<int> n = Number(entry.value);
    if (!n || *n < lowest || *n > kMaxIndex) {
      return Fail(entry.line,
                  entry.key[0] + " must be a number from " + std::to_string(lowest) + " to 4096");
    }
    *out = *n;
    return true;
  }

  bool Name(const Entry& entry, std::string* out) {
    if (entry.value.size() > kMaxName) return Fail(entry.line, "a name of over 255 characters");
    *out = entry.value;
    return true;
  }

  bool Setting(const Entry& entry) {
    const std::string& key = entry.key[0];
    const DeviceKind kind = device_.kind;
    if (entry.key.size() == 2) return Name(entry, &device_.statusText);
    if (key == "name") return Name(entry, &device_.name);
    if (key == "served") {
      const std::string value = LowerAsciiText(entry.value);
      if (value == "yes" || value == "1") {
        device_.served = true;
      } else if (value == "no" || value == "0") {
        device_.served = false;
      } else {
        return Fail(entry.line, "served must be yes or no");
      }
      return true;
    }
    if (key == "status") {
      const std::optional<int> n = Number(entry.value);
      if (!n || *n < 0 || *n > 0xFFFF) return Fail(entry.line, "status must be 0 to 65535");
      device_.status = *n;
      return true;
    }
    if (key == "information") {
      std::istringstream stream(entry.value);
      std::vector<int> numbers;
      for (std::string word; stream >> word;) {
        const std::optional<int> n = Number(word);
        if (!n) return Fail(entry.line, "information must be four numbers");
        numbers.push_back(*n);
      }
      if (numbers.size() != 4) return Fail(entry.line, "information must be four numbers");
      device_.information = numbers;
      return true;
    }
    if (kind == DeviceKind::kRouter && key == "destinations") {
      return Count(entry, &device_.destinations, 1);
    }
    if (kind == DeviceKind::kRouter && key == "sources") return Count(entry, &device_.sources, 1);
    if (kind == DeviceKind::kRouter && key == "revertive") {
      const std::string value = LowerAsciiText(entry.value);
      if (value == "integer") {
        device_.form = RevertiveForm::kInteger;
      } else if (value == "text") {
        device_.form = RevertiveForm::kText;
      } else {
        return Fail(entry.line, "revertive must be integer or text");
      }
      return true;
    }
    if (kind == DeviceKind::kGpi && key == "inputs") return Count(entry, &device_.inputs, 0);
    if (kind == DeviceKind::kGpi && key == "outputs") return Count(entry, &device_.outputs, 0);
    if (kind == DeviceKind::kInfo && key == "slots") return Count(entry, &device_.slotCount, 1);
    return Fail(entry.line,
                "unknown key '" + key + "' for a " + std::string(KindName(kind)) + " device");
  }

  // An index within 1 to `highest` from the key's word `word`.
  bool Index(const Entry& entry, size_t word, int lowest, int highest, int* out) {
    const std::optional<int> n = Number(entry.key[word]);
    if (!n || *n < lowest || *n > highest) {
      return Fail(entry.line, "index " + entry.key[word] + " outside " + std::to_string(lowest) +
                                  " to " + std::to_string(highest));
    }
    *out = *n;
    return true;
  }

  bool Indexed(Device& device, const Entry& entry) {
    const std::string& key = entry.key[0];
    const DeviceKind kind = device.kind;
    int index = 0;
    std::string text;
    if (key == "name" && entry.key.size() == 3) {
      int database = 0;
      if (!Index(entry, 1, 0, kDatabases - 1, &database) ||
          !Index(entry, 2, 0, kMaxIndex, &index) || !Name(entry, &text)) {
        return false;
      }
      device.databases[database][index] = text;
      return true;
    }
    if (entry.key.size() != 2) return Fail(entry.line, "unknown key");

    struct NameKey {
      DeviceKind kind;
      const char* key;
      int database;
    };
    for (const NameKey& names :
         {NameKey{DeviceKind::kRouter, "source", 0}, NameKey{DeviceKind::kRouter, "destination", 1},
          NameKey{DeviceKind::kGpi, "input", 0}, NameKey{DeviceKind::kGpi, "output", 0}}) {
      if (kind != names.kind || key != names.key) continue;
      const int highest = key == "source"        ? device.sources
                          : key == "destination" ? device.destinations
                          : key == "input"       ? device.inputs
                                                 : device.outputs;
      if (!Index(entry, 1, 1, highest, &index) || !Name(entry, &text)) return false;
      if (key == "output") index += device.inputs;
      device.databases[names.database][index] = text;
      return true;
    }

    if (key == "lock") {
      if (!Index(entry, 1, 1, device.Size(), &index)) return false;
      const std::optional<int> owner = Number(entry.value);
      if (!owner || *owner < 0 || *owner > 0xFFFF) {
        return Fail(entry.line, "a lock's value is the workstation number, 0 to 65535");
      }
      device.locks[index] = *owner;
      return true;
    }
    if (kind == DeviceKind::kRouter && key == "route") {
      if (!Index(entry, 1, 1, device.destinations, &index)) return false;
      const std::optional<int> source = Number(entry.value);
      if (!source || *source < 0 || *source > device.sources) {
        return Fail(entry.line, "source outside 0 to " + std::to_string(device.sources));
      }
      device.state[index] = *source;
      return true;
    }
    if (kind == DeviceKind::kGpi && key == "state") {
      if (!Index(entry, 1, 1, device.Size(), &index)) return false;
      const std::optional<int> state = Number(entry.value);
      if (!state || *state < 0 || *state > 1) return Fail(entry.line, "a state is 0 or 1");
      device.state[index] = *state;
      return true;
    }
    if (kind == DeviceKind::kInfo && key == "slot") {
      if (!Index(entry, 1, 1, device.slotCount, &index) || !Name(entry, &text)) return false;
      device.texts[index] = text;
      return true;
    }
    return Fail(entry.line,
                "unknown key '" + key + "' for a " + std::string(KindName(kind)) + " device");
  }

  std::string_view fileName_;
  Plant* plant_;
  std::string* error_;
  bool inSection_ = false;
  int sectionLine_ = 0;
  Device device_;
  std::vector<Entry> entries_;
};

}  // namespace

bool ReadPlant(std::string_view text, std::string_view fileName, Plant* plant, std::string* error) {
  return Reader(fileName, plant, error).Read(text);
}

bool ReadPlantFile(const std::string& path, Plant* plant, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error) *error = path + ": " + std::strerror(errno);
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ReadPlant(text.str(), path, plant, error);
}

}  // namespace velcrum::nxi
