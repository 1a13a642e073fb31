// The processor time a running bar takes while it studies: starts the real
// program headless with a fresh settings store, lets it run (default 60 s;
// --seconds=N), and reports its average use of one core.
//   build/bench/bar_cpu_bench [--seconds=60] [--visible]   (goal: under 2 %)

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "program_usage.h"

int main(int argc, char** argv) {
  using namespace benchsupport;
  QCoreApplication app(argc, argv);
  const RunOptions options = ParseRunOptions(argc, argv);
  QTemporaryDir home;
  QProcess bar;
  if (!StartFresh(bar, home, QStringLiteral(TAVRINEL_BIN_DIR_BUILT "/Dialogra"), options.visible)) {
    std::fprintf(stderr, "Dialogra did not start\n");
    return 1;
  }
  // The start-up (loading the character, the splash) is not the steady state.
  QThread::sleep(5);
  const double before = CpuSeconds(bar.processId());
  QThread::sleep(static_cast<unsigned long>(options.seconds));
  const double after = CpuSeconds(bar.processId());
  bar.kill();
  bar.waitForFinished(3000);
  if (before < 0 || after < 0) {
    std::fprintf(stderr, "could not read the bar's processor time\n");
    return 1;
  }
  std::printf("bar studying for %d s: %.2f s of processor time, %.2f %% of one core\n",
              options.seconds, after - before, 100.0 * (after - before) / options.seconds);
  return 0;
}
