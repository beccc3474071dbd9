// The desktop diagnostic program: listing, watching, sending, and the hand that drives a
// dialog in another process.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "desktop_fixture.h"
#include "hand_peer_dialog.h"
#include "peer_protocol.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/remote_hand.h"

namespace velcrum::platform::testing {
namespace {

class DesktopToolTest : public DesktopTest {
 protected:
  std::string Run(const std::vector<std::string>& arguments, int* status = nullptr,
                  std::string* errors = nullptr) {
    return RunTool(arguments, status, errors);
  }
  static std::string Line(Hwnd hwnd, pid_t pid, const std::string& title) {
    char text[256];
    std::snprintf(text, sizeof text, "%04x  %-7d  %s\n", hwnd, pid, title.c_str());
    return text;
  }
};

TEST_F(DesktopToolTest, ListShowsHandleProcessAndTitleFromTheTop) {
  const Peer& first = StartPeer({"--title", "DESK_4__.012"});
  const Peer& second = StartPeer({"--title", "NXI"});
  const Peer& hidden = StartPeer({"--title", "driver", "--message-only"});

  EXPECT_EQ(Run({}),
            Line(second.hwnd, second.pid, "NXI") + Line(first.hwnd, first.pid, "DESK_4__.012"));
  EXPECT_EQ(Run({"list", "--all", "--bottom-up"}),
            Line(first.hwnd, first.pid, "DESK_4__.012") + Line(second.hwnd, second.pid, "NXI") +
                Line(hidden.hwnd, hidden.pid, "driver (message-only)"));
}

TEST_F(DesktopToolTest, SendPrintsTheAnswerAndPostReachesTheWindow) {
  const Peer& peer = StartPeer({"--title", "old"});
  char hwnd[8];
  std::snprintf(hwnd, sizeof hwnd, "%04x", peer.hwnd);
  EXPECT_EQ(Run({"send", hwnd, std::to_string(kPeerEcho), "40", "0x2"}), "42 (0x0000002a)\n");
  int status = 0;
  Run({"post", hwnd, std::to_string(kPeerSetTitle), "0", "0", "new title"}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(WaitUntil([&] { return FindWindow("NEW TITLE") == peer.hwnd; }));
  Run({"send", "fffe", "1"}, &status);
  EXPECT_EQ(status, 1);
  Run({"send", "zz", "1"}, &status);
  EXPECT_EQ(status, 2);
}

TEST_F(DesktopToolTest, WatchShowsTheMessagesOfTheDesktop) {
  const Peer& peer = StartPeer();
  Peer& watcher = Start({"--dir", dir_, "watch"}, DESKTOP_TOOL_PATH);
  // Processes link to the watcher when they have seen its announcement.
  ASSERT_TRUE(WaitUntil([&] {
    Send(peer.hwnd, Message::Plain(kPeerEcho, 1, 2));
    ReadOutput(watcher);
    return watcher.outputText.find(" S ") != std::string::npos;
  }));
  char expected[128];
  std::snprintf(expected, sizeof expected, "%-7d R %04x message %u = 3\n", peer.pid, peer.hwnd,
                kPeerEcho);
  EXPECT_TRUE(WaitUntil([&] {
    ReadOutput(watcher);
    return watcher.outputText.find(expected) != std::string::npos;
  })) << watcher.outputText;
}

// A dialog in another process (hand_peer), driven by the tool's hand.
class DesktopHandTest : public DesktopToolTest {
 protected:
  void SetUp() override {
    DesktopToolTest::SetUp();
    dialog_ = &Start({}, HAND_PEER_PATH);
    ASSERT_NE(AwaitHandle(*dialog_), kNoWindow) << ErrorOutput(*dialog_);
    hwnd_ = HandleText(dialog_->hwnd);
    ASSERT_TRUE(WaitUntil([&] {
      ReadOutput(*dialog_);
      const size_t at = dialog_->outputText.find("\nsize ");
      return at != std::string::npos && dialog_->outputText.find('\n', at + 1) != std::string::npos;
    }));
    const size_t at = dialog_->outputText.find("\nsize ");
    std::sscanf(dialog_->outputText.c_str() + at, "\nsize %d %d", &width_, &height_);
    seen_ = dialog_->outputText.find('\n', at + 1) + 1;
  }

  // Runs `desktop COMMAND HWND VALUES...` on the dialog.
  std::string Hand(const std::string& command, const std::vector<std::string>& values = {},
                   int* status = nullptr, std::string* errors = nullptr) {
    std::vector<std::string> arguments{command, hwnd_};
    arguments.insert(arguments.end(), values.begin(), values.end());
    return Run(arguments, status, errors);
  }

  // The notifications the dialog's procedure has received since the last call, waiting
  // until there are at least `count`.
  std::vector<std::string> Notifications(size_t count) {
    std::vector<std::string> lines;
    WaitUntil(
        [&] {
          ReadOutput(*dialog_);
          lines.clear();
          const std::string& text = dialog_->outputText;
          for (size_t at = seen_, end; (end = text.find('\n', at)) != std::string::npos;
               at = end + 1) {
            lines.push_back(text.substr(at, end - at));
          }
          return lines.size() >= count;
        },
        5000);
    for (const std::string& line : lines) seen_ += line.size() + 1;
    return lines;
  }

  // The line `controls` prints for one control.
  std::string ControlLine(int id) {
    const std::string out = Hand("controls");
    const std::string start = std::to_string(id) + ' ';
    for (size_t at = 0, end; (end = out.find('\n', at)) != std::string::npos; at = end + 1) {
      if (out.compare(at, start.size(), start) == 0) return out.substr(at, end - at);
    }
    return {};
  }
  // Its STATE, VALUE and TEXT fields.
  std::string StateValueText(int id) {
    static const std::regex kLine(R"(^-?\d+ \S+ -?\d+ -?\d+ \d+ \d+ (.*)$)");
    std::smatch match;
    const std::string line = ControlLine(id);
    return std::regex_match(line, match, kLine) ? match[1].str() : "unreadable: " + line;
  }

  Peer* dialog_ = nullptr;
  std::string hwnd_;
  int width_ = 0;
  int height_ = 0;
  size_t seen_ = 0;
};

TEST_F(DesktopHandTest, ControlsAndItemsDescribeTheDialogLineByLine) {
  const std::string out = Hand("controls");
  static const std::regex kLine(
      R"(^(-?\d+) (\S+) (-?\d+) (-?\d+) (\d+) (\d+) (\S+) (-?\d+) (".*")$)");
  struct Shown {
    std::string id, className, state, value, text;
    int x, y, width, height;
  };
  std::vector<Shown> shown;
  for (size_t at = 0, end; (end = out.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = out.substr(at, end - at);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, kLine)) << line;
    shown.push_back({m[1], m[2], m[7], m[8], m[9], std::stoi(m[3]), std::stoi(m[4]),
                     std::stoi(m[5]), std::stoi(m[6])});
  }
  const struct {
    int id;
    const char* className;
    const char* state;
    const char* value;
    const char* text;
  } expected[] = {
      {kHandPeerOk, "BUTTON", "VE", "0", R"("OK")"},
      {kHandPeerCheck, "BUTTON", "VE", "0", R"("Loud")"},
      {kHandPeerList, "LISTBOX", "VE", "-1", R"("")"},
      {kHandPeerScrollBar, "SCROLLBAR", "VE", "0", R"("")"},
      {kHandPeerEdit, "EDIT", "VEF", "0", R"("ed")"},
      {kHandPeerStatic, "STATIC", "-", "0", R"("a\x09b")"},
  };
  ASSERT_EQ(shown.size(), std::size(expected)) << out;
  for (size_t i = 0; i < shown.size(); ++i) {
    EXPECT_EQ(shown[i].id, std::to_string(expected[i].id)) << i;
    EXPECT_EQ(shown[i].className, expected[i].className) << i;
    EXPECT_EQ(shown[i].state, expected[i].state) << i;
    EXPECT_EQ(shown[i].value, expected[i].value) << i;
    EXPECT_EQ(shown[i].text, expected[i].text) << i;
    EXPECT_GT(shown[i].width, 0) << i;
    EXPECT_GT(shown[i].height, 0) << i;
  }
  // Client pixels, placed as the template places them: the list right of the button, the
  // edit below the check box.
  EXPECT_GT(shown[2].x, shown[0].x + shown[0].width);
  EXPECT_GT(shown[4].y, shown[1].y + shown[1].height);

  EXPECT_EQ(Hand("items", {"102"}), "0 \"alpha\"\n1 \"beta\"\n2 \"gamma \\\"q\\\"\"\n");
}

TEST_F(DesktopHandTest, ClickAndSelectNotifyAsARealPressDoes) {
  int status = -1;
  EXPECT_EQ(Hand("click", {"101"}, &status), "");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0111 101 0 101"});
  // A pressed button takes the focus, as on Windows.
  EXPECT_EQ(StateValueText(kHandPeerCheck), "VECF 1 \"Loud\"");

  Hand("click", {"1"});
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0111 1 0 1"});

  Hand("select", {"102", "2"});
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0111 102 1 102"});
  EXPECT_EQ(Hand("items", {"102"}), "0 \"alpha\"\n1 \"beta\"\n2* \"gamma \\\"q\\\"\"\n");
  EXPECT_EQ(StateValueText(kHandPeerList).substr(0, 5), "VEF 2");
}

TEST_F(DesktopHandTest, DragTracksTheThumbAndLetsGo) {
  Hand("drag", {"103", "7"});
  // While the thumb moves, then where it was let go, then the end of the scroll.
  EXPECT_EQ(Notifications(3),
            (std::vector<std::string>{"0115 5 7 103", "0115 4 7 103", "0115 8 0 103"}));
  EXPECT_EQ(StateValueText(kHandPeerScrollBar), "VE 7 \"\"");
  Hand("drag", {"103", "0"});
  EXPECT_EQ(Notifications(3),
            (std::vector<std::string>{"0115 5 0 103", "0115 4 0 103", "0115 8 0 103"}));
}

TEST_F(DesktopHandTest, KeysGoToTheFocusedControlAndTheDialogManager) {
  Hand("key", {"xy"});
  EXPECT_EQ(Notifications(2), (std::vector<std::string>{"0111 104 768 104", "0111 104 768 104"}));
  EXPECT_EQ(StateValueText(kHandPeerEdit), "VEF 0 \"edxy\"");
  // Tab goes round the tab stops in creation order, from the edit back to the button.
  Hand("key", {"{Tab}"});
  EXPECT_EQ(StateValueText(kHandPeerOk).substr(0, 3), "VEF");
  Hand("key", {"{Escape}"});
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0111 2 0 0"});
}

TEST_F(DesktopHandTest, KeysWithAltHeldReachTheDialogAsSystemKeysInTheOrderWritten) {
  // The list box has the focus and takes none of them (an edit would take the releases).
  Hand("select", {"102", "0"});
  Notifications(1);
  Hand("key", {"{Alt+Shift+d}"});
  EXPECT_EQ(Notifications(6), (std::vector<std::string>{"0104 18", "0104 16", "0104 68", "0105 68",
                                                        "0105 16", "0105 18"}));
  EXPECT_EQ(StateValueText(kHandPeerEdit), "VE 0 \"ed\"");
}

TEST_F(DesktopHandTest, ARightClickOpensTheMenuAndKeysThenGoToTheMenu) {
  // The dialog's bottom right corner, where no control is.
  Hand("press", {"right", std::to_string(width_ - 3), std::to_string(height_ - 3)});
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0204"});
  Hand("key", {"s"});
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0111 202 0 0"});
  // The menu has closed: keys reach the focused edit again.
  Hand("key", {"z"});
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0111 104 768 104"});

  int status = -1;
  std::string errors;
  Hand("press", {"right", "-1", "5"}, &status, &errors);
  EXPECT_EQ(status, 1);
  EXPECT_NE(errors.find("is outside window"), std::string::npos) << errors;
}

TEST_F(DesktopHandTest, RefusalsAndBadUsageSayWhatIsWrong) {
  const Peer& plain = StartPeer({"--title", "plain"});
  const struct {
    std::vector<std::string> arguments;
    int status;
    std::string error;
  } cases[] = {
      {{"click", hwnd_, "999"}, 1, "window " + hwnd_ + " has no control 999"},
      {{"items", hwnd_, "101"}, 1, "is not a list box or combo box"},
      {{"select", hwnd_, "102", "3"}, 1, "has no item 3 (it has 3)"},
      {{"drag", hwnd_, "103", "11"}, 1, "outside the range of control 103"},
      {{"drag", hwnd_, "101", "1"}, 1, "is not a scroll bar or trackbar"},
      {{"click", hwnd_, "105"}, 1, "control 105 of window " + hwnd_ + " is hidden"},
      {{"controls", HandleText(plain.hwnd)}, 1, "is not a dialog"},
      {{"shot", HandleText(plain.hwnd), dir_ + "/x.png"}, 1, "has no widget"},
      {{"controls", "fffe"}, 1, "no window fffe"},
      {{"controls", "zz"}, 2, "HWND"},
      {{"controls", hwnd_, "1"}, 2, "controls takes"},
      {{"select", hwnd_, "102"}, 2, "select takes"},
      {{"click", hwnd_, "x"}, 2, "x is not a decimal number"},
      {{"key", hwnd_, "{Nope}"}, 2, "unknown key"},
  };
  for (const auto& c : cases) {
    int status = -1;
    std::string errors;
    EXPECT_EQ(Run(c.arguments, &status, &errors), "") << c.arguments[0];
    EXPECT_EQ(status, c.status) << c.arguments[0] << " " << errors;
    EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
  }
  // Nothing refused reached the dialog's procedure.
  Hand("click", {"101"});
  EXPECT_EQ(Notifications(1), std::vector<std::string>{"0111 101 0 101"});
}

// The width and height in a PNG file's header.
std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {-1, -1};
  const auto word = [&](size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) |
           (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) |
           static_cast<unsigned char>(bytes[at + 3]);
  };
  return {word(16), word(20)};
}

TEST_F(DesktopHandTest, ShotWritesAPictureOfTheWindowAsShown) {
  int status = -1;
  const std::string picture = dir_ + "/dialog.png";
  Hand("shot", {picture}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(PngSize(picture), std::make_pair(width_, height_));
  // Any top-level window with a widget, not only dialogs.
  const Peer& widget = StartPeer({"--widget"});
  Run({"shot", HandleText(widget.hwnd), dir_ + "/widget.png"}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_GT(PngSize(dir_ + "/widget.png").first, 0);
}

TEST_F(DesktopHandTest, RaiseWindowAsksTheOwningProcessToRaiseItsWindow) {
  EXPECT_TRUE(RaiseWindow(dialog_->hwnd));
  const Peer& plain = StartPeer({"--title", "plain"});
  EXPECT_FALSE(RaiseWindow(plain.hwnd)) << "a window without a widget shows nothing to raise";
  EXPECT_FALSE(RaiseWindow(0x7FFF)) << "no such window";
}

}  // namespace
}  // namespace velcrum::platform::testing
