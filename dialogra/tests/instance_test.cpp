// One bar per user: a second start shows no window and ends, the first stays,
// whatever name the program is started by and wherever its lock has to go.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>

#include "testsupport/temp_dir.h"

namespace {

class Instance : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(home / "runtime");
    std::filesystem::create_directories(home / "tmp");
    std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", Text(home / "config"));
    env.insert("XDG_RUNTIME_DIR", Text(home / "runtime"));
    env.insert("XDG_CACHE_HOME", Text(home / "cache"));
    env.insert("TMPDIR", Text(home / "tmp"));
    env.insert("TAVRINEL_AUDIO", "none");
    env.remove("TAVRINEL_PROGRAM_DIR");
    env.remove("TAVRINEL_SYSTEM_DIR");
    env.remove("TAVRINEL_PROGRAM_NAME");
  }

  static QString Text(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

  // Starts the first copy and waits until it has taken its lock and runs.
  void StartFirst(const std::filesystem::path& program) {
    first.setProcessEnvironment(env);
    first.start(Text(program), {});
    ASSERT_TRUE(first.waitForStarted(5000));
    first.waitForFinished(1500);
    ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();
  }

  // A second copy must end by itself, cleanly, and leave the first running.
  void ExpectSecondEnds(const std::filesystem::path& program) {
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(Text(program), {});
    ASSERT_TRUE(second.waitForFinished(8000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
  }

  void TearDown() override {
    first.kill();
    first.waitForFinished(3000);
  }

  testsupport::TempDir home;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  QProcess first;
  const std::filesystem::path program = testsupport::BinDir() / "Dialogra";
};

}  // namespace

TEST_F(Instance, ASecondStartEndsAtOnceAndTheFirstStays) {
  StartFirst(program);
  ExpectSecondEnds(program);
}

TEST_F(Instance, AStartUnderAnotherNameIsStillASecondStart) {
  std::filesystem::create_symlink(program, home / "dialogra-link");
  StartFirst(program);
  ExpectSecondEnds(home / "dialogra-link");
  first.kill();
  first.waitForFinished(3000);
  // And the other way round.
  StartFirst(home / "dialogra-link");
  ExpectSecondEnds(program);
}

TEST_F(Instance, ALockThatCannotBeOpenedNeverEndsTheProgramAndIsToldOnce) {
  // The run-time folder of the suite is a file.
  std::ofstream(home / "runtime" / "tavrinel") << "in the way";
  StartFirst(program);
  ExpectSecondEnds(program);
  first.kill();
  first.waitForFinished(3000);
  const std::string said = first.readAllStandardError().toStdString();
  const std::string told = (home / "runtime" / "tavrinel").string() + " is not a folder";
  const auto at = said.find(told);
  ASSERT_NE(at, std::string::npos) << said;
  EXPECT_EQ(said.find(told, at + 1), std::string::npos) << said;
}
