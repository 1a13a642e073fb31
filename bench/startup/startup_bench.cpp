// What each program of the suite costs a user's machine, measured from
// outside as the machine sees it, beside a minimal Qt window built with it:
// the time from starting the process to its first window being mapped, its
// resident memory 10 s after start, and its processor time (and the X
// server's) over the 30 s after that. Figures are medians of alternating
// starts, reported as ratios to the minimal window, so that they hold from
// one machine to the next. Each program runs alone on a private Xvfb display,
// in a private home, without sound.
//   build/bench/startup_bench [--runs=7] [--cpu-runs=3] [--settle=10] [--cpu-seconds=30]
//                             [--display=490] [--wm] [--sound] [--programs=Dialogra,Reader]
//                             [--bin-dir=FOLDER]
// --bin-dir runs the programs of another program folder (a copy of an earlier
// build), so that a change is measured before and after under the same load.
// Goals: every first window within 1.5x of the minimal window; at rest,
// Dialogra studying under 0.5 % of a core, Vocabra stepping under 0.3 %,
// Lexipen, Reader and Dictionary idle under 0.05 %.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "child_process.h"
#include "private_display.h"
#include "program_usage.h"

namespace fs = std::filesystem;
using namespace startbench;
using benchsupport::CpuSeconds;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
  int runs = 7;
  int cpuRuns = 3;
  int settleSeconds = 10;
  int cpuSeconds = 30;
  int display = 490;
  bool windowManager = false;
  bool sound = false;
  std::string binDir = BENCH_BIN_DIR;
  std::vector<std::string> programs{"Dialogra", "Vocabra", "Lexipen", "Reader", "Dictionary"};
};

Options Parse(int argc, char** argv) {
  Options o;
  auto value = [](const char* arg, const char* name) -> const char* {
    const size_t n = std::strlen(name);
    return std::strncmp(arg, name, n) == 0 ? arg + n : nullptr;
  };
  for (int i = 1; i < argc; ++i) {
    if (auto v = value(argv[i], "--runs=")) o.runs = std::max(1, std::atoi(v));
    if (auto v = value(argv[i], "--cpu-runs=")) o.cpuRuns = std::max(0, std::atoi(v));
    if (auto v = value(argv[i], "--settle=")) o.settleSeconds = std::max(1, std::atoi(v));
    if (auto v = value(argv[i], "--cpu-seconds=")) o.cpuSeconds = std::max(1, std::atoi(v));
    if (auto v = value(argv[i], "--display=")) o.display = std::atoi(v);
    if (std::strcmp(argv[i], "--wm") == 0) o.windowManager = true;
    if (std::strcmp(argv[i], "--sound") == 0) o.sound = true;
    if (auto v = value(argv[i], "--bin-dir=")) o.binDir = v;
    if (auto v = value(argv[i], "--programs=")) {
      o.programs.clear();
      std::string list = v;
      for (size_t at = 0; at <= list.size();) {
        const size_t comma = std::min(list.find(',', at), list.size());
        if (comma > at) o.programs.push_back(list.substr(at, comma - at));
        at = comma + 1;
      }
    }
  }
  return o;
}

