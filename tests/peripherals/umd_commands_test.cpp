// UE and UP driving pseudo-terminal chains: every byte on the wire, the traces, the
// rotation that brings a power-cycled display back, and four chains at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "runtime/module.h"
#include "runtime/subsystem_settings.h"
#include "runtime/timers.h"
#include "umd_fixture.h"

namespace velcrum {
namespace {

using testing::Bytes;
using testing::PtyChain;

const std::string kBlank16(16, ' ');

class UmdCommandsTest : public testing::UmdChainsTest {
 protected:
  // The settings as the configuration reader leaves them, chains 1 to 4 on COM1 to COM4
  // for as many of them as `chains` names.
  void Configure(const std::string& protocol, int chains = 1) {
    UmdSettings& settings = g_umdSettings;
    settings = UmdSettings{};
    for (int chain = 0; chain < 4; ++chain)
      settings.chains[chain] = chain < chains ? chain + 1 : -1;
    settings.protocol = protocol;
    settings.baudRate = 38400;
    settings.size = 16;
    settings.cycleAmazon = 1;
  }

  // Chains for COM1 to COM<count>, mapped in VELCRUM.INI.
  void MakeChains(int count) {
    chains.clear();
    for (int i = 0; i < count; ++i) {
      chains.push_back(std::make_unique<PtyChain>());
      ASSERT_TRUE(chains.back()->ok());
    }
    switch (count) {
      case 1:
        MapPorts({{1, chains[0].get()}});
        break;
      default:
        MapPorts({{1, chains[0].get()},
                  {2, chains[1].get()},
                  {3, chains[2].get()},
                  {4, chains[3].get()}});
        break;
    }
  }

  void Tick() {
    OfferToModules(platform::Message::Plain(platform::WM_TIMER, kUnderMonitorRotationTimer));
  }

  std::vector<std::unique_ptr<PtyChain>> chains;
};

TEST_F(UmdCommandsTest, TslPutSendsEighteenBytesAndTracesThem) {
  Configure("TSL");
  MakeChains(1);
  Run("UE 1");
  EXPECT_TRUE(DebuggerSaid("Serial port 1 opened for UMD control"));
  EXPECT_EQ(host.timers.at(kUnderMonitorRotationTimer), 500u);
  const termios line = chains[0]->SlaveLine();
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B38400));
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));

  host.debugger.clear();
  Run("UP 'AB' 1 1 1 3");
  EXPECT_EQ(chains[0]->Read(), Bytes({0x80, 0x31}) + "       AB       ");
  const std::vector<std::string> expected = {
      "TSL UMD Put : 'AB' Chain 1, UMD 1, Cues 1, Bright 3",
      "Attrib : 31",
      "'       AB       '",
      "Tx : Ch 1, Umd 1 > 80 31 20 20 20 20 20 20 20 41 42 20 20 20 20 20 20 20 ",
  };
  EXPECT_EQ(Reports(), expected);

  Run("UP '/ISO' 1 2 4 3");
  EXPECT_EQ(chains[0]->Read(), Bytes({0x81, 0x04}) + "      ISO       ");
  Run("UP 'A CAPTION LONGER THAN SIXTEEN' 1 128 2 1");
  EXPECT_EQ(chains[0]->Read(), Bytes({0xff, 0x12}) + "A CAPTION LONGER");
}

TEST_F(UmdCommandsTest, NothingIsSentBeforeTheStartOrOutsideTheChains) {
  Configure("TSL");
  MakeChains(1);
  Run("UP 'AB' 1 1 1 3");
  EXPECT_EQ(Reports(), std::vector<std::string>{}) << "no store, no word";
  Run("UE 1");
  chains[0]->Read();
  for (const char* put :
       {"UP 'AB' 5 1 1 3", "UP 'AB' 0 1 1 3", "UP 'AB' 1 0 1 3", "UP 'AB' 1 129 1 3"}) {
    Run(put);
    EXPECT_EQ(chains[0]->Read(20), "") << put;
  }
  Run("UE 0");
  EXPECT_EQ(host.timers.count(kUnderMonitorRotationTimer), 0u);
  Run("UP 'AB' 1 1 1 3");
  Tick();
  EXPECT_EQ(chains[0]->Read(20), "") << "stopped";
}

