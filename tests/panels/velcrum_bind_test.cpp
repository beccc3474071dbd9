// velcrum-bind: a bound copy and a link with companion files, each read back as the
// runtime reads it, and its errors.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "panels/bound_bundle.h"
#include "panels/companion_script.h"
#include "panels/rc_test_directory.h"

namespace velcrum {
namespace {

using testing::RcTestDirectory;
namespace fs = std::filesystem;

constexpr char kHeader[] = "#define IDD_MAIN 1\n#define IDC_TAKE 1001\n#define IDB_LOGO 7\n";
constexpr char kScript[] =
    "#include \"Ids.h\"\n"
    "#include <windows.h>\n"
    "IDB_LOGO BITMAP \"res\\\\logo.bmp\"\n"
    "IDD_MAIN DIALOG 0, 0, 100, 40\n"
    "CAPTION \"Desk\"\n"
    "BEGIN\n"
    "  PUSHBUTTON \"Take\", IDC_TAKE, 5, 5, 40, 14\n"
    "END\n"
    "STRINGTABLE BEGIN 30000 \"PS 1\" END\n";
const std::string kLogo("BM\0\x01logo", 8);

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class VelcrumBindTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("src/ids.h", kHeader);
    dir_.Write("src/res/LOGO.BMP", kLogo);
    script_ = dir_.Write("src/panel.rc", kScript);
    runtime_ = dir_.Write("bin/velcrum", "#!/bin/sh\nexit 0\n");
    fs::permissions(runtime_, fs::perms(0755));
    fs::create_directories(dir_.Path("out"));
  }

  // Runs velcrum-bind with `arguments`; its exit status, its standard error in `error`.
  int Bind(const std::string& arguments, std::string& error) {
    const std::string errorFile = dir_.Path("stderr.txt");
    const std::string command = std::string("'") + VELCRUM_BIND_PATH + "' --runtime '" + runtime_ +
                                "' " + arguments + " 2>'" + errorFile + "' >/dev/null";
    const int status = std::system(command.c_str());
    error = Contents(errorFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  RcTestDirectory dir_;
  std::string script_;
  std::string runtime_;
};

void ExpectPanel(const RcResources& resources) {
  platform::DialogTemplate dialog;
  ASSERT_TRUE(resources.LoadDialog("#1", dialog));
  EXPECT_EQ(dialog.caption, "Desk");
  ASSERT_EQ(dialog.controls.size(), 1u);
  EXPECT_EQ(dialog.controls[0].id, 1001);
  std::string text;
  EXPECT_TRUE(resources.LoadString(30000, text));
  EXPECT_EQ(text, "PS 1");
  std::string bitmap;
  EXPECT_TRUE(resources.LoadBitmap("#7", bitmap));
  EXPECT_EQ(bitmap, kLogo);
}

TEST_F(VelcrumBindTest, ABoundCopyCarriesTheScriptItsHeaderAndBitmap) {
  const std::string out = dir_.Path("out/Desk 4.EXE");
  std::string error;
  ASSERT_EQ(Bind("'" + script_ + "' '" + out + "'", error), 0) << error;
  // Bound twice: the second replaces the first, and the runtime's bytes are not doubled.
  ASSERT_EQ(Bind("'" + script_ + "' '" + out + "'", error), 0) << error;

  const std::string bytes = Contents(out);
  EXPECT_EQ(std::string(WithoutBoundBundle(bytes)), Contents(runtime_));
  struct stat status {};
  ASSERT_EQ(::stat(out.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0755u);

  std::vector<BoundFile> files;
  std::string readError;
  ASSERT_EQ(ReadBoundBundle(out, files, readError), BundleRead::kRead) << readError;
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].key, "panel.rc");
  EXPECT_EQ(files[1].key, "Ids.h");
  EXPECT_EQ(files[2].key, "res/logo.bmp");
  // The runtime's own call: the bundle first.
  ExpectPanel(LoadModuleResources(out));

  // The runtime without a bundle has none; a cut bundle is damaged, not read.
  EXPECT_EQ(ReadBoundBundle(runtime_, files, readError), BundleRead::kNone);
  const std::string cut = dir_.Write(
      "out/cut.exe", bytes.substr(0, bytes.size() - 40) + bytes.substr(bytes.size() - 16));
  EXPECT_EQ(ReadBoundBundle(cut, files, readError), BundleRead::kBroken);
}

TEST_F(VelcrumBindTest, ALinkHasTheRuntimeAndTheCompanionFiles) {
  const std::string out = dir_.Path("out/DESK4.EXE");
  std::string error;
  ASSERT_EQ(Bind("--link '" + script_ + "' '" + out + "'", error), 0) << error;

  ASSERT_TRUE(fs::is_symlink(out));
  EXPECT_EQ(fs::read_symlink(out).string(), runtime_);
  EXPECT_EQ(Contents(dir_.Path("out/DESK4.rc")), kScript);
  EXPECT_EQ(Contents(dir_.Path("out/Ids.h")), kHeader);
  EXPECT_EQ(Contents(dir_.Path("out/res/logo.bmp")), kLogo);
  ExpectPanel(LoadModuleResources(out));

  // A bound copy over the link replaces the link, not the runtime it points to.
  ASSERT_EQ(Bind("'" + script_ + "' '" + out + "'", error), 0) << error;
  EXPECT_FALSE(fs::is_symlink(out));
  EXPECT_EQ(Contents(runtime_), "#!/bin/sh\nexit 0\n");
}

TEST_F(VelcrumBindTest, ErrorsNameWhatIsWrongAndWriteNothing) {
  const std::string out = dir_.Path("out/P.EXE");
  std::string error;
  EXPECT_EQ(Bind("'" + dir_.Path("src/missing.rc") + "' '" + out + "'", error), 2);
  EXPECT_NE(error.find("missing.rc"), std::string::npos) << error;
  EXPECT_EQ(Bind("--bogus '" + script_ + "' '" + out + "'", error), 2);
  EXPECT_EQ(Bind("'" + script_ + "'", error), 2);

  fs::remove(dir_.Path("src/res/LOGO.BMP"));
  EXPECT_EQ(Bind("'" + script_ + "' '" + out + "'", error), 1);
  EXPECT_NE(error.find("panel.rc(3): bitmap file not found: 'res\\logo.bmp'"), std::string::npos)
      << error;
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(Bind("--help", error), 0);
}

}  // namespace
}  // namespace velcrum
