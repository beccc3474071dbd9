// The wire messages of the under-monitor displays: the caption layout every protocol
// shares and the messages of the basic protocol, TSL (18 bytes) and AMAZON (19 bytes).
// Messages are byte strings; they say nothing of chains, slots or ports.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velcrum {

enum class UmdProtocol { kBasic = 0, kTsl = 1, kAmazon = 2 };

inline constexpr int kTslMessageSize = 18;
inline constexpr int kAmazonMessageSize = 19;
// The characters of a TSL or AMAZON display's text.
inline constexpr int kUmdTextSize = 16;

// A caption as a display shows it: a caption beginning with "/" while cues is 4 loses
// the "/" and asks for the protocol's alternative tally; any other is cut to 16
// characters.
struct UmdCaption {
  std::string text;
  bool alternativeTally = false;
};
UmdCaption CaptionForCues(std::string_view caption, int cues);

// The caption centred in `width` characters: (width - length) / 2 spaces (none for a
// caption as wide or wider), the caption, then spaces, cut to the width.
std::string LayOutCaption(std::string_view caption, int width);

// Basic: the display number + 207, 15, the tally character, eight spaces when the width
// is 8, then the laid-out caption.
std::string BasicUmdMessage(int display, int cues, const UmdCaption& caption, int width);

// TSL's control byte: the tally bits of cues 1 to 3 (0 for any other) shifted left by
// `tallyShift`, OR the brightness bits 0x10, 0x20 or 0x30 of brightness 1 to 3; exactly
// 4 for the alternative tally.
uint8_t TslControl(int cues, int brightness, bool alternativeTally, int tallyShift = 0);

// TSL: the address (display + 127: 0x80 for display 1), the control byte and the text
// padded with spaces (or cut) to 16 characters.
std::string TslUmdMessage(int display, uint8_t control, std::string_view text);

// AMAZON: 0x02, display + 127, 0x80 | t | t * 4 (t the tally code), then the text padded
// to 16 characters with every character code of 128 or more raised by one (255 stays).
std::string AmazonUmdMessage(int display, int cues, std::string_view text);

// The text padded with spaces or cut to 16 characters.
std::string UmdText(std::string_view text);

}  // namespace velcrum
