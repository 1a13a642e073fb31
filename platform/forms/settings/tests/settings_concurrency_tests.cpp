#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "forms/settings.h"
#include "settings_document.h"
#include "settings_test_files.h"
#include "testsupport/seed.h"
#include "testsupport/temp_dir.h"

extern char** environ;

namespace forms {
namespace {

using settings_detail::ParseSettings;
using settings_test::Backups;
using settings_test::ReadAll;

std::filesystem::path WriterProgram() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "settings_store_writer";
}

// A writer process; killed and reaped at the latest when the object ends.
class Writer {
 public:
  Writer(const std::filesystem::path& store, const std::string& prefix, int count) {
    const std::string program = WriterProgram().string();
    const std::string file = store.string();
    const std::string n = std::to_string(count);
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(file.c_str()),
                               const_cast<char*>(prefix.c_str()), const_cast<char*>(n.c_str()),
                               nullptr};
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
  }
  ~Writer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  bool started() const { return pid_ > 0; }
  void Kill() { ::kill(pid_, SIGKILL); }
  // The wait status, once the process has ended.
  int Wait() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
};

TEST(SettingsConcurrency, FourProcessesWritingAtOnceLoseNoKey) {
  testsupport::TempDir dir;
  const auto file = dir / "settings.conf";
  constexpr int kWriters = 4;
  constexpr int kKeysEach = 250;
  std::vector<std::unique_ptr<Writer>> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.push_back(std::make_unique<Writer>(file, "w" + std::to_string(w) + "-", kKeysEach));
    ASSERT_TRUE(writers.back()->started());
  }
  for (auto& writer : writers) {
    const int status = writer->Wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }

  const auto parsed = ParseSettings(ReadAll(file));
  ASSERT_FALSE(parsed.damaged()) << parsed.problem;
  EXPECT_EQ(parsed.document.KeyCount(), static_cast<std::size_t>(kWriters * kKeysEach));
  const SettingsStore store(file);
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kKeysEach; ++i) {
      const std::string key = "w" + std::to_string(w) + "-" + std::to_string(i);
      ASSERT_EQ(store.GetSetting("TESK", "orvanta7", key), "value of " + key);
    }
  }
  EXPECT_TRUE(Backups(file).empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "settings.conf.tmp"));
}

TEST(SettingsConcurrency, AWriterKilledAtAnyMomentNeverLeavesAHalfWrittenStore) {
  testsupport::TempDir dir;
  const auto file = dir / "settings.conf";
  const SettingsStore store(file);
  ASSERT_TRUE(store.SaveSetting("Tesk", "Orvanta7", "xxx", "1"));

  const unsigned seed = testsupport::RandomSeed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> lifeMicros(0, 40000);
  int readsWhileWriting = 0;
  for (int round = 0; round < 40; ++round) {
    Writer writer(file, "k", 0);
    ASSERT_TRUE(writer.started());
    // Read the store the whole time the writer runs: every read must see a
    // complete file, old or new.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::microseconds(lifeMicros(random));
    do {
      const auto parsed = ParseSettings(ReadAll(file));
      ASSERT_FALSE(parsed.damaged()) << "round " << round << ": " << parsed.problem;
      ++readsWhileWriting;
    } while (std::chrono::steady_clock::now() < deadline);
    writer.Kill();
    const int status = writer.Wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own, status " << status;

    const auto parsed = ParseSettings(ReadAll(file));
    ASSERT_FALSE(parsed.damaged()) << "round " << round << ": " << parsed.problem;
    ASSERT_EQ(store.GetSetting("Tesk", "Orvanta7", "xxx"), "1") << "round " << round;
  }
  EXPECT_GT(readsWhileWriting, 0);
  EXPECT_TRUE(Backups(file).empty());
  // A killed writer's temporary file does not disturb the next one.
  ASSERT_TRUE(store.SaveSetting("Tesk", "Orvanta7", "after", "kills"));
  EXPECT_EQ(store.GetSetting("Tesk", "Orvanta7", "after"), "kills");
}

TEST(SettingsConcurrency, ABlockOfValuesIsAllThereOrNotAtAllWhateverTheMomentOfAKill) {
  testsupport::TempDir dir;
  const auto file = dir / "settings.conf";
  const unsigned seed = testsupport::RandomSeed();
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> lifeMicros(0, 20000);
  for (int round = 0; round < 30; ++round) {
    Writer writer(file, "b", -1);
    ASSERT_TRUE(writer.started());
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::microseconds(lifeMicros(random));
    while (std::chrono::steady_clock::now() < deadline) {
    }
    writer.Kill();
    writer.Wait();
    if (!std::filesystem::exists(file)) continue;  // killed before its first write
    const auto parsed = ParseSettings(ReadAll(file));
    ASSERT_FALSE(parsed.damaged()) << parsed.problem;
    ASSERT_EQ(parsed.document.KeyCount(), 23u) << "round " << round;
    const std::string* first = parsed.document.Find("Tesk", "Orvanta7", "b0");
    ASSERT_NE(first, nullptr);
    for (int i = 1; i < 23; ++i) {
      const std::string* value = parsed.document.Find("Tesk", "Orvanta7", "b" + std::to_string(i));
      ASSERT_NE(value, nullptr) << "b" << i << ", round " << round;
      EXPECT_EQ(*value, *first) << "b" << i << ", round " << round;
    }
  }
}

}  // namespace
}  // namespace forms