TEST_F(UmdCommandsTest, TheRotationBringsAPowerCycledDisplayBack) {
  Configure("TSL");
  MakeChains(1);
  Run("UE 1");
  Run("UP 'CAM 3' 1 3 2 3");
  const std::string cam3 = Bytes({0x82, 0x32}) + "     CAM 3      ";
  EXPECT_EQ(chains[0]->Read(), cam3);
  // The display loses its caption; the rotation sends the blank presets of displays 1
  // and 2, then display 3's last message again, and goes round all 128.
  std::string wire;
  for (int tick = 1; tick <= 129; ++tick) {
    Tick();
    wire += chains[0]->Read(20);
  }
  ASSERT_EQ(wire.size(), 129u * 18);
  EXPECT_EQ(wire.substr(0, 18), Bytes({0x80, '0'}) + kBlank16);
  EXPECT_EQ(wire.substr(18, 18), Bytes({0x81, '0'}) + kBlank16);
  EXPECT_EQ(wire.substr(36, 18), cam3);
  EXPECT_EQ(wire.substr(127 * 18, 18), Bytes({0xff, '0'}) + kBlank16) << "display 128";
  EXPECT_EQ(wire.substr(128 * 18, 18), Bytes({0x80, '0'}) + kBlank16) << "round again";
}

TEST_F(UmdCommandsTest, FourChainsAtOnceEachGetOnlyItsOwnDisplays) {
  Configure("TSL", 4);
  MakeChains(4);
  Run("UE 1");
  for (int chain = 1; chain <= 4; ++chain) {
    Run("UP 'CHAIN " + std::to_string(chain) + "' " + std::to_string(chain) + " 1 1 0");
  }
  for (int chain = 1; chain <= 4; ++chain) {
    EXPECT_EQ(chains[chain - 1]->Read(),
              Bytes({0x80, 0x01}) + "    CHAIN " + std::to_string(chain) + "     ")
        << chain;
  }
  host.debugger.clear();
  Tick();
  for (int chain = 1; chain <= 4; ++chain) {
    EXPECT_EQ(chains[chain - 1]->Read(),
              Bytes({0x80, 0x01}) + "    CHAIN " + std::to_string(chain) + "     ")
        << "rotation, chain " << chain;
  }
  EXPECT_TRUE(DebuggerSaid("Tx : Ch 4, Umd 385 > 80 01 "));
}

TEST_F(UmdCommandsTest, AChainThatDoesNotOpenIsLeftOutAndTheOthersWork) {
  Configure("TSL", 2);
  MakeChains(1);  // COM2 is mapped to nothing that exists here
  std::ofstream(base_ / "drive_c" / "windows" / "VELCRUM.INI", std::ios::app)
      << "COM2=" << (base_ / "missing").string() << "\r\n";
  Run("UE 1");
  EXPECT_TRUE(DebuggerSaid("Serial port 1 opened for UMD control"));
  EXPECT_TRUE(DebuggerSaid("Can't open serial port 2"));
  EXPECT_TRUE(host.boxes.empty()) << "nothing shown to the operator";
  host.debugger.clear();
  Run("UP 'AB' 2 1 1 0");
  Run("UP 'AB' 1 1 1 0");
  EXPECT_EQ(chains[0]->Read(), Bytes({0x80, 0x01}) + "       AB       ");
  EXPECT_FALSE(DebuggerSaid("Tx : Ch 2"));
}

