// Fuzzes the readers of the network link's WM_COPYDATA frames: any bytes from a peer
// read as a numeric or a text frame within their limits, and what is read survives
// being framed again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "network/net_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const int32_t value = velcrum::ReadNumericFrame(bytes);
  const std::string numeric = velcrum::NumericFrame(value);
  if (numeric.size() != velcrum::kNumericFrameBytes) std::abort();
  if (velcrum::ReadNumericFrame(numeric) != value) std::abort();

  const std::string_view text = velcrum::FrameText(bytes);
  if (text.size() > velcrum::kMaxFrameText || text.find('\0') != std::string_view::npos) {
    std::abort();
  }
  if (bytes.substr(0, text.size()) != text) std::abort();
  const std::string framed = velcrum::TextFrame(bytes);
  if (framed.size() != velcrum::kTextFrameBytes || velcrum::FrameText(framed) != text) {
    std::abort();
  }
  if (framed.find_first_not_of('\0', text.size()) != std::string::npos) std::abort();

  // The message number and wParam packed into dwData come back as they were (wParam's
  // low 16 bits).
  if (size >= 8) {
    const uint32_t message = (data[0] | data[1] << 8) & 0xFFFFu;
    const uint32_t wParam = data[2] | data[3] << 8 | uint32_t{data[4]} << 16;
    const uint32_t packed = velcrum::PackFrameData(message, wParam);
    if (velcrum::FrameMessage(packed) != message || velcrum::FrameWParam(packed) != (wParam & 0xFFFFu)) {
      std::abort();
    }
  }
  return 0;
}
