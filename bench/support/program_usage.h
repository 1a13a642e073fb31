#pragma once

// Measuring a running program of the program folder from outside: start it
// headless with a fresh settings store, then read its processor time and
// memory from /proc.

#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace benchsupport {

// The command line of the measuring programs: --seconds=N and --visible.
struct RunOptions {
  int seconds = 60;
  bool visible = false;
};

inline RunOptions ParseRunOptions(int argc, char** argv) {
  RunOptions o;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seconds=", 10) == 0) o.seconds = std::atoi(argv[i] + 10);
    if (std::strcmp(argv[i], "--visible") == 0) o.visible = true;
  }
  return o;
}

// Starts `program` with its settings and run-time files in `home`, without
// sound, and headless unless `visible`. False when it did not start.
inline bool StartFresh(QProcess& process, const QTemporaryDir& home, const QString& program,
                       bool visible) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!visible) env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", home.filePath("config"));
  QDir().mkpath(home.filePath("runtime"));
  env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
  env.insert("TAVRINEL_AUDIO", "none");
  process.setProcessEnvironment(env);
  process.start(program, {});
  return process.waitForStarted(5000);
}

// User and system time of a process, in seconds; -1 when it cannot be read.
inline double CpuSeconds(qint64 pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string skip;
  for (int i = 0; i < 11; ++i) fields >> skip;  // state ... cmajflt
  long utime = 0, stime = 0;
  fields >> utime >> stime;
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A "Vm...:" line of a process's status, in kB; -1 when it cannot be read.
inline long StatusKb(qint64 pid, const char* name) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);)
    if (line.rfind(name, 0) == 0) return std::atol(line.c_str() + std::strlen(name));
  return -1;
}

}  // namespace benchsupport
