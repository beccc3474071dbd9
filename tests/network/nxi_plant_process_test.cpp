// A real nxi process simulating a plant on a private desktop: test windows register as
// panels do, send the panels' requests and receive the revertives and notifications; the
// operator's `nxi do` commands drive the plant.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "interpreter/host.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/desktop/window.h"
#include "runtime/process_state.h"
#include "support/recording_host.h"

namespace velcrum {
namespace {

constexpr char kPlant[] =
    "[router 12]\n"
    "name = MAIN ROUTER\n"
    "destinations = 16\n"
    "sources = 16\n"
    "source 3 = CAM 3\n"
    "source 7 = VTR A\n"
    "destination 2 = STUDIO 2\n"
    "name 2 4 = C4\n"
    "route 5 = 3\n"
    "status = 3\n"
    "status text = ONLINE\n"
    "[router 13]\n"
    "destinations = 4\n"
    "sources = 4\n"
    "revertive = text\n"
    "source 3 = CAM 3\n"
    "[gpi 30]\n"
    "inputs = 8\n"
    "outputs = 8\n"
    "[info 40]\n"
    "slots = 8\n"
    "[router 50]\n"
    "destinations = 4\n"
    "sources = 4\n"
    "served = yes\n";

// What a window received: plain messages and the frames' messages as the link delivers them.
struct Received {
  uint32_t message = 0;
  uint32_t wParam = 0;
  int32_t lParam = 0;
  std::string text;
};

class NxiPlantTest : public platform::testing::DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    ResetProcessState();
    ResetNetLink();
    SetHost(&host_);
    main_ = Panel(&received_);
    self_ = main_->Handle();
  }
  void TearDown() override {
    other_.reset();
    main_.reset();
    ResetProcessState();
    ResetNetLink();
    SetHost(nullptr);
    DesktopTest::TearDown();
  }

  // A panel's main window: frames are handled by the link, which answers them.
  std::unique_ptr<platform::Window> Panel(std::vector<Received>* received) {
    std::unique_ptr<platform::Window> window =
        platform::Window::Create(platform::Window::Kind::kTopLevel, "Velcrum");
    EXPECT_TRUE(window);
    const platform::Hwnd handle = window->Handle();
    window->SetProc([handle, received](const platform::Message& m) -> platform::Result {
      if (m.message == platform::WM_COPYDATA) {
        VLNetSup_OnCopyData(handle, m.wParam, m);
        return 1;
      }
      received->push_back({m.message, m.wParam, m.lParam, m.data});
      return m.payload == platform::Payload::kText ? 1 : 0;
    });
    return window;
  }

  platform::Hwnd StartNxi(const std::string& plant = kPlant) {
    const std::string plantPath = logs_ + "/test.plant";
    std::ofstream(plantPath) << plant;
    logPath_ = logs_ + "/nxi.log";
    platform::testing::Peer& nxi = Start({"--plant", plantPath, "--log", logPath_}, NXI_PATH);
    nxi_ = AwaitHandle(nxi);
    EXPECT_NE(nxi_, platform::kNoWindow) << ErrorOutput(nxi);
    return nxi_;
  }

  // `nxi do TEXT`: its output, and its exit status in *status.
  std::string Do(const std::string& text, int* status = nullptr) {
    platform::testing::Peer& client = Start({"do", text}, NXI_PATH);
    EXPECT_TRUE(AwaitExit(client, 20000)) << text;
    ReadOutput(client);
    if (status) *status = WIFEXITED(client.status) ? WEXITSTATUS(client.status) : -1;
    return client.outputText;
  }

