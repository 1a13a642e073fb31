// The skin controls at rest: the processor time of an idle form that carries
// the frame, three caption buttons and three push buttons, measured with
// getrusage over a few seconds of real time while the 10 ms polls run (goal:
// under 1 % of one core), and what one frame layout pass, a frame's first
// showing and one nine-slice button repaint cost.
//   build/bench/controls_bench [--seconds=3]   (QT_QPA_PLATFORM defaults to offscreen)

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <cstring>

#include "controls/controls.h"
#include "forms/app.h"
#include "forms/form.h"
#include "win/window.h"

namespace {

int g_seconds = 3;

class IdleForm : public forms::Form {
 public:
  IdleForm() : Form(":/bench/IdleForm.json") {}
  controls::xp_canvas& Frame() const { return Get<controls::xp_canvas>("xp_canvas1"); }
  controls::xpcmdbutton& Button() const { return Get<controls::xpcmdbutton>("xpcmdbutton1"); }
};

class OtherForm : public forms::Form {
 public:
  OtherForm() : Form(":/bench/OtherForm.json") {}
};

// User and system time of the whole process, in seconds.
double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for `ms` of real time.
void RunFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void Activate(forms::Form& form) {
  win::SetActiveWindow(form.hWnd());
  QElapsedTimer waited;
  waited.start();
  while (win::GetActiveWindow() != form.hWnd() && waited.elapsed() < 2000) {
    QApplication::processEvents();
    QThread::msleep(1);
  }
}

// What runs at rest: 0, the frame's deactivation poll (host active); 1, its
// activation poll (another form active); 2, the deactivation poll and the
// poll of a push button the pointer rests on.
enum class Scene { HostActive, HostInactive, PointerOnButton };

void BM_IdleFormCpu(benchmark::State& state) {
  const auto scene = static_cast<Scene>(state.range(0));
  IdleForm form;
  OtherForm other;
  form.Show();
  other.Show();
  Activate(scene == Scene::HostInactive ? static_cast<forms::Form&>(other) : form);
  // The focus passes through the frame to the form itself: leaving the frame
  // starts its polls, and with the host active the deactivation poll stays.
  if (scene != Scene::HostInactive) {
    win::SetFocus(form.Frame().hWnd());
    QApplication::processEvents();
    win::SetFocus(form.hWnd());
  }
  if (scene == Scene::PointerOnButton) {
    // The pointer rests on a button: its own poll keeps running too.
    win::POINT p{20, 10};
    win::ClientToScreen(form.Button().hWnd(), &p);
    win::SetCursorPos(p.x, p.y);
    win::SendMessageA(form.Button().hWnd(), win::WM_MOUSEMOVE, 0, win::MAKELPARAM(20, 10));
  }
  RunFor(300);  // the first ticks switch skins and stop what has nothing to watch
  for (auto _ : state) {
    const double cpu = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    RunFor(g_seconds * 1000);
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    state.SetIterationTime(seconds);
    state.counters["cpu_percent"] = 100.0 * (CpuSeconds() - cpu) / seconds;
  }
}
BENCHMARK(BM_IdleFormCpu)
    ->ArgName("scene")
    ->Arg(static_cast<int>(Scene::HostActive))
    ->Arg(static_cast<int>(Scene::HostInactive))
    ->Arg(static_cast<int>(Scene::PointerOnButton))
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_FrameLayoutPass(benchmark::State& state) {
  IdleForm form;
  form.Show();
  RunFor(50);
  for (auto _ : state) form.Frame().Fixed_Single(true);  // a setter that lays out
}
BENCHMARK(BM_FrameLayoutPass)->Unit(benchmark::kMicrosecond);

// A frame's whole set-up: the form loaded and shown, its first passes run.
void BM_FrameFirstShow(benchmark::State& state) {
  for (auto _ : state) {
    IdleForm form;
    form.Show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_FrameFirstShow)->Unit(benchmark::kMillisecond);

void BM_PushButtonRepaint(benchmark::State& state) {
  IdleForm form;
  form.Show();
  RunFor(50);
  for (auto _ : state) form.Button().State(0);  // nine pieces of the rest cell
}
BENCHMARK(BM_PushButtonRepaint)->Unit(benchmark::kMicrosecond);

// What each tick of a pointer poll asks of the window system.
void BM_PointerPosition(benchmark::State& state) {
  IdleForm form;
  form.Show();
  RunFor(50);
  const win::HWND button = form.Button().hWnd();
  for (auto _ : state) {
    win::POINT p;
    win::GetCursorPos(&p);
    win::ScreenToClient(button, &p);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_PointerPosition)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--seconds=", 10) == 0)
      g_seconds = std::max(1, std::atoi(argv[i] + 10));
  QApplication app(argc, argv);
  controls::Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
