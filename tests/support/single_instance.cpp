#include "testsupport/single_instance.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "testsupport/temp_dir.h"

namespace testsupport {

QProcessEnvironment ProgramEnvironment(const std::filesystem::path& home) {
  std::filesystem::create_directories(home / "runtime");
  std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", QString::fromStdString((home / "config").string()));
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString((home / "runtime").string()));
  env.insert("TAVRINEL_AUDIO", "none");
  env.remove("TAVRINEL_PROGRAM_DIR");
  env.remove("TAVRINEL_SYSTEM_DIR");
  env.remove("TAVRINEL_PROGRAM_NAME");
  return env;
}

void ExpectASecondStartToEndAtOnce(const std::string& program) {
  TempDir home;
  const QProcessEnvironment env = ProgramEnvironment(home.path());
  const QString path = QString::fromStdString((BinDir() / program).string());

  QProcess first;
  first.setProcessEnvironment(env);
  first.start(path, {});
  ASSERT_TRUE(first.waitForStarted(5000)) << program;
  // Give the first copy time to take its lock and start listening.
  first.waitForFinished(1500);
  ASSERT_EQ(first.state(), QProcess::Running) << first.readAllStandardError().toStdString();

  QProcess second;
  second.setProcessEnvironment(env);
  second.start(path, {});
  EXPECT_TRUE(second.waitForFinished(8000)) << program;
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);

  second.kill();
  second.waitForFinished(3000);
  first.kill();
  first.waitForFinished(3000);
}

}  // namespace testsupport
