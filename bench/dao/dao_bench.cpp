// The word databases as the programs meet them: the dictionary's prefix
// search (goal: median under 2 ms for a two-letter prefix, opening the word
// list as every search does), and opening each data file.
//
//   build/bench/dao_bench --benchmark_repetitions=15 --benchmark_report_aggregates_only

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dao/dao.h"
#include "suite/word_books.h"

namespace {

const std::string kBin = TAVRINEL_BIN_DIR;

// One search of the dictionary: open, query, count, list every English word,
// and stand on the first match.
void Search(const std::string& column, const std::string& prefix, std::vector<std::string>& list) {
  dao::Database db = dao::OpenDatabase(kBin + "\\dictionary.dll");
  dao::Recordset rs = db.OpenRecordset("select * from word where " + column + " like '" +
                                       dao::LikePattern(prefix) + "*' order by english");
  if (rs.Eof() && rs.Bof()) return;
  rs.MoveLast();
  rs.MoveFirst();
  list.clear();
  for (; !rs.Eof(); rs.MoveNext()) list.push_back(rs.Fields("english").Value());
  rs.MoveFirst();
  benchmark::DoNotOptimize(rs.Fields("Italian").Value());
  benchmark::DoNotOptimize(rs.Bookmark());
}

const std::vector<std::string> kPrefixes = {"ab", "co", "st", "re", "in", "pa", "ma", "ca"};

void BM_PrefixSearchEnglish(benchmark::State& state) {
  const std::string& prefix = kPrefixes[static_cast<std::size_t>(state.range(0))];
  std::vector<std::string> list;
  for (auto _ : state) Search("English", prefix, list);
  state.SetLabel(prefix + ": " + std::to_string(list.size()) + " matches");
}
BENCHMARK(BM_PrefixSearchEnglish)
    ->DenseRange(0, static_cast<int>(kPrefixes.size()) - 1)
    ->Unit(benchmark::kMillisecond);

void BM_PrefixSearchItalian(benchmark::State& state) {
  const std::string& prefix = kPrefixes[static_cast<std::size_t>(state.range(0))];
  std::vector<std::string> list;
  for (auto _ : state) Search("Italian", prefix, list);
  state.SetLabel(prefix + ": " + std::to_string(list.size()) + " matches");
}
BENCHMARK(BM_PrefixSearchItalian)
    ->DenseRange(0, static_cast<int>(kPrefixes.size()) - 1)
    ->Unit(benchmark::kMillisecond);

// The whole list (an empty prefix).
void BM_FullListing(benchmark::State& state) {
  std::vector<std::string> list;
  for (auto _ : state) Search("English", "", list);
  state.SetLabel(std::to_string(list.size()) + " words");
}
BENCHMARK(BM_FullListing)->Unit(benchmark::kMillisecond);

// Opening a file and its first records, as each program does at start.
void Open(benchmark::State& state, const std::string& file, bool exclusive,
          const std::string& connect, const std::string& source) {
  for (auto _ : state) {
    dao::Database db = dao::OpenDatabase(kBin + "/" + file, exclusive, false, connect);
    dao::Recordset rs = db.OpenRecordset(source);
    benchmark::DoNotOptimize(rs.Eof());
  }
}
BENCHMARK_CAPTURE(Open, dialog_ocx, "dialog.ocx", true, "", "select * from word ORDER BY English")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, word_ocx, "word.ocx", false, "", "select * from word ")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, reg_ocx_category, "reg.ocx", true, std::string(suite::kCategorisedConnect),
                  "select * from word where category='Numbers' ORDER BY English")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, reg_ocx_all, "reg.ocx", false, std::string(suite::kCategorisedConnect),
                  "select * from word ")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Open, dictionary_dll, "dictionary.dll", false, "", "word")
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
