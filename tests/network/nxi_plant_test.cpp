// nxi's plant without a process: the plant file reader, the plant's changes, the panels'
// registrations, command fields and file sessions.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "command_fields.h"
#include "file_session.h"
#include "panels.h"
#include "plant.h"
#include "plant_reader.h"

namespace velcrum::nxi {
namespace {

TEST(PlantReaderTest, TheSamplePlantHoldsTheDevicesItDescribes) {
  Plant plant;
  std::string error;
  ASSERT_TRUE(ReadPlantFile(SAMPLE_PLANT, &plant, &error)) << error;
  const Device* router = plant.Find(12);
  ASSERT_TRUE(router);
  EXPECT_EQ(router->kind, DeviceKind::kRouter);
  EXPECT_EQ(router->destinations, 16);
  EXPECT_EQ(router->sources, 16);
  EXPECT_EQ(router->Name(0, 7), "VTR A");
  EXPECT_EQ(router->Name(1, 1), "STUDIO 1");
  EXPECT_EQ(router->state[4], 7);
  EXPECT_EQ(router->locks[14], 7);
  EXPECT_EQ(router->InformationRecord(), "12 1 16 16 3 MAIN ROUTER");

  const Device* gpi = plant.Find(30);
  ASSERT_TRUE(gpi);
  EXPECT_EQ(gpi->Size(), 16);
  EXPECT_EQ(gpi->Name(0, 9), "TALLY CAM 1");  // output 1 follows the 8 inputs
  EXPECT_EQ(gpi->state[13], 1);

  const Device* info = plant.Find(40);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->texts[3], "WEATHER: SUNNY");
  EXPECT_EQ(info->IndexOf(0, "ticker"), 3);
}

TEST(PlantReaderTest, LayoutFreedoms) {
  Plant plant;
  std::string error;
  // CR LF line ends, blanks, case, quotes, comments, sizes after the entries that need them.
  ASSERT_TRUE(
      ReadPlant("# plant\r\n[ ROUTER 5 ]\r\n  Source 2 = \"CAM 2\"  \r\nSOURCES=2\r\n"
                "destinations = 3\r\n; x\r\nRevertive = TEXT\r\nserved = yes\r\n"
                "information = 9 8 7 6\r\n",
                "a.plant", &plant, &error))
      << error;
  const Device* router = plant.Find(5);
  ASSERT_TRUE(router);
  EXPECT_EQ(router->Name(0, 2), "CAM 2");
  EXPECT_EQ(router->form, RevertiveForm::kText);
  EXPECT_TRUE(router->served);
  EXPECT_EQ(router->InformationRecord(), "5 9 8 7 6");
}

TEST(PlantReaderTest, AFaultNamesTheFileAndItsLine) {
  const std::string longName(256, 'N');
  struct Case {
    const char* text;
    const char* expected;  // the start of the error
    const char* what;      // and a piece of the rest
  };
  const Case cases[] = {
      {"name = X\n", "p.plant:1: ", "before the first"},
      {"[router 5]\ndestinations 4\n", "p.plant:2: ", "KEY = VALUE"},
      {"[mixer 5]\n", "p.plant:1: ", "unknown device kind"},
      {"[router 0]\ndestinations = 1\nsources = 1\n", "p.plant:1: ", "outside 1 to 999"},
      {"[router 1000]\n", "p.plant:1: ", "outside 1 to 999"},
      {"[router x]\n", "p.plant:1: ", "expected [router N]"},
      {"[router 5\n", "p.plant:1: ", "must end with ]"},
      {"[router 5]\nsources = 2\n", "p.plant:1: ", "destinations and sources"},
      {"[router 5]\ndestinations = 4097\n", "p.plant:2: ", "1 to 4096"},
      {"[router 5]\ndestinations = 2\nsources = 2\nsource 3 = X\n", "p.plant:4: ", "index 3"},
      {"[router 5]\ndestinations = 2\nsources = 2\nroute 1 = 3\n", "p.plant:4: ", "source"},
      {"[router 5]\ndestinations = 2\nsources = 2\nrevertive = both\n",
       "p.plant:4: ", "integer or text"},
      {"[router 5]\ndestinations = 2\nsources = 2\nslots = 2\n", "p.plant:4: ", "unknown key"},
      {"[router 5]\ndestinations = 2\nsources = two\n", "p.plant:3: ", "number"},
      {"[router 5]\ndestinations = 1\nsources = 1\n[router 5]\n", "p.plant:4: ", "already"},
      {"[gpi 6]\ninputs = 2\noutputs = 2\nstate 4 = 2\n", "p.plant:4: ", "0 or 1"},
      {"[gpi 6]\ninputs = 0\noutputs = 0\n", "p.plant:1: ", "inputs and outputs"},
      {"[gpi 6]\ninputs = 2\noutputs = 1\noutput 2 = X\n", "p.plant:4: ", "index 2"},
      {"[info 7]\nslots = 2\nname 11 1 = X\n", "p.plant:3: ", "index 11"},
      {"[info 7]\nslots = 2\nlock 1 = -3\n", "p.plant:3: ", "workstation"},
      {"[info 7]\nslots = 2\ninformation = 1 2 3\n", "p.plant:3: ", "four numbers"},
      {"[info 7]\nslots = 2\nserved = maybe\n", "p.plant:3: ", "yes or no"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Plant plant;
    std::string error;
    EXPECT_FALSE(ReadPlant(c.text, "p.plant", &plant, &error));
    EXPECT_EQ(error.rfind(c.expected, 0), 0u) << error;
    EXPECT_NE(error.find(c.what), std::string::npos) << error;
  }
  Plant plant;
  std::string error;
  EXPECT_FALSE(ReadPlant("[info 7]\nslots = 1\nslot 1 = " + longName + "\n", "p", &plant, &error));
  EXPECT_EQ(error, "p:3: a name of over 255 characters");
  EXPECT_FALSE(ReadPlantFile("/nonexistent/x.plant", &plant, &error));
  EXPECT_EQ(error.rfind("/nonexistent/x.plant: ", 0), 0u) << error;
}

Plant SmallPlant() {
  Plant plant;
  std::string error;
  EXPECT_TRUE(
      ReadPlant("[router 5]\ndestinations = 4\nsources = 4\nlock 2 = 7\n"
                "[gpi 6]\ninputs = 2\noutputs = 2\n[info 7]\nslots = 2\n"
                "[router 8]\ndestinations = 1\nsources = 1\nserved = yes\n",
                "small", &plant, &error))
      << error;
  return plant;
}

TEST(PlantTest, ChangesAndWhyTheyAreRefused) {
  Plant plant = SmallPlant();
  struct Case {
    Change expected;
    Change got;
  };
  const Case cases[] = {
      {Change::kDone, plant.Route(5, 1, 3, 2)},
      {Change::kLocked, plant.Route(5, 2, 3, 2)},        // workstation 7 holds it
      {Change::kDone, plant.Route(5, 2, 3, 7)},          // its own lock
      {Change::kDone, plant.Route(5, 2, 4, kOperator)},  // the operator is never refused
      {Change::kOutOfRange, plant.Route(5, 5, 1, 2)},
      {Change::kOutOfRange, plant.Route(5, 1, 5, 2)},
      {Change::kUnknownDevice, plant.Route(9, 1, 1, 2)},
      {Change::kWrongKind, plant.Route(6, 1, 1, 2)},
      {Change::kServed, plant.Route(8, 1, 1, 2)},
      {Change::kOutOfRange, plant.SetGpi(6, 1, 1, 2)},  // an input: panels set outputs only
      {Change::kDone, plant.SetGpi(6, 3, 1, 2)},
      {Change::kDone, plant.SetGpi(6, 1, 1, kOperator)},
      {Change::kOutOfRange, plant.SetGpi(6, 3, 2, 2)},
      {Change::kDone, plant.WriteSlot(7, 2, std::string(300, 'x'), 2)},
      {Change::kOutOfRange, plant.WriteSlot(7, 3, "x", 2)},
      {Change::kLocked, plant.Lock(5, 1, 3, true, 3)},  // 1 and 3 locked, 2 stays with 7
      {Change::kDone, plant.Lock(7, 1, 1, true, 4)},
      {Change::kLocked, plant.WriteSlot(7, 1, "y", 2)},
      {Change::kDone, plant.Lock(7, 1, 1, false, kOperator)},
      {Change::kDone, plant.WriteSlot(7, 1, "y", 2)},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
  }
  const Device& router = *plant.Find(5);
  EXPECT_EQ(router.state[1], 3);
  EXPECT_EQ(router.state[2], 4);
  EXPECT_EQ((std::vector<int>{router.locks[1], router.locks[2], router.locks[3]}),
            (std::vector<int>{3, 7, 3}));
  EXPECT_EQ(plant.Find(6)->state[3], 1);
  EXPECT_EQ(plant.Find(7)->texts[2].size(), kMaxName);

  EXPECT_EQ(plant.SetName(5, 0, 3, "CAM 3"), Change::kDone);
  EXPECT_EQ(plant.Find(5)->IndexOf(0, "cam 3"), 3);
  EXPECT_EQ(plant.SetName(5, 0, 3, ""), Change::kDone);
  EXPECT_EQ(plant.Find(5)->IndexOf(0, "cam 3"), 0);
  EXPECT_EQ(plant.Find(5)->databaseChanges, 2);
  EXPECT_EQ(plant.SetName(5, 11, 3, "X"), Change::kOutOfRange);

  std::string error;
  Device device;
  device.number = 5;
  device.slotCount = 1;
  device.kind = DeviceKind::kInfo;
  EXPECT_FALSE(plant.Add(device, &error));
  EXPECT_EQ(error, "device 5 is already in the plant");
}

TEST(PanelsTest, RegistrationsReplaceAddAndCancel) {
  Panels panels;
  panels.Register(0x11, 5, 1, 16, false);
  panels.Register(0x11, 5, 20, 30, true);  // ADD keeps 1 to 16
  panels.Register(0x22, 5, 8, 8, false);
  panels.Register(0x22, 5, 10, 12, false);  // replaces 8
  panels.Register(0x22, 6, 1, 4, false);
  EXPECT_EQ(panels.RegisteredFor(5, 8), (std::vector<PanelWindow>{0x11}));
  EXPECT_EQ(panels.RegisteredFor(5, 11), (std::vector<PanelWindow>{0x11, 0x22}));
  EXPECT_EQ(panels.RegisteredFor(5, 25), (std::vector<PanelWindow>{0x11}));

  panels.UnregisterRange(0x11, 5, 4, 24);  // splits 1-16 and trims 20-30
  EXPECT_EQ(panels.Describe(), "0011 5:1-3 5:25-30\n0022 5:10-12 6:1-4");
  panels.UnregisterDevice(0x22, 6);
  panels.Subscribe(0x22, true);
  EXPECT_EQ(panels.Describe(), "0011 5:1-3 5:25-30\n0022 subscribed 5:10-12");
  panels.UnregisterDevice(0x11, 0);
  EXPECT_TRUE(panels.RegisteredForDevice(5) == std::vector<PanelWindow>{0x22});
  panels.Drop(0x22);
  EXPECT_EQ(panels.Describe(), "0011");
}

TEST(CommandFieldsTest, QuotedFieldsKeepBlanksAndInnerQuotes) {
  const std::vector<CommandField> fields = CommandFields("IW 40 'IT'S ON AIR' 5 3");
  ASSERT_EQ(fields.size(), 5u);
  EXPECT_EQ(fields[2].text, "IT'S ON AIR");
  EXPECT_TRUE(fields[2].quoted);
  EXPECT_EQ(FieldNumber(fields, 3), 5);
  EXPECT_EQ(FieldNumber(fields, 9), 0);
  EXPECT_EQ(CommandFields("RC 12 5 7 ',---' 3")[4].text, ",---");
  EXPECT_EQ(CommandFields("RM 1 0 2 '' 0 3")[4].text, "");
}

TEST(FileSessionTest, CopiesARealFileAndReportsWhatFails) {
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("nxi-session-" + std::to_string(getpid()));
  std::filesystem::create_directories(root / "clips");
  setenv("VELCRUM_DRIVE_C", root.c_str(), 1);
  std::ofstream(root / "clips" / "a.txt") << "line 1\r\nline 2\n";

  EXPECT_EQ(CopySessionFile("c:\\CLIPS\\A.TXT", "c:\\clips\\b.txt"), kSessionSuccess);
  std::ifstream copy(root / "clips" / "b.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "line 1\r\nline 2\n");
  EXPECT_EQ(CopySessionFile("c:\\clips\\none.txt", "c:\\clips\\c.txt"), kSessionFileNotFound);
  EXPECT_EQ(CopySessionFile("c:\\clips\\a.txt", "c:\\nodir\\c.txt"), kSessionUnableToOpen);
  EXPECT_EQ(CopySessionFile("c:\\clips", "c:\\clips\\d.txt"), kSessionUnableToOpen);
  EXPECT_FALSE(std::filesystem::exists(root / "clips" / "c.txt"));

  unsetenv("VELCRUM_DRIVE_C");
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace velcrum::nxi
