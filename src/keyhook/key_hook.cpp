// KeyHKVL.DLL on Linux: the workstation's keys, caught from the kernel's input devices.
//
// KeyHkSetMyHook opens every keyboard among /dev/input/event* (the user needs read and
// write access to them: membership of the "input" group, docs/KEYBOARD.md) and starts one
// reader thread. The thread turns each key event into the key message Windows would make
// of it (virtual key and lParam, platform/pc_key_codes.h) and posts it to the window as
// message 4025. While keys are not passed on, the devices are grabbed, so that no other
// program (the window system included) sees them.
#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/key_hook_library.h"
#include "platform/pc_key_codes.h"

namespace velcrum {
namespace {

constexpr uint32_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12, kVkPause = 0x13,
                   kVkCapital = 0x14, kVkNumLock = 0x90, kVkScroll = 0x91;

struct Device {
  int fd = -1;
  libevdev* evdev = nullptr;
};

struct Hook {
  std::mutex lock;  // the devices' state, read by the reader and by KeyHkGetState
  std::vector<Device> devices;
  uint32_t window = 0;
  KeyHkPostFunction post = nullptr;
  bool grabbed = false;
  int wakeFds[2] = {-1, -1};  // written to end the reader
  std::thread reader;
};

Hook& TheHook() {
  static auto* hook = new Hook;  // never destroyed: the unload handler below stops it
  return *hook;
}

bool IsKeyboard(libevdev* evdev) {
  return libevdev_has_event_code(evdev, EV_KEY, KEY_A) &&
         libevdev_has_event_code(evdev, EV_KEY, KEY_ENTER);
}

std::vector<Device> OpenKeyboards() {
  std::vector<Device> devices;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/input", error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("event")) continue;
    const int fd = open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    libevdev* evdev = nullptr;
    if (libevdev_new_from_fd(fd, &evdev) == 0 && IsKeyboard(evdev)) {
      devices.push_back({fd, evdev});
      continue;
    }
    if (evdev) libevdev_free(evdev);
    close(fd);
  }
  return devices;
}

void CloseKeyboards(std::vector<Device>& devices) {
  for (Device& device : devices) {
    libevdev_free(device.evdev);  // closing the descriptor ends a grab
    close(device.fd);
  }
  devices.clear();
}

// Whether any keyboard has one of the keys down, or its LED lit. Under the hook's lock.
bool AnyKeyDown(const Hook& hook, std::initializer_list<unsigned> codes) {
  for (const Device& device : hook.devices) {
    for (const unsigned code : codes) {
      if (libevdev_get_event_value(device.evdev, EV_KEY, code) != 0) return true;
    }
  }
  return false;
}
bool AnyLedOn(const Hook& hook, unsigned led) {
  return std::any_of(hook.devices.begin(), hook.devices.end(), [led](const Device& device) {
    return libevdev_get_event_value(device.evdev, EV_LED, led) != 0;
  });
}

// The key message of one key event (value 1 a press, 2 a repeat, 0 a release), posted.
void PostKey(Hook& hook, const input_event& event) {
  const std::optional<PcKey> key = PcKeyOfInputCode(event.code, AnyLedOn(hook, LED_NUML));
  if (!key || event.value < 0 || event.value > 2) return;
  uint32_t lParam = 1 | (static_cast<uint32_t>(key->scanCode) << 16);
  if (key->extended) lParam |= 1u << 24;
  if (AnyKeyDown(hook, {KEY_LEFTALT, KEY_RIGHTALT})) lParam |= 1u << 29;
  if (event.value != 1) lParam |= 1u << 30;  // the key was down before
  if (event.value == 0) lParam |= 1u << 31;
  hook.post(hook.window, VELCRUM_KEY_HOOK_MESSAGE, key->virtualKey, static_cast<int32_t>(lParam));
}

// Everything a device has ready; a device that has gone is closed.
void ReadDevice(Hook& hook, Device& device) {
  input_event event{};
  unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
  for (;;) {
    const int status = libevdev_next_event(device.evdev, flags, &event);
    if (status == LIBEVDEV_READ_STATUS_SYNC) {
      // The kernel dropped events; the device's state is caught up without posting.
      flags = LIBEVDEV_READ_FLAG_SYNC;
      continue;
    }
    if (status != LIBEVDEV_READ_STATUS_SUCCESS) {
      if (status == -EAGAIN && flags == LIBEVDEV_READ_FLAG_SYNC) {
        flags = LIBEVDEV_READ_FLAG_NORMAL;
        continue;
      }
      return;
    }
    if (flags == LIBEVDEV_READ_FLAG_NORMAL && event.type == EV_KEY) PostKey(hook, event);
  }
}

void ReadKeys(Hook& hook) {
  for (;;) {
    std::vector<pollfd> fds;
    {
      const std::lock_guard guard(hook.lock);
      fds.push_back({hook.wakeFds[0], POLLIN, 0});
      for (const Device& device : hook.devices) fds.push_back({device.fd, POLLIN, 0});
    }
    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[0].revents) return;
    const std::lock_guard guard(hook.lock);
    for (size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)) {
        // A keyboard unplugged: no longer read.
        auto gone = std::find_if(hook.devices.begin(), hook.devices.end(),
                                 [&](const Device& d) { return d.fd == fds[i].fd; });
        if (gone != hook.devices.end()) {
          std::vector<Device> one{*gone};
          hook.devices.erase(gone);
          CloseKeyboards(one);
        }
      } else if (fds[i].revents & POLLIN) {
        for (Device& device : hook.devices) {
          if (device.fd == fds[i].fd) ReadDevice(hook, device);
        }
      }
    }
  }
}

