// The settings both trainers share: first run, key spelling, damaged values.

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

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

TEST_F(Options, FirstRunWritesBothTrainersDefaultsInOrderAndOnlyOnce) {
  ASSERT_TRUE(FirstRunBlock());
  EXPECT_EQ(KeysInOrder(),
            (std::vector<std::string>{"ctimeword",   "ssaveword", "guageword", "markword", "xxx",
                                      "winleftword", "ontopword", "ce",        "n",        "ctime",
                                      "etime",       "rd",        "psave",     "ssave",    "visi",
                                      "voice",       "twovoice",  "guage",     "guagen",   "agent",
                                      "red",         "mark",      "left"}));
  EXPECT_EQ(ReadSetting("ctimeword"), "7");
  EXPECT_EQ(ReadSetting("guagen"), "11000");
  EXPECT_EQ(ReadSetting("winleftword"), SingleText(forms::Screen::Width() / 2 - 2000));
  EXPECT_EQ(ReadSetting("left"), SingleText(forms::Screen::Width() / 2 - 3000));

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
}