  void Register(platform::Hwnd panel, int device, int first, int last, bool add = false) {
    char block[kTextFrameBytes] = {};
    PutInt16Field(block, 0, static_cast<uint16_t>(device | (add ? 0x8000 : 0)));
    PutInt16Field(block, 1, static_cast<uint16_t>(first));
    PutInt16Field(block, 2, static_cast<uint16_t>(last));
    VLNetSup_SendBlock(panel, nxi_, KAL_REGISTER_REV, panel, block, 0);
  }
  int32_t SendText(uint32_t message, uint32_t wParam, const std::string& text,
                   platform::Hwnd from = 0) {
    char buffer[kTextFrameBytes] = {};
    text.copy(buffer, kMaxFrameText);
    return VLNetSup_Send(from ? from : self_, nxi_, message, wParam, buffer, sizeof buffer);
  }
  int32_t SendBlock(uint32_t message, std::vector<uint16_t> fields, const std::string& tail = {}) {
    char block[kTextFrameBytes] = {};
    for (size_t i = 0; i < fields.size(); ++i) PutInt16Field(block, static_cast<int>(i), fields[i]);
    tail.copy(block + 2 * fields.size(), kMaxFrameText - 2 * fields.size());
    return VLNetSup_SendBlock(self_, nxi_, message, 0, block, sizeof block);
  }

  std::vector<Received> Take(uint32_t message) {
    std::vector<Received> taken;
    for (const Received& r : received_) {
      if (r.message == message) taken.push_back(r);
    }
    received_.clear();
    return taken;
  }

  std::vector<std::string> Log() const {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
  }

  testing::RecordingHost host_;
  std::unique_ptr<platform::Window> main_;
  std::unique_ptr<platform::Window> other_;
  std::vector<Received> received_;
  platform::Hwnd self_ = platform::kNoWindow;
  platform::Hwnd nxi_ = platform::kNoWindow;
  std::string logPath_;
};

TEST_F(NxiPlantTest, RoutesSendRevertivesInTheRoutersFormToRegisteredPanels) {
  StartNxi();
  Register(self_, 12, 1, 4);
  Register(self_, 13, 1, 4);
  SendText(KAL_ROUTER_CMD, 12, "RC 12 2 7 ',---' 3");
  std::vector<Received> got = Take(KAL_ROUTER_REVERTIVE);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 12u);
  EXPECT_EQ(got[0].lParam, 2 | 7 << 16);

  SendText(KAL_ROUTER_CMD, 13, "RC 13 2 3 ',A' 3");
  got = Take(KAL_REVERTIVE_TEXT);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].text, "RR 13 2 3 'CAM 3' 0");

  // Destination 9 is outside the registered range; ADD takes it in.
  SendText(KAL_ROUTER_CMD, 12, "RC 12 9 3 ',---' 3");
  EXPECT_TRUE(Take(KAL_ROUTER_REVERTIVE).empty());
  Register(self_, 12, 9, 9, true);
  SendText(KAL_ROUTER_CMD, 12, "RC 12 9 4 ',---' 3");
  SendText(KAL_ROUTER_CMD, 12, "RC 12 2 4 ',---' 3");
  EXPECT_EQ(Take(KAL_ROUTER_REVERTIVE).size(), 2u);

  // Polls and queries answer with the current state: destination 5 has source 3.
  SendText(KAL_ROUTER_CMD, 12, "RQ 12 5 5 3");
  got = Take(KAL_ROUTER_REVERTIVE);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, 5 | 3 << 16);
  SendText(KAL_ROUTER_CMD, 12, "RF 12 3");
  EXPECT_EQ(Take(KAL_ROUTER_REVERTIVE).size(), 16u);

  // Cancelled: no more revertives.
  VLNetSup_Send(self_, nxi_, KAL_UNREGISTER_DEV, self_, 12);
  SendText(KAL_ROUTER_CMD, 12, "RC 12 2 5 ',---' 3");
  EXPECT_TRUE(Take(KAL_ROUTER_REVERTIVE).empty());

  // The log has the requests, and what nxi sent with "> ".
  const std::vector<std::string> log = Log();
  const auto has = [&log](const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
  };
  EXPECT_TRUE(has("> 2742 12 458754 plain 0 0 -"));
  EXPECT_TRUE(has("> 2984 1 0 text " + std::to_string(nxi_) + " 513 \"RC 12 2 7 ',---' 3\""));
  EXPECT_TRUE(has("2124 12 0 text " + std::to_string(self_) + " 513 \"RC 12 2 7 ',---' 3\""));
}

