// A search through the dictionary's form on the full word list: Find pressed
// until the list is filled and the first match shown, for a two-letter
// prefix in each column.
//   build/bench/dictionary_find_bench          (goal: median under 5 ms)

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "controls/controls.h"
#include "form1.h"
#include "forms/forms.h"
#include "forms/testing.h"

namespace {

dictionary::Form1* form = nullptr;

void Find(benchmark::State& state, const char* prefix, const char* column) {
  form->Combo1.Text(column);
  form->Text9.Text(prefix);
  for (auto _ : state) {
    form->Command1.Click();
    benchmark::DoNotOptimize(form->List1.ListCount());
  }
  state.counters["matches"] = form->List1.ListCount();
}

void BM_FindEnglishCa(benchmark::State& state) {
  Find(state, "ca", "English");
}
void BM_FindItalianCa(benchmark::State& state) {
  Find(state, "ca", "Italian");
}
BENCHMARK(BM_FindEnglishCa)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_FindItalianCa)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir home;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8().constData(), 1);
  setenv("TAVRINEL_PROGRAM_DIR", TAVRINEL_BIN_DIR_BUILT, 1);
  setenv("TAVRINEL_AUDIO", "none", 1);
  QApplication app(argc, argv);
  controls::Register();
  forms::SetMessageBoxPresenter([](std::string_view prompt, int, std::string_view) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(prompt.size()), prompt.data());
    return forms::vbOK;
  });
  form = &forms::Forms::Get<dictionary::Form1>();
  form->Load();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  forms::testing::ReleaseAllForms();
  return 0;
}
