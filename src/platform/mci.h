// mciSendString and mciGetErrorString: the MCI command-string interface that the audio and
// video commands speak, with the devices behind it registered by type.
//
// A command string is a command, a device and its words: "open c:\a.wav alias velcrum",
// "play velcrum notify", "setvideo overlay brightness to 80". `open` names an element (a
// file, "new", or a device type such as "overlay"), optionally "type T" and "alias A"; the
// device it opens is then addressed by its alias (the element when no alias is given)
// until `close`. The type comes from "type", else from an element that is a registered
// type's name, else from the file extension a type registered. Every other command goes
// to the open device its second word names.
//
// Devices are registered by the back ends (the wave-audio player, the video overlay); the
// interface itself holds no device. It may be called from any thread, one call at a time
// for each device. A device reports the end of a "notify" command by MciNotify, which
// posts MM_MCINOTIFY through the notifier the front end installs.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum {

// mciSendString's results (0: done). The numbers are Windows' own: scripts log them.
inline constexpr uint32_t MCIERR_INVALID_DEVICE_ID = 257;
inline constexpr uint32_t MCIERR_UNRECOGNIZED_KEYWORD = 259;
inline constexpr uint32_t MCIERR_UNRECOGNIZED_COMMAND = 261;
inline constexpr uint32_t MCIERR_HARDWARE = 262;
inline constexpr uint32_t MCIERR_INVALID_DEVICE_NAME = 263;
inline constexpr uint32_t MCIERR_DEVICE_OPEN = 265;
inline constexpr uint32_t MCIERR_CANNOT_LOAD_DRIVER = 266;
inline constexpr uint32_t MCIERR_MISSING_COMMAND_STRING = 267;
inline constexpr uint32_t MCIERR_PARAM_OVERFLOW = 268;
inline constexpr uint32_t MCIERR_MISSING_STRING_ARGUMENT = 269;
inline constexpr uint32_t MCIERR_BAD_INTEGER = 270;
inline constexpr uint32_t MCIERR_MISSING_PARAMETER = 273;
inline constexpr uint32_t MCIERR_UNSUPPORTED_FUNCTION = 274;
inline constexpr uint32_t MCIERR_FILE_NOT_FOUND = 275;
inline constexpr uint32_t MCIERR_DEVICE_NOT_READY = 276;
inline constexpr uint32_t MCIERR_INTERNAL = 277;
inline constexpr uint32_t MCIERR_OUTOFRANGE = 282;
inline constexpr uint32_t MCIERR_FILE_NOT_SAVED = 286;
inline constexpr uint32_t MCIERR_DEVICE_TYPE_REQUIRED = 287;
inline constexpr uint32_t MCIERR_DUPLICATE_ALIAS = 289;
inline constexpr uint32_t MCIERR_BAD_CONSTANT = 290;
inline constexpr uint32_t MCIERR_MISSING_DEVICE_NAME = 292;
inline constexpr uint32_t MCIERR_BAD_TIME_FORMAT = 293;
inline constexpr uint32_t MCIERR_NO_CLOSING_QUOTE = 294;
inline constexpr uint32_t MCIERR_INVALID_FILE = 296;
inline constexpr uint32_t MCIERR_NEW_REQUIRES_ALIAS = 299;
inline constexpr uint32_t MCIERR_FILENAME_REQUIRED = 304;
inline constexpr uint32_t MCIERR_EXTRA_CHARACTERS = 305;
inline constexpr uint32_t MCIERR_DEVICE_NOT_INSTALLED = 306;
inline constexpr uint32_t MCIERR_FILE_READ = 348;
inline constexpr uint32_t MCIERR_FILE_WRITE = 349;

// MM_MCINOTIFY (wParam one of the flags below, lParam the device identifier).
inline constexpr uint32_t MM_MCINOTIFY = 0x3B9;
inline constexpr uint32_t MCI_NOTIFY_SUCCESSFUL = 0x1;
inline constexpr uint32_t MCI_NOTIFY_SUPERSEDED = 0x2;
inline constexpr uint32_t MCI_NOTIFY_ABORTED = 0x4;
inline constexpr uint32_t MCI_NOTIFY_FAILURE = 0x8;

// One command for an open device: its lower-case command word and the words after the
// device, as written (quotes removed), without "notify" and "wait", which are flags.
struct MciCommand {
  std::string command;
  std::vector<std::string> words;
  bool notify = false;
  bool wait = false;
  uint32_t notifyWindow = 0;  // mciSendString's callback window
  uint32_t deviceId = 0;
  std::string text;  // the command string as sent, for devices that log or record it
};

// What `open` gives a device type: the element (a file name as written, "new", or the type's
// own name), and the open's words other than "type T", "alias A", "notify" and "wait".
struct MciOpen {
  std::string element;
  std::string alias;
  std::vector<std::string> words;
  uint32_t deviceId = 0;
  std::string text;  // the command string as sent
};

// An open device. Execute carries out every command but open and close (the device goes
// when it is closed), writing its answer for "status" and the like into `returned`.
class MciDevice {
 public:
  virtual ~MciDevice() = default;
  virtual uint32_t Execute(const MciCommand& command, std::string& returned) = 0;
};

// Opens a device of the type; nullptr and *error set (an MCIERR_ code) when it cannot.
using MciDeviceOpener = std::unique_ptr<MciDevice> (*)(const MciOpen& open, uint32_t* error);

// Registers a device type ("waveaudio"), with the file extensions it opens without a
// "type" (".wav"), compared without regard to case. A second registration replaces the
// first.
void RegisterMciDeviceType(std::string_view type, MciDeviceOpener opener,
                           std::vector<std::string> extensions = {});

// mciSendString: the result code, and the device's answer cut to returnSize - 1
// characters in *returned (may be null).
uint32_t MciSendString(std::string_view commandString, std::string* returned, size_t returnSize,
                       uint32_t notifyWindow);
// mciGetErrorString's text for a code.
std::string MciGetErrorString(uint32_t error);
// mciGetDeviceID: the identifier of the device open under the alias (the lParam of its
// MM_MCINOTIFY messages), 0 when none is.
uint32_t MciGetDeviceID(std::string_view alias);

// Posts MM_MCINOTIFY (flags, deviceId) to the window: called by a device, from any thread,
// when a command given with "notify" ends. Nothing without a notifier or a window.
void MciNotify(uint32_t window, uint32_t flags, uint32_t deviceId);
using MciNotifier = void (*)(uint32_t window, uint32_t flags, uint32_t deviceId);
void InstallMciNotifier(MciNotifier notifier);

// Closes every open device (program end, tests).
void CloseAllMciDevices();

}  // namespace velcrum
