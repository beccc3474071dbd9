// The keys of a PC keyboard: input codes, scan codes and virtual keys agree.
#include "platform/pc_key_codes.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

namespace velcrum {
namespace {

TEST(PcKeyCodesTest, EveryKeysScanCodeLeadsBackToItsInputCode) {
  int keys = 0;
  for (unsigned code = 1; code < 256; ++code) {
    const std::optional<PcKey> key = PcKeyOfInputCode(code, true);
    if (!key || code == KEY_PAUSE) continue;  // Pause sends Num Lock's scan code after E1
    ++keys;
    EXPECT_EQ(InputCodeOfScanCode(key->scanCode, key->extended), code) << code;
    if (!key->extended && code < 0x59) {
      EXPECT_EQ(key->scanCode, code) << code;
    }
  }
  EXPECT_GE(keys, 100) << "the whole of a 105-key keyboard";
}

TEST(PcKeyCodesTest, VirtualKeysAreThoseWindowsGives) {
  const struct {
    unsigned code;
    bool numLock;
    uint32_t virtualKey;
    bool extended;
  } cases[] = {
      {KEY_A, true, 'A', false},          {KEY_1, true, '1', false},
      {KEY_F1, true, 0x70, false},        {KEY_F12, true, 0x7B, false},
      {KEY_LEFTSHIFT, true, 0x10, false}, {KEY_RIGHTSHIFT, true, 0x10, false},
      {KEY_RIGHTCTRL, true, 0x11, true},  {KEY_RIGHTALT, true, 0x12, true},
      {KEY_LEFT, true, 0x25, true},       {KEY_PAGEDOWN, true, 0x22, true},
      {KEY_KP7, true, 0x67, false},       {KEY_KP7, false, 0x24, false},  // Home without Num Lock
      {KEY_KPENTER, true, 0x0D, true},    {KEY_102ND, true, 0xE2, false},
      {KEY_GRAVE, true, 0xC0, false},     {KEY_PAUSE, true, 0x13, false},
  };
  for (const auto& c : cases) {
    const std::optional<PcKey> key = PcKeyOfInputCode(c.code, c.numLock);
    ASSERT_TRUE(key) << c.code;
    EXPECT_EQ(key->virtualKey, c.virtualKey) << c.code;
    EXPECT_EQ(key->extended, c.extended) << c.code;
  }
  EXPECT_FALSE(PcKeyOfInputCode(BTN_LEFT, true)) << "a mouse button is no key";
  EXPECT_EQ(InputCodeOfScanCode(0x7F, false), 0u);
}

}  // namespace
}  // namespace velcrum
