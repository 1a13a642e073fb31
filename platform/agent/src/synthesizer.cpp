#include "synthesizer.h"

#include <espeak-ng/speak_lib.h>

#include <string_view>
#include <vector>

#include "text_util.h"

namespace agent {

namespace {

// Passed through espeak-ng as the synthesis's user data.
struct SynthContext {
  std::string_view text;
  const SpeechSink* sink = nullptr;
  int sampleRate = 0;
  std::int64_t samples = 0;
  bool aborted = false;
  std::vector<WordMark> words;
};

int OnSynth(short* wav, int count, espeak_EVENT* events) {
  SynthContext* ctx = nullptr;
  for (auto* e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e) {
    ctx = static_cast<SynthContext*>(e->user_data);
    if (ctx && e->type == espeakEVENT_WORD && e->text_position > 0) {
      // Positions count characters from 1.
      const auto start = Utf8Offset(ctx->text, static_cast<std::size_t>(e->text_position - 1));
      const auto end =
          Utf8Offset(ctx->text, static_cast<std::size_t>(e->text_position - 1 + e->length));
      ctx->words.push_back({start, end - start,
                            static_cast<std::int64_t>(e->audio_position) * ctx->sampleRate / 1000});
    }
  }
  if (!events) return 0;
  if (!ctx) ctx = static_cast<SynthContext*>(events->user_data);
  if (!ctx || ctx->aborted) return 1;
  if (wav && count > 0) {
    std::span<const std::int16_t> block(reinterpret_cast<const std::int16_t*>(wav),
                                        static_cast<std::size_t>(count));
    ctx->samples += count;
    if (!(*ctx->sink)(block, ctx->words)) ctx->aborted = true;
    ctx->words.clear();
  } else if (!ctx->words.empty()) {
    if (!(*ctx->sink)({}, ctx->words)) ctx->aborted = true;
    ctx->words.clear();
  }
  return ctx->aborted ? 1 : 0;
}

}  // namespace

Synthesizer::Synthesizer() {
  // Blocks of 20 ms keep the first sound close to the request.
  const int rate =
      espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 20, nullptr, espeakINITIALIZE_DONT_EXIT);
  if (rate > 0) {
    sampleRate_ = rate;
    espeak_SetSynthCallback(OnSynth);
  }
}

std::string Synthesizer::SelectVoice(const VoiceSpec& voice) {
  // Choosing a voice reads its files, and finding one for a language reads
  // every installed voice: each is done once, not for every utterance.
  if (voice.voice != selected_) {
    auto known = resolved_.find(voice.voice);
    if (known == resolved_.end())
      known = resolved_.emplace(voice.voice, Resolve(voice.voice)).first;
    if (known->second.empty() || espeak_SetVoiceByName(known->second.c_str()) != EE_OK) {
      selected_.clear();
      return "the speech voice \"" + voice.voice + "\" is not installed";
    }
    selected_ = voice.voice;
  }
  espeak_SetParameter(espeakRATE, voice.rate, 0);
  espeak_SetParameter(espeakPITCH, voice.pitch, 0);
  return {};
}

std::string Synthesizer::Resolve(const std::string& voice) {
  if (espeak_SetVoiceByName(voice.c_str()) == EE_OK) return voice;
  // A language code such as "en-gb" names no voice file: take the best
  // voice for that language, keeping the variant ("+m3").
  const auto plus = voice.find('+');
  const std::string language = voice.substr(0, plus);
  const std::string variant = plus == std::string::npos ? "" : voice.substr(plus);
  espeak_VOICE wanted{};
  wanted.languages = language.c_str();
  for (const espeak_VOICE** v = espeak_ListVoices(&wanted); v && *v; ++v)
    // mbrola voices need data of their own, rarely installed.
    if ((*v)->identifier && std::string_view((*v)->identifier).substr(0, 3) != "mb/")
      return (*v)->identifier + variant;
  return {};
}

std::string Synthesizer::Synthesize(std::string_view utf8, const VoiceSpec& voice,
                                    const SpeechSink& sink) {
  if (!Ready()) return "the speech synthesiser could not start (espeak-ng data missing?)";
  if (auto err = SelectVoice(voice); !err.empty()) return err;
  // espeak-ng reads up to a terminating zero.
  const std::string text(utf8);
  SynthContext ctx;
  ctx.text = text;
  ctx.sink = &sink;
  ctx.sampleRate = sampleRate_;
  const auto rc = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                               nullptr, &ctx);
  if (rc != EE_OK && !ctx.aborted) return "speech synthesis failed";
  return {};
}

std::string Synthesizer::Phonemes(std::string_view utf8, const VoiceSpec& voice) {
  if (!Ready() || !SelectVoice(voice).empty()) return {};
  const std::string text(utf8);
  const void* ptr = text.c_str();
  std::string out;
  while (ptr) {
    const char* ph = espeak_TextToPhonemes(&ptr, espeakCHARS_UTF8, 0);
    if (!ph) break;
    if (!out.empty()) out += ' ';
    out += ph;
  }
  return out;
}

}  // namespace agent