struct Program {
  Program(std::string n, std::string p, fs::path h)
      : name(std::move(n)), path(std::move(p)), home(std::move(h)) {}
  std::string name;
  std::string path;
  fs::path home;  // private HOME and XDG folders, kept across its starts
  std::vector<double> startMs;
  std::vector<double> residentMb;
  std::vector<double> cpuPercent;
  std::vector<double> serverCpuPercent;
};

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A fresh private home: settings, data, cache and run-time folders of their
// own, and the class registry naming this build's menu control library.
fs::path MakeHome(const fs::path& root, const std::string& name, const std::string& binDir) {
  const fs::path home = root / name;
  for (const char* sub : {"config", "data", "cache", "runtime"}) fs::create_directories(home / sub);
  chmod((home / "runtime").c_str(), 0700);
  Environment env = CurrentEnvironment();
  env["XDG_DATA_HOME"] = (home / "data").string();
  ChildProcess reg(BENCH_REGCONTROL, {binDir + "/Ornatek.ocx"}, env);
  while (reg.Running()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return home;
}

Environment ProgramEnvironment(const Program& p, const std::string& display, bool sound) {
  Environment env = CurrentEnvironment();
  env["DISPLAY"] = display;
  env["QT_QPA_PLATFORM"] = "xcb";
  env["HOME"] = p.home.string();
  env["XDG_CONFIG_HOME"] = (p.home / "config").string();
  env["XDG_DATA_HOME"] = (p.home / "data").string();
  env["XDG_CACHE_HOME"] = (p.home / "cache").string();
  env["XDG_RUNTIME_DIR"] = (p.home / "runtime").string();
  for (const char* leak : {"TAVRINEL_PROGRAM_DIR", "TAVRINEL_SYSTEM_DIR", "WAYLAND_DISPLAY"})
    env.erase(leak);
  if (!sound) env["TAVRINEL_AUDIO"] = "none";
  return env;
}

// Starts the program and returns the milliseconds to its first mapped
// top-level window, -1 when none came within 20 s.
double TimeToFirstWindow(Program& p, PrivateDisplay& display, bool sound) {
  MapWatcher watcher(display.name());
  if (!watcher.ok()) return -1;
  watcher.Drain();
  const auto env = ProgramEnvironment(p, display.name(), sound);
  const auto start = Clock::now();
  ChildProcess child(p.path, {}, env);
  if (child.pid() <= 0) return -1;
  if (!watcher.WaitForMap(start + std::chrono::seconds(20))) return -1;
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  // Let it finish its start before it is stopped, so that the next start
  // does not meet a half-written settings file.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return ms;
}

// Runs the program alone on its own display for settle + measured seconds.
void MeasureAtRest(Program& p, int displayNumber, const Options& o) {
  PrivateDisplay display(displayNumber, o.windowManager);
  if (!display.ok()) {
    std::fprintf(stderr, "Xvfb did not start on :%d\n", displayNumber);
    return;
  }
  ChildProcess child(p.path, {}, ProgramEnvironment(p, display.name(), o.sound));
  std::this_thread::sleep_for(std::chrono::seconds(o.settleSeconds));
  const long rss = benchsupport::StatusKb(child.pid(), "VmRSS:");
  const double cpu0 = CpuSeconds(child.pid());
  const double server0 = CpuSeconds(display.serverPid());
  std::this_thread::sleep_for(std::chrono::seconds(o.cpuSeconds));
  const double cpu1 = CpuSeconds(child.pid());
  const double server1 = CpuSeconds(display.serverPid());
  if (rss < 0 || cpu0 < 0 || cpu1 < 0) {
    std::fprintf(stderr, "%s ended before it was measured\n", p.name.c_str());
    return;
  }
  p.residentMb.push_back(rss / 1024.0);
  p.cpuPercent.push_back(100.0 * (cpu1 - cpu0) / o.cpuSeconds);
  p.serverCpuPercent.push_back(100.0 * (server1 - server0) / o.cpuSeconds);
}

void Report(const std::vector<Program>& programs, const Options& o) {
  const Program& base = programs.front();
  const double baseMs = Median(base.startMs), baseMb = Median(base.residentMb);
  std::printf(
      "\nmedians of %d starts (first window) and %d rests (memory after %d s, CPU over "
      "the next %d s)%s\n",
      o.runs, o.cpuRuns, o.settleSeconds, o.cpuSeconds,
      o.windowManager ? ", openbox" : ", no window manager");
  std::printf("%-12s %10s %7s %9s %7s %10s %10s\n", "program", "first ms", "x min", "RSS MB",
              "x min", "CPU %", "X srv %");
  for (const auto& p : programs) {
    const double ms = Median(p.startMs), mb = Median(p.residentMb);
    std::printf("%-12s %10.1f %7.2f %9.1f %7.2f %10.3f %10.3f\n", p.name.c_str(), ms,
                baseMs > 0 ? ms / baseMs : 0, mb, baseMb > 0 ? mb / baseMb : 0,
                Median(p.cpuPercent), Median(p.serverCpuPercent));
  }
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  char tmpl[] = "/tmp/startup_bench.XXXXXX";
  if (!mkdtemp(tmpl)) {
    std::perror("startup_bench: cannot make a temporary folder");
    return 1;
  }
  const fs::path root = tmpl;

  std::vector<Program> programs;
  programs.emplace_back("minimal", BENCH_MINIMAL_WINDOW, MakeHome(root, "minimal", o.binDir));
  for (const auto& name : o.programs) {
    const std::string path = o.binDir + "/" + name;
    if (access(path.c_str(), X_OK) != 0) {
      std::fprintf(stderr, "startup_bench: %s is not a program of %s\n", name.c_str(),
                   o.binDir.c_str());
      return 1;
    }
    programs.emplace_back(name, path, MakeHome(root, name, o.binDir));
  }

  {
    PrivateDisplay display(o.display, o.windowManager);
    if (!display.ok()) {
      std::fprintf(stderr, "startup_bench: Xvfb did not start on :%d\n", o.display);
      return 1;
    }
    // One start each to warm the file cache and write first-run settings,
    // then alternating starts: every program, then the minimal window again.
    for (auto& p : programs) TimeToFirstWindow(p, display, o.sound);
    for (int run = 0; run < o.runs; ++run) {
      for (auto& p : programs) {
        const double ms = TimeToFirstWindow(p, display, o.sound);
        if (ms < 0)
          std::fprintf(stderr, "%s showed no window within 20 s\n", p.name.c_str());
        else
          p.startMs.push_back(ms);
        std::printf("start %d %-12s %8.1f ms\n", run + 1, p.name.c_str(), ms);
        std::fflush(stdout);
      }
    }
  }

  // At rest: every program at once, each alone on a display of its own.
  for (int run = 0; run < o.cpuRuns; ++run) {
    std::vector<std::thread> rests;
    for (size_t i = 0; i < programs.size(); ++i)
      rests.emplace_back(MeasureAtRest, std::ref(programs[i]), o.display + 1 + static_cast<int>(i),
                         std::cref(o));
    for (auto& t : rests) t.join();
    for (const auto& p : programs)
      if (!p.cpuPercent.empty())
        std::printf("rest %d %-12s %7.1f MB %8.3f %% (X server %.3f %%)\n", run + 1, p.name.c_str(),
                    p.residentMb.back(), p.cpuPercent.back(), p.serverCpuPercent.back());
    std::fflush(stdout);
  }

  Report(programs, o);
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}
