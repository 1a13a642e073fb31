// What a running word trainer costs while it steps through its words: starts
// the real program headless with a fresh settings store, lets it run
// (default 60 s; --seconds=N), and reports its average use of one core and
// its resident memory.
//   build/bench/word_trainer_bench [--seconds=60] [--visible]
//   (goals: under 1 % of one core, under 60 MB resident)

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "program_usage.h"

int main(int argc, char** argv) {
  using namespace benchsupport;
  QCoreApplication app(argc, argv);
  const RunOptions options = ParseRunOptions(argc, argv);
  QTemporaryDir home;
  QProcess trainer;
  if (!StartFresh(trainer, home, QStringLiteral(TAVRINEL_BIN_DIR_BUILT "/Vocabra"),
                  options.visible)) {
    std::fprintf(stderr, "Vocabra did not start\n");
    return 1;
  }
  // The start-up (the character, the word book) is not the steady state.
  QThread::sleep(3);
  const qint64 pid = trainer.processId();
  const double before = CpuSeconds(pid);
  QThread::sleep(static_cast<unsigned long>(options.seconds));
  const double after = CpuSeconds(pid);
  const long rss = StatusKb(pid, "VmRSS:");
  const long peak = StatusKb(pid, "VmHWM:");
  trainer.kill();
  trainer.waitForFinished(3000);
  if (before < 0 || after < 0 || rss < 0) {
    std::fprintf(stderr, "could not read the word trainer's processor time or memory\n");
    return 1;
  }
  std::printf("word trainer for %d s: %.2f s of processor time, %.2f %% of one core\n",
              options.seconds, after - before, 100.0 * (after - before) / options.seconds);
  std::printf("resident memory: %.1f MB (peak %.1f MB)\n", rss / 1024.0, peak / 1024.0);
  return 0;
}