TEST_F(NxiPlantTest, ALockRefusesRoutesFromOtherWorkstations) {
  StartNxi();
  Register(self_, 12, 1, 16);
  EXPECT_EQ(SendText(KAL_ROUTER_CMD, 12, "RL 12 5 5 1 7"), 1);
  EXPECT_EQ(SendText(KAL_ROUTER_CMD, 12, "RC 12 5 7 ',---' 3"), 0);
  EXPECT_TRUE(Take(KAL_ROUTER_REVERTIVE).empty());
  EXPECT_NE(Do("show 12").find("\n5 '' <- 3 'CAM 3' locked 7\n"), std::string::npos);
  EXPECT_EQ(SendText(KAL_ROUTER_CMD, 12, "RC 12 5 7 ',---' 7"), 1);
  EXPECT_EQ(Take(KAL_ROUTER_REVERTIVE).size(), 1u);
  // Unlocked by its workstation, the destination takes anyone's route.
  EXPECT_EQ(SendText(KAL_ROUTER_CMD, 12, "RL 12 5 5 0 3"), 0);
  EXPECT_EQ(SendText(KAL_ROUTER_CMD, 12, "RL 12 5 5 0 7"), 1);
  EXPECT_EQ(SendText(KAL_ROUTER_CMD, 12, "RC 12 5 3 ',---' 3"), 1);
}

TEST_F(NxiPlantTest, LookupsAreAnsweredFromTheDatabases) {
  StartNxi();
  SendBlock(KAL_GET_NAME, {12, 0, 7});
  EXPECT_STREQ(VLNetSup_ReplyText(), "VTR A");
  SendBlock(KAL_GET_NAME, {12, 0, 8});
  EXPECT_STREQ(VLNetSup_ReplyText(), "");
  EXPECT_EQ(SendText(KAL_NAME_TO_INDEX, 12 | 0x8000, "studio 2"), 2);
  EXPECT_EQ(SendText(KAL_NAME_TO_INDEX, 12, "VTR A"), 7);
  EXPECT_EQ(SendText(KAL_NAME_TO_INDEX, 12, "NOBODY"), 0);
  EXPECT_EQ(SendBlock(KAL_NAME_TO_INDEX_DB, {12, 2, 1, 0}, "C4"), 4);
  SendText(KAL_DB_GET, 0, "DG 12 3");
  EXPECT_STREQ(VLNetSup_ReplyText(), "CAM 3");
  EXPECT_EQ(SendText(KAL_DB_INDEX, 0, "DI 12 0 0 VTR A 0"), 7);
  EXPECT_EQ(SendText(KAL_DEVICE_INFO, 12, ""), 1);
  EXPECT_STREQ(VLNetSup_ReplyText(), "12 1 16 16 3 MAIN ROUTER");
  EXPECT_EQ(SendText(KAL_DEVICE_INFO, 30, ""), 1);
  EXPECT_STREQ(VLNetSup_ReplyText(), "30 2 8 8 0");
  EXPECT_EQ(SendText(KAL_DEVICE_INFO, 99, ""), 0);

  // RM changes a name and tells every panel; the query tells the changes apart.
  platform::Send(nxi_, platform::Message::Plain(KAL_CLIENT_HELLO, self_, kClientHelloDiscover));
  SendText(KAL_ROUTER_CMD, 12, "RM 12 0 8 'GFX 1' 0 3");
  SendText(KAL_DB_UPDATE, 0, "RM 12 0 8 'GFX 1' 0 3");
  std::vector<Received> got = Take(KAL_DATABASE_MSG);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 12u);
  EXPECT_EQ(got[0].lParam, 0 << 16 | 8);
  EXPECT_EQ(VLNetSup_Send(self_, nxi_, KAL_DATABASE_QUERY, 12, 0), 1);
  SendBlock(KAL_GET_NAME, {12, 0, 8});
  EXPECT_STREQ(VLNetSup_ReplyText(), "GFX 1");
  // DP copies a name within a database.
  SendText(KAL_DB_CMD, 0, "DP 12 8 9 0");
  EXPECT_EQ(Take(KAL_DATABASE_MSG).size(), 1u);
  EXPECT_EQ(SendText(KAL_NAME_TO_INDEX, 12, "GFX 1"), 8);
  SendText(KAL_DB_GET, 0, "DG 12 9");
  EXPECT_STREQ(VLNetSup_ReplyText(), "GFX 1");
}

