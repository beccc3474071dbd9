// The fixture of the serial-port and display tests: a clean interpreter (the debug output
// recorded), a private VELCRUM.INI whose Ports section points COM ports at pseudo-terminal
// chains, and every port closed again after each test.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>

#include "peripherals/umd_displays.h"
#include "pty_chain.h"
#include "support/recording_host.h"

namespace velcrum::testing {

class UmdChainsTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    char pattern[] = "/tmp/velcrum-umd-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    base_ = pattern;
    std::filesystem::create_directories(base_ / "drive_c" / "windows");
    setenv("VELCRUM_DRIVE_C", (base_ / "drive_c").c_str(), 1);
  }

  void TearDown() override {
    ResetUmds();
    unsetenv("VELCRUM_DRIVE_C");
    std::filesystem::remove_all(base_);
    InterpreterTest::TearDown();
  }

  // VELCRUM.INI's Ports section: COM<number>=the chain's slave device.
  void MapPorts(std::initializer_list<std::pair<int, const PtyChain*>> ports) {
    std::ofstream ini(base_ / "drive_c" / "windows" / "VELCRUM.INI");
    ini << "[Ports]\r\n";
    for (const auto& [number, chain] : ports) {
      ini << "COM" << number << "=" << chain->slavePath() << "\r\n";
    }
  }

  std::filesystem::path base_;
};

}  // namespace velcrum::testing
