// Reading the under-monitor displays' messages back off the wire, for umd-monitor: the
// byte stream of one chain cut into messages of its protocol, each told as one line.
//
// TSL messages begin with an address byte (bit 7 set) and have 18 bytes; AMAZON
// messages begin with 0x02 and have 19; basic messages begin with an address of 0xd0 to
// 0xdf followed by 15 and have 19 (widths 8 and 16 alike). Bytes before a message's
// first byte (a blank basic slot's spaces, a message cut off when the monitor started)
// are skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "peripherals/umd_messages.h"

namespace velcrum {

struct DecodedUmdMessage {
  UmdProtocol protocol = UmdProtocol::kTsl;
  int address = 0;
  int display = 0;
  // The tally lamps from the first: "1" lit, "0" dark (four for TSL and AMAZON, two for
  // the basic protocol).
  std::string tallies;
  // TSL's brightness 0 to 3; -1 for the other protocols.
  int brightness = -1;
  // The display's text as the script gave it (AMAZON's raised characters put back).
  std::string caption;
};

class UmdDecoder {
 public:
  explicit UmdDecoder(UmdProtocol protocol) : protocol_(protocol) {}

  // Takes the bytes that arrived and answers the messages they complete.
  std::vector<DecodedUmdMessage> Feed(std::string_view bytes);

 private:
  UmdProtocol protocol_;
  std::string pending_;
};

// One line: protocol, display, address, tallies, brightness, caption in double quotes,
// e.g. TSL display 1 address 0x80 tallies 1000 brightness 3 caption "       AB       ".
std::string UmdMessageLine(const DecodedUmdMessage& message);

}  // namespace velcrum