TEST_F(UmdCommandsTest, VirtualisedHalvesShareTheirPhysicalDisplay) {
  Configure("TSL");
  g_umdSettings.virtualisation = 1;
  g_umdSettings.size = 8;
  MakeChains(1);
  Run("UE 1");
  Run("UP 'LEFT' 1 3 1 2");
  EXPECT_EQ(chains[0]->Read(), Bytes({0x81, 0x21}) + "  LEFT  " + "        ");
  EXPECT_TRUE(DebuggerSaid("UMD Number is 2"));
  host.debugger.clear();
  Run("UP 'RIGHT' 1 4 2 3");
  // Left tally 1, right tally 2 shifted two places; the brightness of the last put.
  EXPECT_EQ(chains[0]->Read(), Bytes({0x81, 0x39}) + "  LEFT  " + " RIGHT  ");
  EXPECT_TRUE(DebuggerSaid("Old is..."));
  EXPECT_TRUE(DebuggerSaid("81 21 20 20 4c 45 46 54 "));
  Run("UP 'L2' 1 3 0 3");
  EXPECT_EQ(chains[0]->Read(), Bytes({0x81, 0x38}) + "   L2   " + " RIGHT  ");
}

TEST_F(UmdCommandsTest, AmazonRaisesHighCharactersAndCyclesOnlyWhenAllowed) {
  Configure("AMAZON");
  MakeChains(1);
  Run("UE 1");
  Run("UP 'Caf\xe9' 1 2 1");
  EXPECT_EQ(chains[0]->Read(), Bytes({0x02, 0x81, 0x85}) + "      Caf\xea      ");
  EXPECT_TRUE(DebuggerSaid(">      Caf\xea      <"));
  Tick();
  Tick();
  // The preset of display 1 (its address, "0", 16 spaces and the slot's terminator), then
  // display 2's message again.
  EXPECT_EQ(chains[0]->Read(), Bytes({0x80, '0'}) + kBlank16 + std::string(1, '\0') +
                                   Bytes({0x02, 0x81, 0x85}) + "      Caf\xea      ");

  Run("UE 0");
  g_umdSettings.cycleAmazon = 0;
  Run("UE 1");
  Tick();
  EXPECT_EQ(chains[0]->Read(20), "");
}

TEST_F(UmdCommandsTest, BasicDisplaysAreSixteenAChainAndUnwrittenSlotsStayInTheirSlot) {
  Configure("VIDEOWALL");
  MakeChains(1);
  Run("UE 1");
  Run("UP 'AB' 1 16 2");
  EXPECT_EQ(chains[0]->Read(), Bytes({223, 15, '/'}) + "       AB       ");
  Run("UP 'AB' 1 17 2");
  EXPECT_EQ(chains[0]->Read(20), "") << "16 displays a chain";
  Tick();
  EXPECT_EQ(chains[0]->Read(), std::string(24, ' ')) << "an unwritten slot, never beyond it";
  for (int tick = 2; tick <= 16; ++tick) Tick();
  EXPECT_EQ(chains[0]->Read().substr(14 * 24), Bytes({223, 15, '/'}) + "       AB       ");
}

TEST_F(UmdCommandsTest, StartingAgainReopensTheChains) {
  Configure("TSL");
  MakeChains(1);
  Run("UE 1");
  Run("UE 1");
  EXPECT_FALSE(DebuggerSaid("already open"));
  Run("UP 'AB' 1 1 0 0");
  EXPECT_EQ(chains[0]->Read(), Bytes({0x80, 0x00}) + "       AB       ");
}

TEST_F(UmdCommandsTest, ShutDownClosesTheChains) {
  Configure("TSL");
  MakeChains(1);
  Run("UE 1");
  RunShutDownStep(ShutDownStep::kLeftNxi);
  EXPECT_EQ(host.timers.count(kUnderMonitorRotationTimer), 0u);
  Run("UP 'AB' 1 1 0 0");
  EXPECT_EQ(chains[0]->Read(20), "");
}

}  // namespace
}  // namespace velcrum
