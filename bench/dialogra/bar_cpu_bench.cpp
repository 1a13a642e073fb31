// The processor time a running bar takes at rest, studying or paused: runs
// the bar as the program does, with a fresh settings store, lets the intro
// pass, measures for a while (default 60 s; --seconds=N) and reports its
// average use of one core. Run it on a real display, as a user has one:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bench/bar_cpu_bench [--paused] [--seconds=60]
// Goal: studying under 0.5 %, paused under 0.2 %.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "form1.h"
#include "forms/forms.h"
#include "lessons/lessons.h"

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  int seconds = 60;
  bool paused = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--seconds=", 10) == 0) seconds = std::atoi(argv[i] + 10);
    if (std::strcmp(argv[i], "--paused") == 0) paused = true;
  }
  QTemporaryDir home;
  QDir().mkpath(home.filePath("runtime"));
  QFile::setPermissions(home.filePath("runtime"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  setenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit().constData(), 1);
  setenv("XDG_RUNTIME_DIR", home.filePath("runtime").toLocal8Bit().constData(), 1);
  setenv("TAVRINEL_PROGRAM_DIR", TAVRINEL_BIN_DIR_BUILT, 1);
  setenv("TAVRINEL_SYSTEM_DIR", TAVRINEL_BIN_DIR_BUILT "/system", 1);
  setenv("TAVRINEL_AUDIO", "none", 1);

  double start = 0;
  return forms::RunProgram(argc, argv, [&]() -> forms::Form& {
    forms::App::SetTitle("Dialogra");
    forms::RegisterStringTable(lessons::Strings());
    auto& bar = forms::Forms::Get<dialogra::Form1>();
    // The intro (splash, welcome line, the character's entrance) is not the
    // steady state: it is over after about 5 s.
    QTimer::singleShot(6000, [&bar, &start, paused] {
      if (paused) bar.Image2_Click(1);
      start = CpuSeconds();
    });
    QTimer::singleShot(6000 + seconds * 1000, [&start, seconds, paused] {
      const double used = CpuSeconds() - start;
      std::printf("bar %s for %d s: %.2f s of processor time, %.2f %% of one core\n",
                  paused ? "paused" : "studying", seconds, used, 100.0 * used / seconds);
      QCoreApplication::exit(0);
    });
    return bar;
  });
}
