// Class ids and the per-user class registry file.

#include "com/class_registry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace com;

TEST(Guid, ReadsAndWritesTheBracedForm) {
  const auto g = GuidFromString("{114792df-6E9F-4DA9-A8C1-AB9A0FFA1FFF}");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->Data1, 0x114792DFu);
  EXPECT_EQ(g->Data2, 0x6E9F);
  EXPECT_EQ(g->Data4[0], 0xA8);
  EXPECT_EQ(g->Data4[7], 0xFF);
  EXPECT_EQ(ToString(*g), "{114792DF-6E9F-4DA9-A8C1-AB9A0FFA1FFF}");
  EXPECT_EQ(GuidFromString("114792DF-6E9F-4DA9-A8C1-AB9A0FFA1FFF"), g);
  for (const char* bad :
       {"", "{}", "{114792DF-6E9F-4DA9-A8C1-AB9A0FFA1FFG}",
        "{114792DF6E9F-4DA9-A8C1-AB9A0FFA1FFFF}", "{114792DF-6E9F-4DA9-A8C1-AB9A0FFA1FF}"})
    EXPECT_FALSE(GuidFromString(bad)) << bad;
}

namespace {

const CLSID kViro = *GuidFromString("{114792DF-6E9F-4DA9-A8C1-AB9A0FFA1FFF}");
const CLSID kOther = *GuidFromString("{00000000-0000-0000-0000-000000000001}");

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(ClassRegistry, RegisterReplacesAndUnregisterRemovesExactlyItsEntries) {
  // The test main points XDG_DATA_HOME at a private folder.
  const auto file = ClassRegistryFile();
  EXPECT_EQ(file.filename(), "classes.conf");
  EXPECT_EQ(file.parent_path().filename(), "Tavrinel");
  EXPECT_TRUE(RegisteredClasses().empty());
  EXPECT_FALSE(FindClass("Ornatek.VIroDazu"));

  EXPECT_EQ(RegisterClassEntry({"Ornatek.VIroDazu", kViro, "/old place/Ornatek.ocx"}), "");
  EXPECT_EQ(RegisterClassEntry({"Other.Thing", kOther, "/lib/other.ocx"}), "");
  // Registering again from a new place replaces the entry.
  EXPECT_EQ(RegisterClassEntry({"Ornatek.VIroDazu", kViro, "/new place/Ornatek.ocx"}), "");
  ASSERT_EQ(RegisteredClasses().size(), 2u);
  const auto viro = FindClass("ORNATEK.VIRODAZU");
  ASSERT_TRUE(viro);
  EXPECT_EQ(viro->clsid, kViro);
  EXPECT_EQ(viro->library, "/new place/Ornatek.ocx");
  EXPECT_NE(
      ReadFile(file).find(
          "Ornatek.VIroDazu\t{114792DF-6E9F-4DA9-A8C1-AB9A0FFA1FFF}\t/new place/Ornatek.ocx\n"),
      std::string::npos);

  // Unregistering another library's copy of the class leaves it alone.
  EXPECT_EQ(UnregisterClassEntry({"Ornatek.VIroDazu", kViro, "/old place/Ornatek.ocx"}), "");
  EXPECT_TRUE(FindClass("Ornatek.VIroDazu"));
  EXPECT_EQ(UnregisterClassEntry({"Ornatek.VIroDazu", kViro, "/new place/Ornatek.ocx"}), "");
  EXPECT_FALSE(FindClass("Ornatek.VIroDazu"));
  EXPECT_TRUE(FindClass("Other.Thing"));
  // No temporary file is left beside it.
  for (const auto& e : std::filesystem::directory_iterator(file.parent_path()))
    EXPECT_TRUE(e.path() == file || e.path().extension() == ".lock") << e.path();
}

TEST(ClassRegistry, DamagedLinesAreSkippedAndBadEntriesRefused) {
  const auto file = ClassRegistryFile();
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file)
      << "# comment\n"
      << "garbage line\n"
      << "No.Class\tnot-a-guid\t/x.ocx\n"
      << "\t{00000000-0000-0000-0000-000000000002}\t/x.ocx\n"
      << "Good.Class\t{00000000-0000-0000-0000-000000000003}\t/lib with blank/g.ocx\n";
  ASSERT_EQ(RegisteredClasses().size(), 1u);
  EXPECT_EQ(FindClass("Good.Class")->library, "/lib with blank/g.ocx");
  EXPECT_NE(RegisterClassEntry({"Bad\tName", kOther, "/x.ocx"}), "");
  EXPECT_NE(RegisterClassEntry({"Bad.Path", kOther, "/x\n.ocx"}), "");
  EXPECT_NE(RegisterClassEntry({"", kOther, "/x.ocx"}), "");
  // A change keeps what could be read.
  EXPECT_EQ(RegisterClassEntry({"Other.Thing", kOther, "/o.ocx"}), "");
  EXPECT_EQ(RegisteredClasses().size(), 2u);
  std::filesystem::remove(file);
}