TEST_F(NxiPlantTest, GpiAndSlotChangesSendTheirRevertives) {
  StartNxi();
  Register(self_, 30, 1, 16);
  Register(self_, 40, 1, 8);
  SendText(KAL_GPI_CMD, 30, "GS 30 9 1 3");
  std::vector<Received> got = Take(KAL_GPI_REVERTIVE);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 30u);
  EXPECT_EQ(got[0].lParam, 9 | 1 << 16);
  EXPECT_EQ(SendText(KAL_GPI_CMD, 30, "GS 30 2 1 3"), 0);  // an input
  EXPECT_TRUE(Take(KAL_GPI_REVERTIVE).empty());

  SendText(KAL_INFO_CMD, 40, "IW 40 'ON AIR' 2 3");
  got = Take(KAL_REVERTIVE_TEXT);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].text, "IR 40 2 2 'ON AIR' 0");

  // The operator sets inputs; a slot written by the operator reaches the panel too.
  EXPECT_EQ(Do("gpi 30 2 1"), "gpi 30 2 1\n");
  got = Take(KAL_GPI_REVERTIVE);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, 2 | 1 << 16);
  EXPECT_EQ(Do("slot 40 3 NEWS AT TEN"), "slot 40 3 'NEWS AT TEN'\n");
  got = Take(KAL_REVERTIVE_TEXT);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].text, "IR 40 3 3 'NEWS AT TEN' 0");
}

TEST_F(NxiPlantTest, OperatorCommandsAndTheirAnswers) {
  StartNxi("");
  int status = -1;
  EXPECT_EQ(Do("add router 12 4 4 text", &status), "added router 12\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Do("add router 12 4 4", &status), "error: device 12 is already in the plant\n");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Do("add gpi 30 2 2"), "added gpi 30\n");
  EXPECT_EQ(Do("add info 40 4"), "added info 40\n");
  EXPECT_EQ(Do("name 12 0 3 CAM 3"), "name 12 0 3 'CAM 3'\n");
  EXPECT_EQ(Do("frobnicate", &status), "error: unknown command 'frobnicate' (try help)\n");
  EXPECT_EQ(status, 1);

  Register(self_, 12, 1, 4);
  platform::Send(nxi_, platform::Message::Plain(KAL_NETMSG_REGISTER, self_));
  EXPECT_EQ(Do("route 12 2 3"), "routed 12 2 3\n");
  std::vector<Received> got = Take(KAL_REVERTIVE_TEXT);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].text, "RR 12 2 3 'CAM 3' 0");
  EXPECT_EQ(Do("panels"), HandleText(self_) + " subscribed 12:1-4\n");

  EXPECT_EQ(Do("status 12 2 6"), "sent 1\n");
  got = Take(KAL_NETTXRXSTATUS);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 12u);
  EXPECT_EQ(got[0].lParam, 2 << 16 | 6);
  EXPECT_EQ(Do("redundancy go 12"), "sent 1\n");
  got = Take(KAL_REQDEVGOTXRX);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, 12);

  // A burst: every revertive arrives before the answer, crosspoints cycling.
  EXPECT_EQ(Do("burst 12 400 integer"), "sent 400\n");
  got = Take(KAL_ROUTER_REVERTIVE);
  ASSERT_EQ(got.size(), 400u);
  EXPECT_EQ(got[0].lParam, 1 | 1 << 16);
  EXPECT_EQ(got[5].lParam, 2 | 3 << 16);    // k = 5: destination 2, source (5 + 1) mod 4 + 1
  EXPECT_EQ(Do("burst 12 2"), "sent 2\n");  // the router's own form
  got = Take(KAL_REVERTIVE_TEXT);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].text, "RR 12 2 2 '' 0");
  EXPECT_EQ(Do("lock 12 1 1"), "locked 12 1\n");
  EXPECT_EQ(SendText(KAL_ROUTER_CMD, 12, "RC 12 1 2 ',---' 3"), 0);
}