void Stop(Hook& hook) {
  if (hook.reader.joinable()) {
    const char wake = 1;
    (void)!write(hook.wakeFds[1], &wake, 1);
    hook.reader.join();
  }
  for (int& fd : hook.wakeFds) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  const std::lock_guard guard(hook.lock);
  CloseKeyboards(hook.devices);
  hook.window = 0;
  hook.post = nullptr;
  hook.grabbed = false;
}

bool Grab(Hook& hook, bool grab) {
  bool all = true;
  for (const Device& device : hook.devices) {
    all = libevdev_grab(device.evdev, grab ? LIBEVDEV_GRAB : LIBEVDEV_UNGRAB) == 0 && all;
  }
  hook.grabbed = grab;
  return all;
}

// The library may be unloaded with the hook set: the reader must not outlive its code.
__attribute__((destructor)) void StopAtUnload() {
  Stop(TheHook());
}

}  // namespace
}  // namespace velcrum

using velcrum::TheHook;

extern "C" {

int KeyHkSetMyHook(uint32_t window, KeyHkPostFunction post) {
  velcrum::Hook& hook = TheHook();
  velcrum::Stop(hook);
  if (window == 0 || post == nullptr) return 0;
  std::vector<velcrum::Device> devices = velcrum::OpenKeyboards();
  if (devices.empty() || pipe2(hook.wakeFds, O_CLOEXEC) != 0) {
    velcrum::CloseKeyboards(devices);
    return 0;
  }
  hook.devices = std::move(devices);
  hook.window = window;
  hook.post = post;
  hook.reader = std::thread(velcrum::ReadKeys, std::ref(hook));
  return 1;
}

int KeyHkClearMyHook(uint32_t window) {
  velcrum::Hook& hook = TheHook();
  if (hook.window == 0 || hook.window != window) return 0;
  velcrum::Stop(hook);
  return 1;
}

int KeyHkSetPassOn(int passOn) {
  velcrum::Hook& hook = TheHook();
  const std::lock_guard guard(hook.lock);
  if (hook.window == 0) return 0;
  return velcrum::Grab(hook, passOn == 0) ? 1 : 0;
}

intptr_t KeyHkMsgHook(int /*code*/, uintptr_t /*wParam*/, intptr_t /*lParam*/) {
  return 0;
}

uintptr_t KeyHkGetKeyboardLayout(uint32_t /*thread*/) {
  // No Windows layout handle exists here; the runtime asks once and does not use the
  // answer: it derives characters from the system's layout itself.
  return 0;
}

int KeyHkGetState(uint32_t virtualKey, int /*reserved1*/, int /*reserved2*/) {
  velcrum::Hook& hook = TheHook();
  const std::lock_guard guard(hook.lock);
  using velcrum::AnyKeyDown;
  using velcrum::AnyLedOn;
  switch (virtualKey) {
    case velcrum::kVkShift:
      return AnyKeyDown(hook, {KEY_LEFTSHIFT, KEY_RIGHTSHIFT}) ? 0x80 : 0;
    case velcrum::kVkControl:
      return AnyKeyDown(hook, {KEY_LEFTCTRL, KEY_RIGHTCTRL}) ? 0x80 : 0;
    case velcrum::kVkMenu:
      return AnyKeyDown(hook, {KEY_LEFTALT, KEY_RIGHTALT}) ? 0x80 : 0;
    case velcrum::kVkPause:
      return AnyKeyDown(hook, {KEY_PAUSE}) ? 0x80 : 0;
    case velcrum::kVkCapital:
      return (AnyKeyDown(hook, {KEY_CAPSLOCK}) ? 0x80 : 0) | (AnyLedOn(hook, LED_CAPSL) ? 1 : 0);
    case velcrum::kVkNumLock:
      return (AnyKeyDown(hook, {KEY_NUMLOCK}) ? 0x80 : 0) | (AnyLedOn(hook, LED_NUML) ? 1 : 0);
    case velcrum::kVkScroll:
      return (AnyKeyDown(hook, {KEY_SCROLLLOCK}) ? 0x80 : 0) |
             (AnyLedOn(hook, LED_SCROLLL) ? 1 : 0);
    default:
      return 0;
  }
}

}  // extern "C"
