// The speech engine: a process of its own that synthesises for the speech
// thread of a program. The speech library can crash on some texts; out here
// a crash costs one utterance, and the program starts a new engine.
//
// It talks over the socket it finds as its standard input, and ends when the
// program closes the other end.
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "engine_wire.h"
#include "synthesizer.h"

namespace {

constexpr int kSocket = 0;

// While the engine speaks, the only thing the program can say is "stop"; a
// closed socket means the program has gone.
bool ProgramWantsToStop() {
  if (!agent::wire::Readable(kSocket)) return false;
  const auto frame = agent::wire::Receive(kSocket, 1000);
  return !frame || frame->type == agent::wire::kCancel;
}

// Sends the words, then the samples they start in. False when the program
// asked to stop or has gone.
bool Forward(std::span<const std::int16_t> samples, std::span<const agent::WordMark> words) {
  for (const auto& w : words)
    if (!agent::wire::Send(kSocket, agent::wire::kWord, agent::wire::EncodeWord(w))) return false;
  const std::string_view bytes(reinterpret_cast<const char*>(samples.data()), samples.size_bytes());
  if (!agent::wire::Send(kSocket, agent::wire::kSamples, bytes)) return false;
  return !ProgramWantsToStop();
}

}  // namespace

int main() {
  // A crash inside the library is expected now and then: it leaves no core
  // file behind in whatever folder the program was started from.
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  std::signal(SIGPIPE, SIG_IGN);

  agent::Synthesizer synth;
  const std::string problem =
      synth.Ready() ? "" : "the speech synthesiser could not start (espeak-ng data missing?)";
  if (!agent::wire::Send(kSocket, agent::wire::kReady,
                         agent::wire::EncodeReady(synth.SampleRate(), problem)))
    return 0;

  for (;;) {
    const auto frame = agent::wire::Receive(kSocket, -1);
    if (!frame) return 0;
    // A stop that came after the synthesis had already ended.
    if (frame->type == agent::wire::kCancel) continue;
    const auto request = agent::wire::DecodeRequest(frame->payload);
    if (!request) return 1;
    const auto& [text, voice] = *request;
    if (frame->type == agent::wire::kPhonemes) {
      if (!agent::wire::Send(kSocket, agent::wire::kText, synth.Phonemes(text, voice))) return 0;
    } else if (frame->type == agent::wire::kSpeak) {
      const auto error = synth.Synthesize(text, voice, Forward);
      if (!agent::wire::Send(kSocket, agent::wire::kEnd, error)) return 0;
    } else {
      return 1;
    }
  }
}
