// Shared libraries: loading by host and Windows path, symbols, ownership.
#include "platform/shared_library.h"

#include <gtest/gtest.h>

#include "controls/control_library.h"
#include "platform/platform_fixture.h"

namespace velcrum {
namespace {

class SharedLibraryTest : public testing::PlatformTest {};

TEST_F(SharedLibraryTest, OpensByWindowsPathFindsSymbolsAndMoves) {
  std::filesystem::create_directories(DriveC() / "Windows");
  std::filesystem::copy_file(VORN_CC_PATH, DriveC() / "Windows" / "Vorn_CC.dll");
  SharedLibrary library = SharedLibrary::OpenWindowsPath("C:\\WINDOWS\\VORN_CC.DLL");
  ASSERT_TRUE(library);
  EXPECT_EQ(library.Path(), (DriveC() / "Windows" / "Vorn_CC.dll").string());
  const auto classes = library.Entry<VelcrumControlClassesFunction>(VELCRUM_CONTROL_CLASSES_SYMBOL);
  ASSERT_NE(classes, nullptr);
  EXPECT_STREQ(classes()[0].name, "VornButton");
  EXPECT_EQ(library.Symbol("NoSuchSymbol"), nullptr);

  SharedLibrary moved = std::move(library);
  EXPECT_FALSE(library);  // NOLINT(bugprone-use-after-move): moved-from is closed
  EXPECT_EQ(library.Symbol(VELCRUM_CONTROL_CLASSES_SYMBOL), nullptr);
  EXPECT_TRUE(moved);
  moved.Close();
  EXPECT_FALSE(moved);
  EXPECT_TRUE(moved.Path().empty());
}

TEST_F(SharedLibraryTest, MissingOrInvalidLibrariesDoNotOpen) {
  WriteFile(DriveC() / "junk.dll", "MZ not an ELF file");
  for (const char* path : {"c:\\missing.dll", "c:\\junk.dll", ""}) {
    std::string error;
    const SharedLibrary library = SharedLibrary::OpenWindowsPath(path, &error);
    EXPECT_FALSE(library) << path;
    EXPECT_FALSE(error.empty()) << path;
  }
  // A bare name is taken from the current directory, never searched for along the
  // library path.
  std::filesystem::current_path(DriveC());
  EXPECT_FALSE(SharedLibrary::Open("libc.so.6"));
}

}  // namespace
}  // namespace velcrum
