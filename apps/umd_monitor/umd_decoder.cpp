// Cutting a chain's bytes into messages.
#include "umd_decoder.h"

#include "interpreter/format.h"
#include "platform/quoted_text.h"

namespace velcrum {
namespace {

constexpr int kBasicMessageSize = 19;

uint8_t At(std::string_view bytes, std::size_t i) {
  return static_cast<uint8_t>(bytes[i]);
}

std::string Lamps(unsigned bits, int count) {
  std::string lamps;
  for (int lamp = 0; lamp < count; ++lamp) lamps += ((bits >> lamp) & 1) != 0 ? '1' : '0';
  return lamps;
}

// The size of the protocol's messages.
std::size_t MessageSize(UmdProtocol protocol) {
  switch (protocol) {
    case UmdProtocol::kTsl:
      return kTslMessageSize;
    case UmdProtocol::kAmazon:
      return kAmazonMessageSize;
    case UmdProtocol::kBasic:
      break;
  }
  return kBasicMessageSize;
}

// Whether a message of the protocol may begin at bytes[0].
bool BeginsMessage(UmdProtocol protocol, std::string_view bytes) {
  const uint8_t first = At(bytes, 0);
  switch (protocol) {
    case UmdProtocol::kTsl:
      return first >= 0x80 && (bytes.size() < 2 || At(bytes, 1) < 0x80);
    case UmdProtocol::kAmazon:
      return first == 0x02;
    case UmdProtocol::kBasic:
      break;
  }
  return first >= 0xd0 && first <= 0xdf && (bytes.size() < 2 || At(bytes, 1) == 15);
}

// The basic protocol's tally characters: 15 none, 31 the first lamp, "/" the second,
// "?" both.
unsigned BasicTallyBits(uint8_t tally) {
  switch (tally) {
    case 31:
      return 1;
    case '/':
      return 2;
    case '?':
      return 3;
    default:
      return 0;
  }
}

DecodedUmdMessage Decode(UmdProtocol protocol, std::string_view bytes) {
  DecodedUmdMessage message;
  message.protocol = protocol;
  switch (protocol) {
    case UmdProtocol::kTsl:
      message.address = At(bytes, 0);
      message.tallies = Lamps(At(bytes, 1) & 0x0f, 4);
      message.brightness = (At(bytes, 1) >> 4) & 3;
      message.caption = bytes.substr(2, kUmdTextSize);
      message.display = message.address - 127;
      break;
    case UmdProtocol::kAmazon:
      message.address = At(bytes, 1);
      message.tallies = Lamps(At(bytes, 2) & 0x0f, 4);
      for (const char c : bytes.substr(3, kUmdTextSize)) {
        const auto code = static_cast<uint8_t>(c);
        message.caption += static_cast<char>(code > 128 && code < 255 ? code - 1 : code);
      }
      message.display = message.address - 127;
      break;
    case UmdProtocol::kBasic:
      message.address = At(bytes, 0);
      message.tallies = Lamps(BasicTallyBits(At(bytes, 2)), 2);
      message.caption = bytes.substr(3, kUmdTextSize);
      message.display = message.address - 207;
      break;
  }
  return message;
}

const char* ProtocolName(UmdProtocol protocol) {
  switch (protocol) {
    case UmdProtocol::kTsl:
      return "TSL";
    case UmdProtocol::kAmazon:
      return "AMAZON";
    case UmdProtocol::kBasic:
      break;
  }
  return "BASIC";
}

}  // namespace

std::vector<DecodedUmdMessage> UmdDecoder::Feed(std::string_view bytes) {
  pending_ += bytes;
  std::vector<DecodedUmdMessage> messages;
  const std::size_t size = MessageSize(protocol_);
  std::size_t start = 0;
  while (start < pending_.size()) {
    const std::string_view rest = std::string_view(pending_).substr(start);
    if (!BeginsMessage(protocol_, rest)) {
      ++start;
      continue;
    }
    if (rest.size() < size) break;
    messages.push_back(Decode(protocol_, rest.substr(0, size)));
    start += size;
  }
  pending_.erase(0, start);
  return messages;
}

std::string UmdMessageLine(const DecodedUmdMessage& message) {
  const std::string brightness =
      message.brightness < 0 ? std::string("-") : std::to_string(message.brightness);
  return Format("%s display %d address 0x%02x tallies %s brightness %s caption ",
                ProtocolName(message.protocol), message.display, message.address,
                message.tallies.c_str(), brightness.c_str()) +
         platform::QuotedText(message.caption);
}

}  // namespace velcrum
