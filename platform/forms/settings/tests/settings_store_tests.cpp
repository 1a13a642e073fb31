#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "forms/settings.h"
#include "settings_document.h"
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

TEST_F(SettingsStoreTest, AFolderThatCannotBeMadeFailsTheWriteButNotTheRead) {
  WriteAll(dir_ / "plain-file", "not a folder");
  const SettingsStore blocked(dir_ / "plain-file" / "Tavrinel" / "settings.conf");
  EXPECT_FALSE(blocked.SaveSetting(kApp, kSection, "n", "1"));
  EXPECT_EQ(blocked.GetSetting(kApp, kSection, "n", "fallback"), "fallback");
}

TEST_F(SettingsStoreTest, AReadOnlyFolderFailsTheWriteAndKeepsTheOldValues) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ASSERT_TRUE(store_.SaveSetting(kApp, kSection, "n", "1"));
  std::filesystem::permissions(
      file_.parent_path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(store_.SaveSetting(kApp, kSection, "n", "2"));
  EXPECT_EQ(store_.GetSetting(kApp, kSection, "n"), "1");
  std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_all);
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
