// How quickly the character starts to speak, and how fast speech is made.
//
//   build/bench/agent_bench
//
// SpeakToFirstSample: from Speak of a ten-word Italian sentence to its first
// sample reaching the audio output (goal: under 150 ms).
// Synthesis: audio seconds made per second of work ("x_realtime").
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "agent/agent.h"
#include "speech_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const kSentence = "Domani andrò in città con mio fratello a comprare libri.";

void PumpUntil(const std::function<bool()>& done) {
  const auto end = Clock::now() + std::chrono::seconds(10);
  while (!done() && Clock::now() < end) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

void SpeakToFirstSample(benchmark::State& state) {
  agent::AgentControl control;
  control.Characters().Load("Merlin", "Merlin.acs");
  auto merlin = control.Characters()("Merlin");
  std::optional<Clock::time_point> first;
  std::string output;
  agent::SetPlaybackObserver([&](const agent::PlaybackRecord& r) {
    if (r.kind == agent::PlaybackRecord::Kind::Started) first = r.at;
    if (r.kind == agent::PlaybackRecord::Kind::Finished && !r.audioOutput.empty())
      output = r.audioOutput;
  });
  for (auto _ : state) {
    first.reset();
    const auto asked = Clock::now();
    merlin->Speak(kSentence);
    PumpUntil([&] { return first.has_value(); });
    if (!first) {
      state.SkipWithError("the speech never started");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(*first - asked).count());
    merlin->Stop();
    // Let the speech thread wind down the stopped speech before the next.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
  }
  // One speech to its end, to learn which output played it.
  merlin->Speak("Ciao.");
  PumpUntil([&] { return !merlin->Busy(); });
  state.SetLabel("audio output: " + output);
  agent::SetPlaybackObserver({});
}
BENCHMARK(SpeakToFirstSample)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void Synthesis(benchmark::State& state) {
  agent::SpeechEngine engine;
  engine.Start();
  const agent::VoiceSpec voice{agent::kItalian, state.range(0) ? "en-gb" : "it", 50, 165};
  const char* text = state.range(0)
                         ? "Tomorrow I will go into town with my brother to buy some books."
                         : kSentence;
  double audio = 0, work = 0;
  for (auto _ : state) {
    std::int64_t samples = 0;
    const auto start = Clock::now();
    engine.Synthesize(text, voice, [&](auto block, auto) {
      samples += static_cast<std::int64_t>(block.size());
      return true;
    });
    work += std::chrono::duration<double>(Clock::now() - start).count();
    audio += static_cast<double>(samples) / engine.SampleRate();
  }
  state.counters["x_realtime"] = audio / work;
  state.counters["audio_s"] = audio / static_cast<double>(state.iterations());
  state.SetLabel(voice.voice);
}
BENCHMARK(Synthesis)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void LoadCharacter(benchmark::State& state) {
  for (auto _ : state) {
    agent::AgentControl control;
    control.Characters().Load("Merlin", "Merlin.acs");
  }
}
BENCHMARK(LoadCharacter)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("TAVRINEL_SYSTEM_DIR", AGENT_BENCH_SYSTEM_DIR, 0);
  setenv("TAVRINEL_SPEECH_ENGINE", AGENT_BENCH_SPEECH_ENGINE, 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
