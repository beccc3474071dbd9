// The window registry's files and the desktop directory, without processes or a loop.
#include "platform/desktop/window_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "desktop_fixture.h"
#include "platform/desktop/desktop_directory.h"

namespace velcrum::platform {
namespace {

using testing::RemoveTree;

class RegistryFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/velcrum-registry-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
  }
  void TearDown() override { RemoveTree(dir_); }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + "/" + name) << text;
  }
  bool Exists(const std::string& name) const {
    return access((dir_ + "/" + name).c_str(), F_OK) == 0;
  }
  // The next window registered gets creation order `order`.
  void SetCounter(uint64_t order) { Write("lock", std::to_string(order - 1) + "\n"); }

  std::string dir_;
};

// The pid of a process that has ended (and been reaped).
pid_t DeadPid() {
  const pid_t pid = fork();
  if (pid == 0) _exit(0);
  waitpid(pid, nullptr, 0);
  return pid;
}

TEST_F(RegistryFilesTest, AnEntryReadsBackAsWritten) {
  const WindowInfo entry{0x2a, 1234, 5678, 9, false, "two\nlines and  spaces "};
  const std::optional<WindowInfo> back = ParseEntry(0x2a, FormatEntry(entry));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->hwnd, 0x2au);
  EXPECT_EQ(back->pid, 1234);
  EXPECT_EQ(back->startTime, 5678u);
  EXPECT_EQ(back->order, 9u);
  EXPECT_FALSE(back->topLevel);
  EXPECT_EQ(back->title, entry.title);
}

TEST_F(RegistryFilesTest, AnythingButAnEntryIsRefused) {
  const std::string good = FormatEntry({1, 10, 20, 30, true, "t"});
  for (const std::string& text : {
           std::string(),
           std::string("velcrum-window 2\n") + good.substr(good.find('\n') + 1),
           good.substr(0, good.find("title")),  // no title line
           std::string(good).replace(good.find("pid 10"), 6, "pid -1"),
           std::string(good).replace(good.find("kind top"), 8, "kind odd"),
           std::string(good).replace(good.find("order 30"), 8, "order x"),
           std::string(good).replace(good.find("start"), 5, "begin"),
       }) {
    EXPECT_FALSE(ParseEntry(1, text)) << text;
  }
}

TEST_F(RegistryFilesTest, TitlesMatchWithoutRegardToCase) {
  const struct {
    const char* a;
    const char* b;
    bool match;
  } cases[] = {
      {"DESK_4__.012", "desk_4__.012", true},   {"Velcrum", "VELCRUM", true},
      {"Velcrum", "Velcrum ", false},           {"", "", true},
      {"\xc3\x96lfeld", "\xc3\xb6LFELD", true},  // UTF-8 Ö and ö
      {"\xd6lfeld", "\xd6LFELD", true},          // not UTF-8: bytes, A-Z folded
      {"\xd6lfeld", "\xf6lfeld", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TitlesMatch(c.a, c.b), c.match) << c.a << " / " << c.b;
}

TEST_F(RegistryFilesTest, HandlesGoRoundTheWholeRange) {
  WindowRegistry registry(dir_);
  const struct {
    uint64_t order;
    Hwnd expected;
  } cases[] = {{1, 1}, {65533, 0xFFFD}, {65534, 0xFFFE}, {65535, 1}, {65534 + 42, 0x2a}};
  for (const auto& c : cases) {
    SetCounter(c.order);
    const std::optional<WindowInfo> entry = registry.Register(true, "w");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->hwnd, c.expected) << c.order;
    EXPECT_EQ(entry->order, c.order);
    registry.Unregister(entry->hwnd);
  }
}

TEST_F(RegistryFilesTest, ALiveHandleIsSkippedAndAStaleOneTakenOver) {
  WindowRegistry registry(dir_);
  SetCounter(0x2a);
  const std::optional<WindowInfo> live = registry.Register(true, "live");
  ASSERT_TRUE(live);
  ASSERT_EQ(live->hwnd, 0x2au);
  Write("w002b", FormatEntry({0x2b, DeadPid(), 1, 1, true, "ghost"}));
  Write("w002c", "garbage");

  SetCounter(0x2a);  // points at the live window's handle
  const std::optional<WindowInfo> next = registry.Register(true, "next");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->hwnd, 0x2bu);  // the ghost's handle, reclaimed
  SetCounter(0x2c);
  const std::optional<WindowInfo> third = registry.Register(true, "third");
  ASSERT_TRUE(third);
  EXPECT_EQ(third->hwnd, 0x2cu);  // the garbage's handle, reclaimed
}