TEST_F(NxiPlantTest, APanelThatVanishesLosesItsRegistrations) {
  StartNxi();
  std::vector<Received> otherReceived;
  other_ = Panel(&otherReceived);
  const platform::Hwnd other = other_->Handle();
  Register(other, 12, 1, 16);
  Register(self_, 12, 1, 16);
  EXPECT_EQ(Do("panels"), HandleText(self_) + " 12:1-16\n" + HandleText(other) + " 12:1-16\n");
  other_.reset();
  EXPECT_TRUE(WaitUntil([&] { return Do("panels") == HandleText(self_) + " 12:1-16\n"; }));
}

TEST_F(NxiPlantTest, CommandsForAServedDeviceGoToTheOtherPanelsRegisteredForIt) {
  StartNxi();
  std::vector<Received> otherReceived;
  other_ = Panel(&otherReceived);
  Register(other_->Handle(), 50, 1, 4);
  Register(self_, 50, 1, 4);
  SendText(KAL_ROUTER_CMD, 50, "RC 50 1 2 ',---' 3");
  EXPECT_TRUE(Take(KAL_PARSER_COMMAND).empty());
  ASSERT_EQ(otherReceived.size(), 1u);
  EXPECT_EQ(otherReceived[0].message, KAL_PARSER_COMMAND);
  EXPECT_EQ(otherReceived[0].text, "RC 50 1 2 ',---' 3");
}

TEST_F(NxiPlantTest, FileSessionsCopyRealFilesAndReportTheirResult) {
  const std::filesystem::path drive = std::filesystem::path(logs_) / "drive_c";
  std::filesystem::create_directories(drive / "clips");
  std::ofstream(drive / "clips" / "a.txt") << "clip\n";
  setenv("VELCRUM_DRIVE_C", drive.c_str(), 1);
  StartNxi();
  unsetenv("VELCRUM_DRIVE_C");
  char window[8];
  std::snprintf(window, sizeof window, "%04x", self_);

  SendText(KAL_INFO_CMD, 40,
           std::string("ID 040 c:\\clips\\a.txt c:\\clips\\b.txt 3000 ") + window);
  std::vector<Received> got = Take(KAL_SESSION_RESULT);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 3000u);
  EXPECT_EQ(got[0].lParam, 0);
  std::ifstream copy(drive / "clips" / "b.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "clip\n");

  SendText(KAL_INFO_CMD, 40, std::string("IS 40 c:\\clips\\none.txt c:\\x.txt 500 ") + window);
  got = Take(KAL_SESSION_RESULT);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].wParam, 500u);
  EXPECT_EQ(got[0].lParam, 3);
  SendText(KAL_INFO_CMD, 41, std::string("IG 041 c:\\clips\\a.txt c:\\c.txt 7 ") + window);
  got = Take(KAL_SESSION_RESULT);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, 10);  // no such device
}

TEST_F(NxiPlantTest, StatusRequestsAreAnsweredToTheAskingWindow) {
  StartNxi();
  SendText(KAL_DEVSTATUS_REQUEST, 12, "NS 12 1 'X' 3 " + std::to_string(self_) + " 2500");
  std::vector<Received> got = Take(KAL_DEVSTATUSMSG);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].text, "NS 12 3 'ONLINE' 3 " + std::to_string(self_) + " 2500");
}

TEST_F(NxiPlantTest, ABadPlantFileStopsNxiNamingTheLine) {
  const std::string plantPath = logs_ + "/bad.plant";
  std::ofstream(plantPath) << "[router 12]\ndestinations = 16\nsources = lots\n";
  platform::testing::Peer& nxi = Start({"--plant", plantPath}, NXI_PATH);
  ASSERT_TRUE(AwaitExit(nxi));
  EXPECT_TRUE(WIFEXITED(nxi.status) && WEXITSTATUS(nxi.status) == 1);
  EXPECT_NE(ErrorOutput(nxi).find(plantPath + ":3: sources must be a number"), std::string::npos)
      << ErrorOutput(nxi);
}

}  // namespace
}  // namespace velcrum
