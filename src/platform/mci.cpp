// The command-string parser, the open devices by alias, and the error texts.
#include "platform/mci.h"

#include <map>
#include <mutex>
#include <utility>

#include "platform/ascii_case.h"

namespace velcrum {
namespace {

struct DeviceType {
  MciDeviceOpener opener = nullptr;
  std::vector<std::string> extensions;  // lower case, with the dot
};

struct OpenDevice {
  std::unique_ptr<MciDevice> device;
  uint32_t id = 0;
};

struct Registry {
  std::mutex mutex;
  std::map<std::string, DeviceType> types;    // by lower-case name
  std::map<std::string, OpenDevice> devices;  // by lower-case alias
  uint32_t nextId = 1;
  MciNotifier notifier = nullptr;
};

Registry& TheRegistry() {
  static auto* registry = new Registry;  // devices may still be closing at exit
  return *registry;
}

// Splits at blanks; a word in double quotes may hold blanks. False for a quote that is
// never closed.
bool SplitWords(std::string_view text, std::vector<std::string>& words) {
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    if (at >= text.size()) break;
    if (text[at] == '"') {
      const size_t close = text.find('"', at + 1);
      if (close == std::string_view::npos) return false;
      words.emplace_back(text.substr(at + 1, close - at - 1));
      at = close + 1;
      continue;
    }
    const size_t end = text.find_first_of(" \t", at);
    words.emplace_back(text.substr(at, end == std::string_view::npos ? end : end - at));
    at = end == std::string_view::npos ? text.size() : end;
  }
  return true;
}

std::string Extension(const std::string& element) {
  const size_t slash = element.find_last_of("/\\");
  const size_t dot = element.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return LowerAsciiText(element.substr(dot));
}

uint32_t Open(Registry& registry, const std::vector<std::string>& words, bool notify,
              uint32_t notifyWindow, std::string_view text) {
  if (words.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  MciOpen open;
  open.text = text;
  open.element = words[1];
  std::string type;
  for (size_t i = 2; i < words.size(); ++i) {
    const std::string word = LowerAsciiText(words[i]);
    if ((word == "type" || word == "alias") && i + 1 >= words.size()) {
      return MCIERR_MISSING_STRING_ARGUMENT;
    }
    if (word == "type") {
      type = LowerAsciiText(words[++i]);
    } else if (word == "alias") {
      open.alias = words[++i];
    } else {
      open.words.push_back(words[i]);
    }
  }
  const std::string element = LowerAsciiText(open.element);
  if (element == "new" && open.alias.empty()) return MCIERR_NEW_REQUIRES_ALIAS;
  if (type.empty() && registry.types.count(element) != 0) type = element;
  if (type.empty()) {
    const std::string extension = Extension(open.element);
    for (const auto& [name, candidate] : registry.types) {
      for (const std::string& known : candidate.extensions) {
        if (!extension.empty() && extension == known) type = name;
      }
    }
  }
  if (type.empty()) return MCIERR_DEVICE_TYPE_REQUIRED;
  const auto found = registry.types.find(type);
  if (found == registry.types.end()) return MCIERR_DEVICE_NOT_INSTALLED;
  if (open.alias.empty()) open.alias = open.element;
  const std::string key = LowerAsciiText(open.alias);
  if (registry.devices.count(key) != 0) return MCIERR_DUPLICATE_ALIAS;
  open.deviceId = registry.nextId++;
  uint32_t error = 0;
  std::unique_ptr<MciDevice> device = found->second.opener(open, &error);
  if (!device) return error != 0 ? error : MCIERR_CANNOT_LOAD_DRIVER;
  registry.devices[key] = OpenDevice{std::move(device), open.deviceId};
  if (notify) MciNotify(notifyWindow, MCI_NOTIFY_SUCCESSFUL, open.deviceId);
  return 0;
}

}  // namespace

void RegisterMciDeviceType(std::string_view type, MciDeviceOpener opener,
                           std::vector<std::string> extensions) {
  Registry& registry = TheRegistry();
  const std::lock_guard lock(registry.mutex);
  for (std::string& extension : extensions) extension = LowerAsciiText(extension);
  registry.types[LowerAsciiText(type)] = DeviceType{opener, std::move(extensions)};
}

uint32_t MciSendString(std::string_view commandString, std::string* returned, size_t returnSize,
                       uint32_t notifyWindow) {
  if (returned) returned->clear();
  std::vector<std::string> words;
  if (!SplitWords(commandString, words)) return MCIERR_NO_CLOSING_QUOTE;
  if (words.empty()) return MCIERR_MISSING_COMMAND_STRING;
  if (words.size() < 2) return MCIERR_MISSING_DEVICE_NAME;
  MciCommand command;
  command.command = LowerAsciiText(words[0]);
  command.notifyWindow = notifyWindow;
  command.text = commandString;
  std::vector<std::string> rest;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string word = LowerAsciiText(words[i]);
    if (i >= 2 && word == "notify") {
      command.notify = true;
    } else if (i >= 2 && word == "wait") {
      command.wait = true;
    } else {
      rest.push_back(words[i]);
    }
  }
  Registry& registry = TheRegistry();
  const std::lock_guard lock(registry.mutex);
  if (command.command == "open") {
    rest.insert(rest.begin(), words[0]);
    return Open(registry, rest, command.notify, notifyWindow, commandString);
  }
  const auto found = registry.devices.find(LowerAsciiText(rest[0]));
  if (found == registry.devices.end()) return MCIERR_INVALID_DEVICE_NAME;
  command.deviceId = found->second.id;
  if (command.command == "close") {
    const uint32_t id = found->second.id;
    registry.devices.erase(found);
    if (command.notify) MciNotify(notifyWindow, MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
  }
  command.words.assign(rest.begin() + 1, rest.end());
  std::string answer;
  const uint32_t error = found->second.device->Execute(command, answer);
  if (returned && returnSize > 0) *returned = answer.substr(0, returnSize - 1);
  if (error == 0 && returned && answer.size() >= returnSize && returnSize > 0) {
    return MCIERR_PARAM_OVERFLOW;
  }
  return error;
}

std::string MciGetErrorString(uint32_t error) {
  static const std::map<uint32_t, const char*> kTexts = {
      {0, "The specified command was carried out."},
      {MCIERR_INVALID_DEVICE_ID,
       "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
      {MCIERR_UNRECOGNIZED_KEYWORD, "The driver cannot recognize the specified command parameter."},
      {MCIERR_UNRECOGNIZED_COMMAND, "The driver cannot recognize the specified command."},
      {MCIERR_HARDWARE,
       "There is a problem with your media device. Make sure it is working correctly or contact "
       "the device manufacturer."},
      {MCIERR_INVALID_DEVICE_NAME, "The specified device is not open or is not recognized by MCI."},
      {MCIERR_DEVICE_OPEN,
       "The device name is already being used as an alias by this application. Use a unique "
       "alias."},
      {MCIERR_CANNOT_LOAD_DRIVER,
       "There is an undetectable problem in loading the specified device driver."},
      {MCIERR_MISSING_COMMAND_STRING, "No command was specified."},
      {MCIERR_PARAM_OVERFLOW,
       "The output string was too large to fit in the return buffer. Increase the size of the "
       "buffer."},
      {MCIERR_MISSING_STRING_ARGUMENT,
       "The specified command requires a character-string parameter. Please provide one."},
      {MCIERR_BAD_INTEGER, "The specified integer is invalid for this command."},
      {MCIERR_MISSING_PARAMETER, "The specified command requires a parameter. Please supply one."},
      {MCIERR_UNSUPPORTED_FUNCTION,
       "The MCI device you are using does not support the specified command."},
      {MCIERR_FILE_NOT_FOUND,
       "Cannot find the specified file. Make sure the path and filename are correct."},
      {MCIERR_DEVICE_NOT_READY, "The device driver is not ready."},
      {MCIERR_INTERNAL, "A problem occurred in initializing MCI."},
      {MCIERR_OUTOFRANGE, "The specified parameter is out of range for the specified command."},
      {MCIERR_FILE_NOT_SAVED,
       "The file was not saved. Make sure your system has sufficient disk space or has an "
       "intact network connection."},
      {MCIERR_DEVICE_TYPE_REQUIRED,
       "The specified device cannot be found. Make sure it is installed or that the device "
       "name is spelled correctly."},
      {MCIERR_DUPLICATE_ALIAS,
       "The specified alias is already being used in this application. Use a unique alias."},
      {MCIERR_BAD_CONSTANT, "The specified parameter value is invalid for this command."},
      {MCIERR_MISSING_DEVICE_NAME,
       "The specified command requires an alias, file, driver, or device name. Please supply "
       "one."},
      {MCIERR_BAD_TIME_FORMAT,
       "The specified value for the time format is invalid. Refer to the MCI documentation for "
       "valid formats."},
      {MCIERR_NO_CLOSING_QUOTE,
       "A closing double-quotation mark is missing from the parameter value. Please supply one."},
      {MCIERR_INVALID_FILE,
       "The specified file cannot be played on the specified MCI device. The file may be "
       "corrupt, or not in the correct format."},
      {MCIERR_NEW_REQUIRES_ALIAS, "An alias must be used with the 'new' parameter."},
      {MCIERR_FILENAME_REQUIRED, "A valid filename is required."},
      {MCIERR_EXTRA_CHARACTERS,
       "Cannot specify extra characters after a string enclosed in quotation marks."},
      {MCIERR_DEVICE_NOT_INSTALLED, "The specified device is not installed on the system."},
      {MCIERR_FILE_READ,
       "A problem occurred in reading the specified file. Make sure the file is still present, "
       "or check your disk or network connection."},
      {MCIERR_FILE_WRITE,
       "Cannot write to the specified file. Make sure you have enough disk space or are still "
       "connected to the network."},
  };
  const auto found = kTexts.find(error);
  return found == kTexts.end() ? "Unknown MCI error." : found->second;
}

uint32_t MciGetDeviceID(std::string_view alias) {
  Registry& registry = TheRegistry();
  const std::lock_guard lock(registry.mutex);
  const auto found = registry.devices.find(LowerAsciiText(alias));
  return found == registry.devices.end() ? 0 : found->second.id;
}

void InstallMciNotifier(MciNotifier notifier) {
  TheRegistry().notifier = notifier;
}

void MciNotify(uint32_t window, uint32_t flags, uint32_t deviceId) {
  const MciNotifier notifier = TheRegistry().notifier;
  if (notifier && window != 0) notifier(window, flags, deviceId);
}

void CloseAllMciDevices() {
  Registry& registry = TheRegistry();
  std::map<std::string, OpenDevice> closing;
  {
    const std::lock_guard lock(registry.mutex);
    closing.swap(registry.devices);
  }
}

}  // namespace velcrum