TEST_F(RegistryFilesTest, ListingRemovesWhatDeadProcessesLeftBehind) {
  WindowRegistry registry(dir_);
  const std::optional<WindowInfo> own = registry.Register(true, "own");
  ASSERT_TRUE(own);
  const pid_t dead = DeadPid();
  // A live pid with the wrong start time is a process that reused a dead one's pid.
  Write("w0100", FormatEntry({0x100, getpid(), own->startTime + 1, 2, true, "reused pid"}));
  Write("w0101", FormatEntry({0x101, dead, 1, 3, true, "dead"}));
  Write("w0102", "not an entry");
  Write("p" + std::to_string(dead) + ".sock", "");
  Write("m" + std::to_string(dead) + ".mon", "");
  Write("t" + std::to_string(dead) + ".7", "");
  Write("p" + std::to_string(getpid()) + ".sock", "");

  const std::vector<WindowInfo> live = registry.List();
  ASSERT_EQ(live.size(), 1u);
  EXPECT_EQ(live[0].hwnd, own->hwnd);
  for (const std::string name : {"w0100", "w0101", "w0102"}) EXPECT_FALSE(Exists(name)) << name;
  EXPECT_FALSE(Exists("p" + std::to_string(dead) + ".sock"));
  EXPECT_FALSE(Exists("m" + std::to_string(dead) + ".mon"));
  EXPECT_FALSE(Exists("t" + std::to_string(dead) + ".7"));
  EXPECT_TRUE(Exists("p" + std::to_string(getpid()) + ".sock"));
}

TEST_F(RegistryFilesTest, TheDesktopDirectoryIsMadePrivate) {
  const std::string fresh = dir_ + "/fresh";
  std::string error;
  ASSERT_TRUE(PrepareDesktopDirectory(fresh, &error)) << error;
  struct stat info {};
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  const std::string open = dir_ + "/open";
  ASSERT_EQ(mkdir(open.c_str(), 0755), 0);
  ASSERT_TRUE(PrepareDesktopDirectory(open, &error)) << error;
  ASSERT_EQ(stat(open.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  Write("file", "");
  EXPECT_FALSE(PrepareDesktopDirectory(dir_ + "/file", &error));
  ASSERT_EQ(symlink(fresh.c_str(), (dir_ + "/link").c_str()), 0);
  EXPECT_FALSE(PrepareDesktopDirectory(dir_ + "/link", &error));
  EXPECT_FALSE(PrepareDesktopDirectory("/tmp/" + std::string(120, 'x'), &error));
  if (geteuid() == 0) {
    const std::string foreign = dir_ + "/foreign";
    ASSERT_EQ(mkdir(foreign.c_str(), 0700), 0);
    ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(PrepareDesktopDirectory(foreign, &error));
    EXPECT_NE(error.find("another user"), std::string::npos) << error;
  }
}

TEST_F(RegistryFilesTest, TheEnvironmentNamesTheDesktop) {
  const char* saved = std::getenv("VELCRUM_DESKTOP");
  const std::string savedDesktop = saved ? saved : "";
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedRuntime = runtime ? runtime : "";

  setenv("VELCRUM_DESKTOP", "/x/desk", 1);
  setenv("XDG_RUNTIME_DIR", "/run/user/7", 1);
  EXPECT_EQ(DesktopDirectoryFromEnvironment(), "/x/desk");
  setenv("VELCRUM_DESKTOP", "", 1);
  EXPECT_EQ(DesktopDirectoryFromEnvironment(), "/run/user/7/velcrum-desktop");
  unsetenv("VELCRUM_DESKTOP");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(DesktopDirectoryFromEnvironment(), "/tmp/velcrum-desktop-" + std::to_string(geteuid()));

  if (saved) setenv("VELCRUM_DESKTOP", savedDesktop.c_str(), 1);
  if (runtime) setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
}

}  // namespace
}  // namespace velcrum::platform
