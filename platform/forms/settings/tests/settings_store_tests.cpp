#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "forms/settings.h"
#include "settings_document.h"
#include "settings_file.h"
#include "settings_test_files.h"
#include "testsupport/temp_dir.h"

namespace forms {
namespace {

using settings_test::ReadAll;
using settings_test::WriteAll;

constexpr std::string_view kApp = "Tesk";
constexpr std::string_view kSection = "Orvanta7";

// Sets an environment variable for one test and puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class SettingsStoreTest : public testing::Test {
 protected:
  testsupport::TempDir dir_;
  // A folder that does not exist yet: the first write makes it.
  std::filesystem::path file_ = dir_ / "config" / "Tavrinel" / "settings.conf";
  SettingsStore store_{file_};
};

TEST_F(SettingsStoreTest, AwkwardValuesRoundTripExactlyThroughTheFile) {
  const std::vector<std::string> values = {
      "",
      " ",
      "  lead",
      "trail  ",
      "a=b",
      "\"quoted\"",
      "it's",
      "back\\slash",
      "two\nlines",
      "crlf\r\n",
      "\ttabs\t",
      "perché città",
      "\xF0\x9F\x98\x80",
      "[x]",
      "# not a comment",
      std::string("nul\0byte", 8),
      "bad \xFF utf8",
      "11000",
  };
  for (std::size_t i = 0; i < values.size(); ++i) {
    ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "k" + std::to_string(i), values[i]));
  }
  ASSERT_TRUE(store_.SaveSetting("App \\ [odd]", " Section ", " key = x ", "v"));

  const SettingsStore again(file_);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(again.GetSetting(kApp, kSection, "k" + std::to_string(i), "absent"), values[i])
        << "value " << i;
  }
  EXPECT_EQ(again.GetSetting("app \\ [ODD]", " section ", " KEY = x "), "v");
  const std::string text = ReadAll(file_);
  EXPECT_TRUE(text.starts_with(settings_detail::kFormatLine));
  EXPECT_NE(text.find("\n[Tesk\\Orvanta7]\n"), std::string::npos);
  EXPECT_NE(text.find("\nk11=perché città\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, KeysIgnoreCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "agent", "Merlin"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "Agent"), "Merlin");
  EXPECT_EQ(store_.GetSetting("TESK", "orvanta7", "AGENT"), "Merlin");

  ASSERT_TRUE(store_.SaveSetting("tesk", "ORVANTA7", "Agent", "Genie"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "agent"), "Genie");
  const std::string text = ReadAll(file_);
  EXPECT_NE(text.find("\nagent=Genie\n"), std::string::npos);
  EXPECT_EQ(text.find("Agent"), std::string::npos);
  EXPECT_EQ(text.find("tesk"), std::string::npos);
}

TEST_F(SettingsStoreTest, FirstRunBlockOrderIsKeptAcrossLaterWrites) {
  const std::vector<std::pair<std::string, std::string>> block = {
      {"ctimeword", "7"}, {"ssaveword", "1"},      {"guageword", "1"},  {"markword", "0"},
      {"xxx", "1"},       {"winleftword", "5200"}, {"ontopword", "1"},  {"ce", "0"},
      {"n", "1"},         {"ctime", "3"},          {"etime", "5"},      {"rd", "1"},
      {"psave", "1"},     {"ssave", "1"},          {"visi", "0"},       {"voice", "1"},
      {"twovoice", "1"},  {"guage", "1"},          {"guagen", "11000"}, {"agent", "Merlin"},
      {"red", "0"},       {"mark", "1"},           {"left", "4200"}};
  for (const auto& [key, value] : block)
    ASSERT_TRUE(store_.SaveSetting(kApp, kSection, key, value));
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "Agent", "Peedy"));
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "AutoRead", "1"));
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "CTIMEWORD", "9"));

  std::string expected = std::string(settings_detail::kFormatLine) + "\n\n[Tesk\\Orvanta7]\n";
  for (const auto& [key, value] : block) {
    const std::string stored = key == "agent" ? "Peedy" : key == "ctimeword" ? "9" : value;
    expected += key + "=" + stored + "\n";
  }
  expected += "AutoRead=1\n";
  EXPECT_EQ(ReadAll(file_), expected);
}

TEST_F(SettingsStoreTest, AbsentKeysGiveTheDefaultOrEmptyText) {
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "xxx"), "");
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "Agent", "Merlin"), "Merlin");
  EXPECT_FALSE(std::filesystem::exists(file_.parent_path())) << "reading must not create files";

  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "xxx", "1"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "AutoRead", "0"), "0");
  EXPECT_EQ(store_.GetSetting(kApp, "OtherSection", "xxx"), "");
  EXPECT_EQ(store_.GetSetting("OtherApp", kSection, "xxx", "d"), "d");
  // A stored empty text is a value, not an absent key.
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "empty", ""));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "empty", "default"), "");
}

TEST_F(SettingsStoreTest, AFolderThatCannotBeMadeFailsTheWriteButNotTheReadAndIsToldOnce) {
  WriteAll(dir_ / "plain-file", "not a folder");
  const SettingsStore blocked(dir_ / "plain-file" / "Tavrinel" / "settings.conf");
  TakeSettingsNotices();
  testing::internal::CaptureStderr();
  for (int i = 0; i < 23; ++i) EXPECT_FALSE(blocked.SaveSetting(kApp, kSection, "n", "1"));
  const std::string logged = testing::internal::GetCapturedStderr();
  EXPECT_EQ(blocked.GetSetting(kApp, kSection, "n", "fallback"), "fallback");
  EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
  const auto notices = TakeSettingsNotices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("cannot be saved"), std::string::npos) << notices[0];
  EXPECT_NE(notices[0].find((dir_ / "plain-file").string()), std::string::npos) << notices[0];
}

