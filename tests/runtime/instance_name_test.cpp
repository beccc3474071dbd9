// Forming the instance name from the module path.
#include "runtime/instance_name.h"

#include <gtest/gtest.h>

namespace velcrum {
namespace {

TEST(InstanceNameTest, FromTheModulePath) {
  struct Case {
    const char* path;
    int workstation;
    bool compatible;
    const char* name;
  };
  const Case cases[] = {
      {"c:\\panels\\Desk 4.exe", 12, false, "DESK_4__.012"},
      {"/opt/panels/Desk 4.EXE", 12, false, "DESK_4__.012"},
      {"hello.AST", 0, false, "HELLO___.000"},
      {"/x/abcdefgh.exe", 7, false, "ABCDEFGH.007"},
      {"/x/Master Control.exe", 1, false, "MASTER_CONTROL.001"},
      {"/x/Master Control.exe", 1, true, "MASTER_C.001"},
      {"/x/My Long Panel.v2.exe", 999, false, "MY_LONG_PANEL.999"},
      {"/x/a.b.c", 0, false, "A_______.000"},
      {"/x/", 0, false, "________.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FormInstanceName(c.path, c.workstation, c.compatible), c.name);
  }
}

TEST(InstanceNameTest, SpacesBeyondTheFirstEightStay) {
  EXPECT_EQ(FormInstanceName("/x/Studio One Two.exe", 3, false), "STUDIO_ONE TWO.003");
}

TEST(InstanceNameTest, NeverLongerThan255) {
  const std::string longName = "/x/" + std::string(400, 'p') + ".exe";
  const std::string name = FormInstanceName(longName, 5, false);
  EXPECT_EQ(name.size(), 255u);
  EXPECT_TRUE(name.ends_with(".005"));
}

}  // namespace
}  // namespace velcrum
