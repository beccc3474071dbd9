// The MCI command-string interface with a device type of the test's own: how open finds
// the type and the alias, how commands reach the device, and the notifications.
#include "platform/mci.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace velcrum {
namespace {

// What the probe devices were given, in order: "open ELEMENT ALIAS WORDS..." and
// "COMMAND WORDS... [notify]".
std::vector<std::string> g_seen;
std::vector<std::tuple<uint32_t, uint32_t, uint32_t>> g_notified;

class ProbeDevice final : public MciDevice {
 public:
  uint32_t Execute(const MciCommand& command, std::string& returned) override {
    std::string line = command.command;
    for (const std::string& word : command.words) line += " " + word;
    if (command.notify) line += " [notify]";
    g_seen.push_back(line);
    if (command.command == "status") returned = "1234567890";
    if (command.command == "play" && command.notify) {
      MciNotify(command.notifyWindow, MCI_NOTIFY_SUCCESSFUL, command.deviceId);
    }
    return command.command == "bogus" ? MCIERR_UNRECOGNIZED_COMMAND : 0;
  }
};

std::unique_ptr<MciDevice> OpenProbe(const MciOpen& open, uint32_t* error) {
  std::string line = "open " + open.element + " " + open.alias;
  for (const std::string& word : open.words) line += " " + word;
  g_seen.push_back(line);
  if (open.element == "missing.prb") {
    *error = MCIERR_FILE_NOT_FOUND;
    return nullptr;
  }
  return std::make_unique<ProbeDevice>();
}

class MciTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen.clear();
    g_notified.clear();
    RegisterMciDeviceType("probe", OpenProbe, {".PRB"});
    InstallMciNotifier([](uint32_t window, uint32_t flags, uint32_t id) {
      g_notified.emplace_back(window, flags, id);
    });
  }
  void TearDown() override {
    CloseAllMciDevices();
    InstallMciNotifier(nullptr);
  }
  static uint32_t Send(std::string_view text, std::string* returned = nullptr, size_t size = 256) {
    return MciSendString(text, returned, size, 0x42);
  }
};

TEST_F(MciTest, OpenFindsTheTypeByNameExtensionOrTypeWordAndKeepsTheAlias) {
  EXPECT_EQ(Send("open \"c:\\my clips\\a.prb\" alias velcrum"), 0u);
  EXPECT_EQ(Send("OPEN new type Probe alias rec buffer 6"), 0u);
  EXPECT_EQ(Send("open probe parent 77 style child"), 0u) << "the type's own name";
  EXPECT_EQ(g_seen,
            (std::vector<std::string>{"open c:\\my clips\\a.prb velcrum", "open new rec buffer 6",
                                      "open probe probe parent 77 style child"}));
  EXPECT_EQ(Send("open b.prb alias VELCRUM"), MCIERR_DUPLICATE_ALIAS) << "aliases ignore case";
  EXPECT_EQ(Send("open new type probe"), MCIERR_NEW_REQUIRES_ALIAS);
  EXPECT_EQ(Send("open c:\\a.xyz alias x"), MCIERR_DEVICE_TYPE_REQUIRED);
  EXPECT_EQ(Send("open a alias y type"), MCIERR_MISSING_STRING_ARGUMENT);
  EXPECT_EQ(Send("open missing.prb alias z"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(Send("play z"), MCIERR_INVALID_DEVICE_NAME) << "a failed open leaves nothing open";
}

TEST_F(MciTest, CommandsReachTheDeviceByAliasUntilClosed) {
  ASSERT_EQ(Send("open a.prb alias velcrum"), 0u);
  g_seen.clear();
  EXPECT_EQ(Send("play velcrum from 10 notify"), 0u);
  EXPECT_EQ(Send("Setvideo VELCRUM brightness to 80"), 0u);
  EXPECT_EQ(g_seen,
            (std::vector<std::string>{"play from 10 [notify]", "setvideo brightness to 80"}));
  ASSERT_EQ(g_notified.size(), 1u);
  EXPECT_EQ(std::get<0>(g_notified[0]), 0x42u);
  EXPECT_EQ(std::get<1>(g_notified[0]), MCI_NOTIFY_SUCCESSFUL);

  std::string answer;
  EXPECT_EQ(Send("status velcrum length", &answer), 0u);
  EXPECT_EQ(answer, "1234567890");
  EXPECT_EQ(Send("status velcrum length", &answer, 5), MCIERR_PARAM_OVERFLOW);
  EXPECT_EQ(answer, "1234") << "cut to the buffer";
  EXPECT_EQ(Send("bogus velcrum"), MCIERR_UNRECOGNIZED_COMMAND);

  EXPECT_EQ(Send("close velcrum"), 0u);
  EXPECT_EQ(Send("play velcrum"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("open a.prb alias velcrum"), 0u) << "the alias is free again";
}

TEST_F(MciTest, MalformedStringsAndErrorTexts) {
  EXPECT_EQ(Send(""), MCIERR_MISSING_COMMAND_STRING);
  EXPECT_EQ(Send("play"), MCIERR_MISSING_DEVICE_NAME);
  EXPECT_EQ(Send("open \"a.prb alias x"), MCIERR_NO_CLOSING_QUOTE);
  EXPECT_EQ(MciGetErrorString(MCIERR_INVALID_DEVICE_NAME),
            "The specified device is not open or is not recognized by MCI.");
  EXPECT_EQ(MciGetErrorString(12345), "Unknown MCI error.");
}

}  // namespace
}  // namespace velcrum