TEST_F(SettingsStoreTest, AWriteThatCannotBeMadeKeepsTheOldValues) {
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "n", "1"));
  // A folder where the write's temporary file must go fails the write for
  // every user, the superuser too.
  std::filesystem::create_directories(file_.string() + ".tmp/inside");
  EXPECT_FALSE(store_.SaveSetting(kApp, kSection, "n", "2"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "1");
  EXPECT_EQ(SettingsStore(file_).GetSetting(kApp, kSection, "n"), "1");
}

TEST_F(SettingsStoreTest, AReadOnlyFolderFailsTheWriteAndKeepsTheOldValues) {
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "n", "1"));
  std::filesystem::permissions(
      file_.parent_path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_TRUE(settings_test::RunUnprivileged(dir_.path(), [&] {
    EXPECT_FALSE(store_.SaveSetting(kApp, kSection, "n", "2"));
    EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "1");
  }));
  std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_all);
}

TEST_F(SettingsStoreTest, SeveralValuesAreWrittenInOneStepInTheirOrder) {
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "n", "5"));
  const std::vector<SettingValue> block = {{"xxx", "1"}, {"N", "1"}, {"ce", "0"}, {"left", "4200"}};
  ASSERT_TRUE(store_.SaveSettings(kApp, kSection, block));
  EXPECT_EQ(ReadAll(file_), std::string(settings_detail::kFormatLine) +
                                "\n\n[Tesk\\Orvanta7]\nn=1\nxxx=1\nce=0\nleft=4200\n");
  // Nothing changed: no write at all (the file keeps its identity).
  const auto before = std::filesystem::last_write_time(file_);
  const auto inode = settings_detail::IdentityOf(file_)->inode;
  ASSERT_TRUE(store_.SaveSettings(kApp, kSection, block));
  EXPECT_EQ(std::filesystem::last_write_time(file_), before);
  EXPECT_EQ(settings_detail::IdentityOf(file_)->inode, inode);
}

TEST_F(SettingsStoreTest, ChangesByOthersAreSeenAtOnce) {
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "n", "1"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "1");
  // Another process's write (a new file renamed over the store).
  SettingsStore other(file_);
  ASSERT_TRUE(other.SaveSetting(kApp, kSection, "n", "2"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "2");
  // An editor that rewrites the file in place with the same length; its
  // time is set apart from the last read, as a later edit's would be.
  const std::string edited =
      std::string(settings_detail::kFormatLine) + "\n\n[Tesk\\Orvanta7]\nn=3\n";
  ASSERT_EQ(ReadAll(file_).size(), edited.size());
  std::ofstream(file_, std::ios::binary | std::ios::in | std::ios::out) << edited;
  std::filesystem::last_write_time(
      file_, std::filesystem::last_write_time(file_) + std::chrono::seconds(2));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "3");
  // A file removed reads as absent.
  std::filesystem::remove(file_);
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n", "gone"), "gone");
}

TEST_F(SettingsStoreTest, AStoreThatIsALinkStaysALink) {
  const auto dotfiles = dir_ / "dotfiles" / "tavrinel.conf";
  WriteAll(dotfiles, std::string(settings_detail::kFormatLine) + "\n\n[Tesk\\Orvanta7]\nn=4\n");
  std::filesystem::create_directories(file_.parent_path());
  std::filesystem::create_symlink("../../dotfiles/tavrinel.conf", file_);
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "4");
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "ce", "1"));
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  EXPECT_NE(ReadAll(dotfiles).find("\nce=1\n"), std::string::npos);
  EXPECT_EQ(SettingsStore(file_).GetSetting(kApp, kSection, "n"), "4");
  EXPECT_FALSE(std::filesystem::exists(dotfiles.string() + ".tmp"));

  // A link to a file not made yet: the write makes the file it names.
  std::filesystem::remove(dotfiles);
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "n", "6"));
  EXPECT_TRUE(std::filesystem::is_symlink(file_));
  EXPECT_EQ(SettingsStore(file_).GetSetting(kApp, kSection, "n"), "6");
  EXPECT_TRUE(std::filesystem::is_regular_file(dotfiles));
}

TEST(SettingsDefaultPath, FollowsXdgConfigHomeThenHome) {
  testsupport::TempDir dir;
  const ScopedEnv home("HOME", (dir / "home").c_str());
  {
    const ScopedEnv config("XDG_CONFIG_HOME", (dir / "xdg").c_str());
    EXPECT_EQ(SettingsStore::DefaultPath(), dir / "xdg" / "Tavrinel" / "settings.conf");
    ASSERT_TRUE(SaveSetting(kApp, kSection, "agent", "Merlin"));
    EXPECT_EQ(GetSetting(kApp, kSection, "Agent"), "Merlin");
    EXPECT_TRUE(std::filesystem::exists(dir / "xdg" / "Tavrinel" / "settings.conf"));
  }
  const std::filesystem::path underHome = dir / "home" / ".config" / "Tavrinel" / "settings.conf";
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/path"}) {
    const ScopedEnv config("XDG_CONFIG_HOME", unusable);
    EXPECT_EQ(SettingsStore::DefaultPath(), underHome);
  }
  const ScopedEnv config("XDG_CONFIG_HOME", "");
  EXPECT_EQ(GetSetting(kApp, kSection, "agent", "none"), "none");
}

}  // namespace
}  // namespace forms
