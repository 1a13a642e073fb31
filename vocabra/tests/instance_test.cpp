// One word window per user: a second start ends at once, the first stays.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "testsupport/temp_dir.h"

TEST(Instance, ASecondStartEndsAtOnceAndTheFirstStays) {
  testsupport::TempDir home;
  std::filesystem::create_directories(home / "runtime");
  std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString((home / "runtime").string()));
  env.insert("TAVRINEL_AUDIO", "none");
  env.remove("TAVRINEL_PROGRAM_DIR");
  env.remove("TAVRINEL_SYSTEM_DIR");
  const QString program = QString::fromStdString((testsupport::BinDir() / "Vocabra").string());

  QProcess first;
  first.setProcessEnvironment(env);
  first.start(program, {});
  ASSERT_TRUE(first.waitForStarted(5000));
  // Give the first copy time to take its lock and start listening.
  first.waitForFinished(1500);
  ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();

  QProcess second;
  second.setProcessEnvironment(env);
  second.start(program, {});
  ASSERT_TRUE(second.waitForFinished(8000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished(3000);
}
