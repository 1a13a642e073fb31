// The processor time a running bar takes while it studies: starts the real
// program headless with a fresh settings store, lets it run (default 60 s;
// --seconds=N), and reports its average use of one core.
//   build/bench/bar_cpu_bench [--seconds=60] [--visible]   (goal: under 2 %)

#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// User and system time of a process, in seconds.
double CpuSeconds(qint64 pid) {
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

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  int seconds = 60;
  bool visible = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seconds=", 10) == 0) seconds = std::atoi(argv[i] + 10);
    if (std::strcmp(argv[i], "--visible") == 0) visible = true;
  }
  QTemporaryDir home;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!visible) env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_CONFIG_HOME", home.filePath("config"));
  QDir().mkpath(home.filePath("runtime"));
  env.insert("XDG_RUNTIME_DIR", home.filePath("runtime"));
  env.insert("TAVRINEL_AUDIO", "none");
  QProcess bar;
  bar.setProcessEnvironment(env);
  bar.start(QStringLiteral(TAVRINEL_BIN_DIR_BUILT "/Dialogra"), {});
  if (!bar.waitForStarted(5000)) {
    std::fprintf(stderr, "Dialogra did not start\n");
    return 1;
  }
  // The start-up (loading the character, the splash) is not the steady state.
  QThread::sleep(5);
  const double before = CpuSeconds(bar.processId());
  QThread::sleep(static_cast<unsigned long>(seconds));
  const double after = CpuSeconds(bar.processId());
  bar.kill();
  bar.waitForFinished(3000);
  if (before < 0 || after < 0) {
    std::fprintf(stderr, "could not read the bar's processor time\n");
    return 1;
  }
  std::printf("bar studying for %d s: %.2f s of processor time, %.2f %% of one core\n", seconds,
              after - before, 100.0 * (after - before) / seconds);
  return 0;
}
