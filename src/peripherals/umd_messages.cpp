// Building the displays' messages.
#include "peripherals/umd_messages.h"

#include <algorithm>

namespace velcrum {

UmdCaption CaptionForCues(std::string_view caption, int cues) {
  if (cues == 4 && caption.starts_with('/')) return {std::string(caption.substr(1)), true};
  return {std::string(caption.substr(0, kUmdTextSize)), false};
}

std::string LayOutCaption(std::string_view caption, int width) {
  const int length = static_cast<int>(caption.size());
  const int pad = std::max(0, (width - length) / 2);
  std::string laidOut(static_cast<std::size_t>(pad), ' ');
  laidOut += caption;
  laidOut.resize(static_cast<std::size_t>(width), ' ');
  return laidOut;
}

std::string BasicUmdMessage(int display, int cues, const UmdCaption& caption, int width) {
  char tally = 15;
  if (caption.alternativeTally) {
    tally = '?';
  } else if (cues == 1) {
    tally = 31;
  } else if (cues == 2) {
    tally = '/';
  } else if (cues == 3) {
    tally = '?';
  }
  std::string message = {static_cast<char>(display + 207), 15, tally};
  if (width == 8) message += std::string(8, ' ');
  return message + LayOutCaption(caption.text, width);
}

uint8_t TslControl(int cues, int brightness, bool alternativeTally, int tallyShift) {
  if (alternativeTally) return 4;
  const int tally = cues >= 1 && cues <= 3 ? cues : 0;
  const int bright = brightness >= 1 && brightness <= 3 ? brightness << 4 : 0;
  return static_cast<uint8_t>((tally << tallyShift) | bright);
}

std::string UmdText(std::string_view text) {
  std::string padded(text.substr(0, kUmdTextSize));
  padded.resize(kUmdTextSize, ' ');
  return padded;
}

std::string TslUmdMessage(int display, uint8_t control, std::string_view text) {
  return std::string{static_cast<char>(display + 127), static_cast<char>(control)} + UmdText(text);
}

std::string AmazonUmdMessage(int display, int cues, std::string_view text) {
  const int tally = 0x80 | cues | (cues * 4);
  std::string message = {0x02, static_cast<char>(display + 127), static_cast<char>(tally)};
  for (const char c : UmdText(text)) {
    const auto code = static_cast<unsigned char>(c);
    message += static_cast<char>(code >= 128 && code < 255 ? code + 1 : code);
  }
  return message;
}

}  // namespace velcrum
