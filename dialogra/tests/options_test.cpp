// The settings both trainers share: first run, key spelling, damaged values.

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "forms/app.h"
#include "forms/settings.h"
#include "options.h"
#include "testsupport/temp_dir.h"

using namespace dialogra;

namespace {

std::string StoreText() {
  std::ifstream in(forms::SettingsStore::DefaultPath());
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> KeysInOrder() {
  std::vector<std::string> keys;
  std::istringstream in(StoreText());
  for (std::string line; std::getline(in, line);)
    if (auto eq = line.find('='); eq != std::string::npos && line[0] != '#')
      keys.push_back(line.substr(0, eq));
  return keys;
}

// Each test starts from an empty settings store of its own.
class Options : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1); }
  testsupport::TempDir home;
};

}  // namespace

TEST_F(Options, TheFirstRunBlockIsOneReplacementOfTheStore) {
  // Every write of the store renames a new file over it; the block must be
  // one, so that a kill in its middle leaves all of it or none.
  const auto folder = forms::SettingsStore::DefaultPath().parent_path();
  std::filesystem::create_directories(folder);
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, folder.c_str(), IN_MOVED_TO), 0);
  ASSERT_TRUE(FirstRunBlock());
  int replacements = 0;
  alignas(inotify_event) char events[8192];
  for (ssize_t n; (n = read(watch, events, sizeof events)) > 0;) {
    for (char* p = events; p < events + n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(p);
      if (event->len && std::string(event->name) == "settings.conf") ++replacements;
      p += sizeof(inotify_event) + event->len;
    }
  }
  close(watch);
  EXPECT_EQ(replacements, 1);
  EXPECT_EQ(KeysInOrder().size(), 23u);
}

// A number of twips as the store keeps it, written out by hand here so that
// the check does not lean on the code's own formatter.
static std::string TwipsText(double twips) {
  const auto whole = static_cast<long>(twips);
  return std::to_string(whole) + (twips != static_cast<double>(whole) ? ".5" : "");
}

TEST_F(Options, FirstRunWritesBothTrainersDefaultsInOrderAndOnlyOnce) {
  ASSERT_TRUE(FirstRunBlock());
  const double width = forms::Screen::Width();
  const std::vector<std::pair<std::string, std::string>> table = {
      {"ctimeword", "7"},
      {"ssaveword", "1"},
      {"guageword", "1"},
      {"markword", "0"},
      {"xxx", "1"},
      {"winleftword", TwipsText(width / 2 - 2000)},
      {"ontopword", "1"},
      {"ce", "0"},
      {"n", "1"},
      {"ctime", "3"},
      {"etime", "5"},
      {"rd", "1"},
      {"psave", "1"},
      {"ssave", "1"},
      {"visi", "0"},
      {"voice", "1"},
      {"twovoice", "1"},
      {"guage", "1"},
      {"guagen", "11000"},
      {"agent", "Merlin"},
      {"red", "0"},
      {"mark", "1"},
      {"left", TwipsText(width / 2 - 3000)},
  };
  std::vector<std::string> keys;
  for (const auto& [key, value] : table) {
    keys.push_back(key);
    EXPECT_EQ(ReadSetting(key), value) << key;
  }
  EXPECT_EQ(KeysInOrder(), keys);

  const auto path = forms::SettingsStore::DefaultPath();
  const std::string before = StoreText();
  const auto stamp = std::filesystem::last_write_time(path);
  EXPECT_FALSE(FirstRunBlock());
  EXPECT_EQ(StoreText(), before);
  EXPECT_EQ(std::filesystem::last_write_time(path), stamp);

  Module m;
  ReadOptions(m);
  EXPECT_EQ(m.ce, 0);
  EXPECT_EQ(m.PlayTimes, 1);
  EXPECT_EQ(m.ctime, 3);
  EXPECT_EQ(m.etime, 5);
  EXPECT_EQ(m.rd, 1);
  EXPECT_EQ(m.LessonIndex, 1);
  EXPECT_EQ(m.guagen, 11000);
  EXPECT_EQ(m.AgentName, "Merlin");
  EXPECT_EQ(m.FirstRunMark, "1");
}

TEST_F(Options, AgentAndAgentAreOneKey) {
  FirstRunBlock();
  WriteSetting("Agent", "Volpina");
  EXPECT_EQ(ReadSetting("agent"), "Volpina");
  WriteSetting("agent", "Gufo");
  EXPECT_EQ(ReadSetting("Agent", "Merlin"), "Gufo");
  // One line in the store, under the spelling the first run gave it.
  auto keys = KeysInOrder();
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "agent"), 1);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "Agent"), 0);
}

TEST_F(Options, ADamagedOrMissingValueFallsBackToItsFirstRunDefault) {
  FirstRunBlock();
  WriteSetting("ctime", "three");
  WriteSetting("n", "");
  WriteSetting("guagen", "99999");  // past a 16-bit integer
  WriteSetting("etime", " 7 ");
  WriteSetting("left", "x1");
  WriteSetting("agent", "");
  Module m;
  ReadOptions(m);
  EXPECT_EQ(m.ctime, 3);
  EXPECT_EQ(m.PlayTimes, 1);
  EXPECT_EQ(m.guagen, 11000);
  EXPECT_EQ(m.etime, 7);
  EXPECT_EQ(m.AgentName, "Merlin");
  EXPECT_FLOAT_EQ(ReadSingle("left"), forms::Screen::Width() / 2 - 3000);
  // Whole numbers round as the runtime rounds them.
  WriteSetting("ce", "0.5");
  WriteSetting("rd", "1.5");
  ReadOptions(m);
  EXPECT_EQ(m.ce, 0);
  EXPECT_EQ(m.rd, 2);
}

TEST_F(Options, SinglesPrintAsTheStoreKeepsThem) {
  EXPECT_EQ(SingleText(6600.0f), "6600");
  EXPECT_EQ(SingleText(10237.5f), "10237.5");
  EXPECT_EQ(SingleText(-250.0f), "-250");
  EXPECT_EQ(SingleText(1234567.0f), "1234567");
  EXPECT_EQ(SingleText(0.1f), "0.1");
}

// The desktop's locale reaches the program through Qt; a decimal comma there
// must change nothing in the store.
class CommaLocale : public Options {
 protected:
  void SetUp() override {
    Options::SetUp();
    setenv("LOCPATH", TAVRINEL_TEST_LOCPATH, 1);
    ASSERT_NE(std::setlocale(LC_ALL, "it_IT.UTF-8"), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
  }
};

TEST_F(CommaLocale, NumbersAreWrittenAndReadWithAPoint) {
  EXPECT_EQ(SingleText(7237.5f), "7237.5");
  FirstRunBlock();
  EXPECT_EQ(ReadSetting("left").find(','), std::string::npos);
  WriteSetting("left", "3000.5");
  EXPECT_FLOAT_EQ(ReadSingle("left"), 3000.5f);
  WriteSetting("left", "x1");
  EXPECT_FLOAT_EQ(ReadSingle("left"), forms::Screen::Width() / 2 - 3000);
}

TEST_F(Options, APositionAnEarlierBuildWroteWithACommaKeepsItsPlace) {
  FirstRunBlock();
  WriteSetting("left", "3000,5");
  EXPECT_FLOAT_EQ(ReadSingle("left"), 3000.5f);
  WriteSetting("left", "1,000,5");
  EXPECT_FLOAT_EQ(ReadSingle("left"), forms::Screen::Width() / 2 - 3000);
}
