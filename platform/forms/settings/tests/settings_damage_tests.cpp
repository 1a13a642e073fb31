#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "forms/settings.h"
#include "settings_document.h"
#include "settings_test_files.h"
#include "testsupport/temp_dir.h"

namespace forms {
namespace {

using settings_detail::kFormatLine;
using settings_detail::ParseSettings;
using settings_test::Backups;
using settings_test::ReadAll;
using settings_test::WriteAll;

constexpr std::string_view kApp = "Tesk";
constexpr std::string_view kSection = "Orvanta7";

std::string GoodFile() {
  return std::string(kFormatLine) + "\n\n[Tesk\\Orvanta7]\nce=0\nn=1\nctime=3\n";
}

struct Damage {
  const char* name;
  std::string bytes;
  bool readableLinesCarriedOver;  // ce and n survive the next write
};

std::vector<Damage> Damages() {
  const std::string good = GoodFile();
  std::string garbage(600, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i) {
    garbage[i] = static_cast<char>((i * 167 + 13) % 256);
  }
  return {
      {"garbage bytes", garbage, false},
      {"truncated mid-line", good.substr(0, good.size() - 3), true},
      {"no header, written by hand", "[Tesk\\Orvanta7]\nce=0\nn=1\n", true},
      {"invalid UTF-8", good + "agent=M\xE9rlin\n", true},
      {"a line that is no key", good + "<html>\n", true},
  };
}

class SettingsDamageTest : public testing::Test {
 protected:
  // The notices are queued for the whole process: a case counts only its own.
  void SetUp() override { TakeSettingsNotices(); }

  testsupport::TempDir dir_;
  std::filesystem::path file_ = dir_ / "settings.conf";
  SettingsStore store_{file_};
};

TEST_F(SettingsDamageTest, EveryLineThatStillReadsIsUsedAndTheDamageIsKeptAndToldOnce) {
  for (const auto& damage : Damages()) {
    SCOPED_TRACE(damage.name);
    for (const auto& old : Backups(file_)) std::filesystem::remove(old);
    WriteAll(file_, damage.bytes);
    TakeSettingsNotices();

    const std::string salvaged = damage.readableLinesCarriedOver ? "1" : "default";
    EXPECT_EQ(store_.GetSetting(kApp, kSection, "n", "default"), salvaged);
    EXPECT_EQ(store_.GetSetting(kApp, kSection, "ce", "default"),
              damage.readableLinesCarriedOver ? "0" : "default");
    // Reading again keeps no second copy of the same damage.
    ASSERT_EQ(Backups(file_).size(), 1u);
    EXPECT_EQ(ReadAll(Backups(file_)[0]), damage.bytes);
    EXPECT_EQ(ReadAll(file_), damage.bytes) << "reading must not change the store";
    // The user hears of it once, with the file, what was kept and the copy.
    const auto notices = TakeSettingsNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(file_.string() + " was damaged"), std::string::npos) << notices[0];
    EXPECT_NE(notices[0].find("kept as " + Backups(file_)[0].string()), std::string::npos);
    EXPECT_NE(notices[0].find(damage.readableLinesCarriedOver ? "settings that could still be read"
                                                              : "None of its settings"),
              std::string::npos)
        << notices[0];

    ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "agent", "Merlin"));
    const std::string repaired = ReadAll(file_);
    EXPECT_FALSE(ParseSettings(repaired).damaged()) << repaired;
    EXPECT_EQ(store_.GetSetting(kApp, kSection, "Agent"), "Merlin");
    EXPECT_EQ(store_.GetSetting(kApp, kSection, "n", "default"), salvaged);
    EXPECT_EQ(Backups(file_).size(), 1u);
    EXPECT_TRUE(TakeSettingsNotices().empty());
  }
}

TEST_F(SettingsDamageTest, AFileCutShortInItsLastLineKeepsTheUsersOptions) {
  const std::string options = std::string(kFormatLine) +
                              "\n\n[Tesk\\Orvanta7]\nxxx=1\nce=1\nn=5\nguage=7\nagent=Gufo\n"
                              "left=4200\n";
  WriteAll(file_, options.substr(0, options.size() - 3));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "xxx"), "1");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "ce"), "1");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "5");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "guage"), "7");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "Agent"), "Gufo");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "left", "absent"), "absent");
  const auto notices = TakeSettingsNotices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("The 5 settings that could still be read were kept"), std::string::npos)
      << notices[0];
}

TEST_F(SettingsDamageTest, AWriteWithoutAnEarlierReadStillKeepsTheDamagedFile) {
  WriteAll(file_, "\x01\x02 not settings at all");
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "xxx", "1"));
  ASSERT_EQ(Backups(file_).size(), 1u);
  EXPECT_EQ(ReadAll(Backups(file_)[0]), "\x01\x02 not settings at all");

  // A second, different damage in the same second gets a copy of its own.
  WriteAll(file_, "\x03 other damage");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "xxx"), "");
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "xxx", "1"));
  ASSERT_EQ(Backups(file_).size(), 2u);
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "xxx"), "1");
}

TEST_F(SettingsDamageTest, AFolderInPlaceOfTheFileIsMovedAsideByTheNextWrite) {
  std::filesystem::create_directories(file_);
  WriteAll(file_ / "inside.txt", "kept");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "Agent", "Merlin"), "Merlin");

  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "Agent", "Genie"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "agent"), "Genie");
  EXPECT_TRUE(std::filesystem::is_regular_file(file_));
  const auto backups = Backups(file_);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(ReadAll(backups[0] / "inside.txt"), "kept");
}

TEST_F(SettingsDamageTest, AnUnreadableFileReadsAsEmptyAndIsMovedAsideByTheNextWrite) {
  WriteAll(file_, GoodFile());
  ASSERT_EQ(::chmod(file_.c_str(), 0), 0);
  EXPECT_TRUE(settings_test::RunUnprivileged(dir_.path(), [&] {
    EXPECT_EQ(store_.GetSetting(kApp, kSection, "n", "default"), "default");

    ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "n", "2"));
    EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "2");
    const auto backups = Backups(file_);
    ASSERT_EQ(backups.size(), 1u);
    ASSERT_EQ(::chmod(backups[0].c_str(), 0600), 0);
    EXPECT_EQ(ReadAll(backups[0]), GoodFile());
    const auto notices = TakeSettingsNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("kept as " + backups[0].string()), std::string::npos);
  }));
}

}  // namespace
}  // namespace forms
