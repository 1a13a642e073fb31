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
  // The program works on copies of the word books under `home`: a program
  // killed by the test must leave nothing behind in the build's program
  // folder (a word book it held open leaves its lock file).
  for (const char* book : {"dialog.ocx", "word.ocx", "reg.ocx"})
    if (std::filesystem::exists(BinDir() / book))
      std::filesystem::copy_file(BinDir() / book, home / book,
                                 std::filesystem::copy_options::skip_existing);
  env.insert("TAVRINEL_PROGRAM_DIR", QString::fromStdString(home.string()));
  env.insert("TAVRINEL_SYSTEM_DIR", QString::fromStdString((BinDir() / "system").string()));
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
