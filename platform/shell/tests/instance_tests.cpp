// The single-instance lock: only a lock held by a running copy means another
// copy; a lock that cannot be opened moves to a private place or is done
// without, and never reads as "another copy runs".

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include "shell/instance.h"
#include "testsupport/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Points every place the lock may go into a private folder of the test.
class InstanceLockTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "runtime");
    fs::permissions(dir_ / "runtime", fs::perms::owner_all);
    Set("XDG_RUNTIME_DIR", dir_ / "runtime");
    Set("XDG_CACHE_HOME", dir_ / "cache");
    Set("TMPDIR", dir_ / "tmp");
    fs::create_directories(dir_ / "tmp");
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name.c_str(), value->c_str(), 1);
      else
        unsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, const fs::path& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    setenv(name.c_str(), value.c_str(), 1);
  }
  static void PutFile(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "in the way";
  }

  testsupport::TempDir dir_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(InstanceLockTest, OnlyALockHeldByARunningCopyMeansAnotherCopy) {
  std::optional<shell::InstanceLock> first;
  first.emplace("Dialogra");
  EXPECT_TRUE(first->First());
  EXPECT_TRUE(first->Protected());
  EXPECT_EQ(first->Problem(), "");
  EXPECT_TRUE(fs::exists(dir_ / "runtime" / "tavrinel" / "Dialogra.lock"));
  {
    const shell::InstanceLock second("Dialogra");
    EXPECT_FALSE(second.First());
    const shell::InstanceLock other("Vocabra");
    EXPECT_TRUE(other.First());
  }
  // A lock left behind by a copy that ended (or was killed) is free again.
  first.reset();
  const shell::InstanceLock again("Dialogra");
  EXPECT_TRUE(again.First());
}

TEST_F(InstanceLockTest, ALockThatCannotBeOpenedMovesToAPrivatePlaceAndIsToldOnce) {
  struct Case {
    const char* name;
    std::function<void()> spoil;
    const char* told;
  };
  const fs::path runtime = dir_ / "runtime";
  const std::vector<Case> cases = {
      {"the run-time folder is a file", [&] { PutFile(runtime / "tavrinel"); }, "is not a folder"},
      {"the lock is a folder",
       [&] { fs::create_directories(runtime / "tavrinel" / "Dialogra.lock"); },
       "cannot open the lock"},
      {"the run-time folder belongs to another user",
       [&] {
         fs::create_directories(runtime / "tavrinel");
         ASSERT_EQ(::chown((runtime / "tavrinel").c_str(), geteuid() + 1, getegid()), 0);
       },
       "belongs to another user"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(runtime / "tavrinel");
    fs::remove_all(dir_ / "cache");
    // Giving a folder away takes the superuser (as on CI).
    if (std::string(c.told) == "belongs to another user" && geteuid() != 0) continue;
    c.spoil();

    testing::internal::CaptureStderr();
    const shell::InstanceLock first("Dialogra");
    const std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(first.First());
    EXPECT_TRUE(first.Protected());
    EXPECT_NE(first.Problem().find(c.told), std::string::npos) << first.Problem();
    EXPECT_NE(first.Problem().find((dir_ / "cache" / "tavrinel" / "run").string()),
              std::string::npos)
        << first.Problem();
    EXPECT_EQ(logged, "Tavrinel: " + first.Problem() + "\n");
    EXPECT_TRUE(fs::exists(dir_ / "cache" / "tavrinel" / "run" / "Dialogra.lock"));
    // Every copy takes the same way, so one instance it stays.
    const shell::InstanceLock second("Dialogra");
    EXPECT_FALSE(second.First());
  }
}

TEST_F(InstanceLockTest, WithNoPlaceForTheLockTheProgramStillRuns) {
  PutFile(dir_ / "runtime" / "tavrinel");
  PutFile(dir_ / "cache" / "tavrinel");
  PutFile(dir_ / "tmp" / ("tavrinel-" + std::to_string(geteuid())));
  testing::internal::CaptureStderr();
  const shell::InstanceLock first("Dialogra");
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(first.First());
  EXPECT_FALSE(first.Protected());
  EXPECT_NE(first.Problem().find("will not be stopped"), std::string::npos) << first.Problem();
  testing::internal::CaptureStderr();
  const shell::InstanceLock second("Dialogra");
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(second.First());
}

TEST_F(InstanceLockTest, ActivationFindsTheFirstCopyWhereverItsLockWent) {
  fs::create_directories(dir_ / "runtime" / "tavrinel" / "Dialogra.lock");
  testing::internal::CaptureStderr();
  const shell::InstanceLock lock("Dialogra");
  testing::internal::GetCapturedStderr();
  ASSERT_TRUE(lock.First());
  std::string asked;
  const shell::ActivationListener listener("Dialogra", [&](const std::string& title) {
    asked = title;
    return title == "Dialogra";
  });
  auto answer = std::async(std::launch::async,
                           [] { return shell::RequestActivation("Dialogra", "Dialogra", 5000); });
  while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
    QCoreApplication::processEvents();
  EXPECT_TRUE(answer.get());
  EXPECT_EQ(asked, "Dialogra");
}

TEST(ProgramIdentity, IsTheRealFileNameOfTheProgram) {
  EXPECT_EQ(shell::ProgramIdentity(), "shell_instance_tests");
}

}  // namespace
