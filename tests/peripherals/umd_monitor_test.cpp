// umd-monitor: its decoding of each protocol, and the program as the far end of a chain
// that the runtime drives.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "peripherals/umd_messages.h"
#include "runtime/module.h"
#include "runtime/subsystem_settings.h"
#include "runtime/timers.h"
#include "umd_decoder.h"
#include "umd_fixture.h"

namespace velcrum {
namespace {

using testing::Bytes;

std::vector<std::string> Lines(UmdDecoder& decoder, const std::string& bytes) {
  std::vector<std::string> lines;
  for (const DecodedUmdMessage& message : decoder.Feed(bytes)) {
    lines.push_back(UmdMessageLine(message));
  }
  return lines;
}

TEST(UmdDecoderTest, EachProtocolIsReadBackFromItsOwnMessages) {
  UmdDecoder tsl(UmdProtocol::kTsl);
  // Half a message first (a monitor started late), then a message in two pieces.
  const std::string message = TslUmdMessage(1, TslControl(1, 3, false), "       AB");
  EXPECT_EQ(Lines(tsl, "B  " + message.substr(0, 5)), std::vector<std::string>{});
  EXPECT_EQ(
      Lines(tsl, message.substr(5)),
      std::vector<std::string>{
          "TSL display 1 address 0x80 tallies 1000 brightness 3 caption \"       AB       \""});

  UmdDecoder amazon(UmdProtocol::kAmazon);
  EXPECT_EQ(Lines(amazon, AmazonUmdMessage(2, 3, "Caf\xe9")),
            std::vector<std::string>{"AMAZON display 2 address 0x81 tallies 1111 brightness - "
                                     "caption \"Caf\\xe9            \""});

  UmdDecoder basic(UmdProtocol::kBasic);
  const std::string blankSlot(24, ' ');
  EXPECT_EQ(
      Lines(basic, blankSlot + BasicUmdMessage(16, 2, CaptionForCues("AB", 2), 16)),
      std::vector<std::string>{"BASIC display 16 address 0xdf tallies 01 brightness - caption "
                               "\"       AB       \""});
}

class UmdMonitorTest : public testing::UmdChainsTest {};

TEST_F(UmdMonitorTest, PrintsWhatTheRuntimeSendsToThePseudoTerminal) {
  FILE* monitor = popen(UMD_MONITOR_PATH " --protocol tsl --for 3 --changes", "r");
  ASSERT_NE(monitor, nullptr);
  char line[512];
  ASSERT_NE(fgets(line, sizeof line, monitor), nullptr);
  std::string slave = line;
  slave.pop_back();
  EXPECT_TRUE(slave.starts_with("/dev/pts/")) << slave;

  std::ofstream(base_ / "drive_c" / "windows" / "VELCRUM.INI")
      << "[Ports]\r\nCOM1=" << slave << "\r\n";
  UmdSettings& settings = g_umdSettings;
  settings.chains[0] = 1;
  settings.chains[1] = settings.chains[2] = settings.chains[3] = -1;
  settings.protocol = "TSL";
  settings.baudRate = 38400;
  settings.size = 16;
  Run("UE 1");
  EXPECT_TRUE(DebuggerSaid("Serial port 1 opened for UMD control"));
  Run("UP 'CAM 1' 1 1 1 3");
  Run("UP 'CAM 2' 1 2 2 1");
  // The rotation's repeat of display 1 is left out.
  OfferToModules(platform::Message::Plain(platform::WM_TIMER, kUnderMonitorRotationTimer));
  Run("UP 'CAM 1' 1 1 0 3");
  Run("UE 0");

  std::vector<std::string> printed;
  while (fgets(line, sizeof line, monitor) != nullptr) printed.emplace_back(line);
  EXPECT_EQ(pclose(monitor), 0);
  const std::vector<std::string> expected = {
      "TSL display 1 address 0x80 tallies 1000 brightness 3 caption \"     CAM 1      \"\n",
      "TSL display 2 address 0x81 tallies 0100 brightness 1 caption \"     CAM 2      \"\n",
      "TSL display 1 address 0x80 tallies 0000 brightness 3 caption \"     CAM 1      \"\n",
  };
  EXPECT_EQ(printed, expected);
}

TEST(UmdMonitorHelpTest, HelpSaysHowToUseItAndBadOptionsAreRefused) {
  FILE* help = popen(UMD_MONITOR_PATH " --help", "r");
  ASSERT_NE(help, nullptr);
  char line[512];
  ASSERT_NE(fgets(line, sizeof line, help), nullptr);
  EXPECT_TRUE(std::string(line).starts_with("Usage: umd-monitor"));
  while (fgets(line, sizeof line, help) != nullptr) {
  }
  EXPECT_EQ(pclose(help), 0);
  EXPECT_NE(std::system(UMD_MONITOR_PATH " --baud 12345 2>/dev/null"), 0);
}

}  // namespace
}  // namespace velcrum
