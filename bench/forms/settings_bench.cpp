// One settings read and one settings write on a store of the size the
// suite keeps (about thirty keys), in a temporary folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

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

}  // namespace

BENCHMARK_MAIN();
