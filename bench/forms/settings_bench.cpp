// One settings read and one settings write on a store of the size the
// suite keeps (about thirty keys), in a temporary folder; and a trainer's
// start-up reads on a 50 MB store (valid, damaged, or without the first-run
// mark so that the first-run block writes), read afresh as by a new process.
// Goals: a read of an unchanged store under 20 us; the start under 3 s.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/settings.h"

namespace {

std::filesystem::path MakeTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "settings-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  return pattern;
}

// A store filled like the one the trainers keep; removed at the end.
class BenchStore {
 public:
  BenchStore() {
    for (int i = 0; i < 30; ++i) {
      store_.SaveSetting("Tesk", "Orvanta7", "key" + std::to_string(i), std::to_string(i * 100));
    }
  }
  ~BenchStore() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  BenchStore(const BenchStore&) = delete;
  BenchStore& operator=(const BenchStore&) = delete;

  const forms::SettingsStore& store() const { return store_; }

 private:
  std::filesystem::path folder_ = MakeTempFolder();
  forms::SettingsStore store_{folder_ / "settings.conf"};
};

void BM_GetSetting(benchmark::State& state) {
  BenchStore bench;
  for (auto _ : state) {
    benchmark::DoNotOptimize(bench.store().GetSetting("Tesk", "Orvanta7", "KEY17", "0"));
  }
}
BENCHMARK(BM_GetSetting);

// Each write changes the value, so every iteration really replaces the file
// (lock, write, flush, rename, flush the folder).
void BM_SaveSetting(benchmark::State& state) {
  BenchStore bench;
  long n = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        bench.store().SaveSetting("Tesk", "Orvanta7", "guagen", std::to_string(11000 + (n++ % 2))));
  }
}
BENCHMARK(BM_SaveSetting)->Unit(benchmark::kMicrosecond);

// A valid store of about 50 MB: many sections of other programs' keys, the
// suite's own section at the end.
std::string LargeStoreText(bool marked) {
  std::string text = "# Tavrinel settings, format 1\n";
  const std::string filler(80, 'x');
  for (int s = 0; text.size() < 50u * 1024 * 1024; ++s) {
    text += "\n[Other\\Section" + std::to_string(s) + "]\n";
    for (int k = 0; k < 100; ++k) text += "key" + std::to_string(k) + "=" + filler + "\n";
  }
  text += "\n[Tesk\\Orvanta7]\n";
  if (marked) text += "xxx=1\n";
  for (const char* key : {"ce", "n", "ctime", "etime", "rd", "psave", "ssave", "visi", "voice",
                          "guage", "guagen", "red", "mark", "agent", "left"})
    text += std::string(key) + "=1\n";
  return text;
}

// The reads of a trainer's start, after the first-run block.
void StartReads(const forms::SettingsStore& store) {
  if (store.GetSetting("Tesk", "Orvanta7", "xxx").empty()) {
    std::vector<forms::SettingValue> block;
    for (int i = 0; i < 23; ++i) block.push_back({"first" + std::to_string(i), "1"});
    store.SaveSettings("Tesk", "Orvanta7", block);
  }
  for (const char* key : {"ce", "n", "ctime", "etime", "rd", "psave", "ssave", "visi", "voice",
                          "guage", "guagen", "red", "mark", "agent", "xxx", "left"})
    benchmark::DoNotOptimize(store.GetSetting("Tesk", "Orvanta7", key));
}

// Arg 0: a valid store; 1: the same cut three bytes short; 2: without "xxx".
void BM_StartWith50MBStore(benchmark::State& state) {
  const std::filesystem::path folder = MakeTempFolder();
  std::string text = LargeStoreText(state.range(0) != 2);
  if (state.range(0) == 1) text.resize(text.size() - 3);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // A new file name each round: nothing of an earlier round is reused.
    const auto file = folder / ("settings" + std::to_string(round++) + ".conf");
    std::ofstream(file, std::ios::binary) << text;
    const forms::SettingsStore store(file);
    state.ResumeTiming();
    StartReads(store);
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_StartWith50MBStore)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
