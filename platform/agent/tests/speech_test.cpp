// Speech: accented Italian, the files TAVRINEL_SPEECH_WAV asks for, and what
// they sound like.
#include <gtest/gtest.h>

#include <fstream>

#include "agent/agent.h"
#include "agent_test_support.h"
#include "speech_engine.h"
#include "wav_writer.h"

namespace {

using agent::PlaybackRecord;
using agenttest::Recorder;
using agenttest::SystemFolder;
using agenttest::TinyCharacter;
using agenttest::WaitUntil;

const std::string kAccented = "Perché è così città più";

double SynthesizedSeconds(agent::SpeechEngine& synth, const std::string& text,
                          const agent::VoiceSpec& voice,
                          std::vector<agent::WordMark>* words = nullptr) {
  std::int64_t samples = 0;
  const auto err = synth.Synthesize(text, voice, [&](auto block, auto marks) {
    samples += static_cast<std::int64_t>(block.size());
    if (words) words->insert(words->end(), marks.begin(), marks.end());
    return true;
  });
  EXPECT_EQ(err, "");
  return static_cast<double>(samples) / synth.SampleRate();
}

TEST(AgentSpeech, AccentedItalianIsReadAsItalianWords) {
  const agent::VoiceSpec italian{1040, "it", 50, 165};
  agent::SpeechEngine synth;
  ASSERT_EQ(synth.Start(), "");
  // Stress on the accented last vowels, and no letters spelt out.
  const auto phonemes = synth.Phonemes(kAccented, italian);
  EXPECT_NE(phonemes.find("tSit:'a"), std::string::npos) << phonemes;
  EXPECT_NE(phonemes.find("koz'i"), std::string::npos) << phonemes;
  EXPECT_NE(phonemes.find("pj'u"), std::string::npos) << phonemes;
  EXPECT_EQ(phonemes.find("tilde"), std::string::npos) << phonemes;

  // Each word is reported at its own bytes of the UTF-8 text.
  std::vector<agent::WordMark> words;
  const double seconds = SynthesizedSeconds(synth, kAccented, italian, &words);
  std::vector<std::string> said;
  for (const auto& w : words) said.push_back(kAccented.substr(w.start, w.length));
  EXPECT_EQ(said, (std::vector<std::string>{"Perché", "è", "così", "città", "più"}));
  for (std::size_t i = 1; i < words.size(); ++i) EXPECT_GT(words[i].sample, words[i - 1].sample);

  // The same bytes misread as Latin-1 would take far longer to say.
  const double misread = SynthesizedSeconds(synth, "PerchÃ© Ã¨ cosÃ¬ cittÃ  piÃ¹", italian);
  EXPECT_GT(seconds, 0.8);
  EXPECT_LT(seconds, 0.6 * misread);
}

TEST(AgentSpeech, VoicesTakenInTurnEachReadTheTextTheirOwnWay) {
  const agent::VoiceSpec italian{1040, "it", 50, 165};
  const agent::VoiceSpec english{2057, "en-gb", 40, 150};
  agent::SpeechEngine synth;
  ASSERT_EQ(synth.Start(), "");
  const std::string word = "chiesa";
  const auto asItalian = synth.Phonemes(word, italian);
  const auto asEnglish = synth.Phonemes(word, english);
  EXPECT_NE(asItalian, asEnglish);
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(synth.Phonemes(word, italian), asItalian);
    EXPECT_EQ(synth.Phonemes(word, english), asEnglish);
  }
  EXPECT_EQ(synth.Phonemes(word, italian), asItalian);
}

TEST(AgentSpeech, EveryUtteranceIsWrittenAsANumberedWavThatSoundsLikeSpeech) {
  SystemFolder sys;
  sys.Put("Tiny.acs", TinyCharacter());
  testsupport::TempDir wavs;
  agenttest::ScopedEnv env("TAVRINEL_SPEECH_WAV", wavs.path().string());
  agent::AgentControl control;
  control.Characters().Load("Tiny", "Tiny.acs");
  auto tiny = control.Characters()("Tiny");
  Recorder rec;
  tiny->Speak(kAccented);
  tiny->SetLanguageID(agent::kBritishEnglish);
  tiny->Speak("Good morning, how are you today?");
  ASSERT_TRUE(WaitUntil([&] { return !tiny->Busy(); }));

  const auto finished = rec.Of(PlaybackRecord::Kind::Finished);
  ASSERT_EQ(finished.size(), 2u);
  agent::SpeechEngine engine;
  ASSERT_EQ(engine.Start(), "");
  const int rate = engine.SampleRate();
  EXPECT_EQ(finished[0].wav, wavs.path() / "0001.wav");
  EXPECT_EQ(finished[1].wav, wavs.path() / "0002.wav");
  for (const auto& f : finished) {
    SCOPED_TRACE(f.text);
    const auto info = agenttest::ReadWav(f.wav);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->sampleRate, rate);
    EXPECT_NEAR(info->seconds, f.audioSeconds, 0.01);
    EXPECT_GT(info->seconds, 1.0);
    EXPECT_LT(info->seconds, 5.0);
    EXPECT_GT(info->rms, 0.02);  // not silence
  }
  // The speech took its own time even with no sound device.
  const auto started = rec.Of(PlaybackRecord::Kind::Started);
  EXPECT_GE(finished[0].at - started[0].at,
            std::chrono::milliseconds(static_cast<int>(finished[0].audioSeconds * 1000) - 150));
  // The balloon followed the words.
  EXPECT_GE(rec.Count(PlaybackRecord::Kind::Word), 5u);
}

TEST(AgentSpeech, WavNumbersCountOnAfterTheHighestInTheFolder) {
  testsupport::TempDir dir;
  EXPECT_EQ(agent::NextWavPath(dir.path() / "new"), dir.path() / "new" / "0001.wav");
  for (const char* name : {"0001.wav", "0007.wav", "notes.txt", "12345.wav", "00a9.wav"})
    std::ofstream(dir.path() / name) << "x";
  EXPECT_EQ(agent::NextWavPath(dir.path()), dir.path() / "0008.wav");
}

TEST(AgentSpeech, AnUnknownVoiceFinishesTheRequestQuietly) {
  SystemFolder sys;
  auto f = TinyCharacter();
  f.voices = {{1040, "no-such-voice", 50, 165}};
  sys.Put("Tiny.acs", f);
  agent::AgentControl control;
  control.Characters().Load("Tiny", "Tiny.acs");
  auto tiny = control.Characters()("Tiny");
  Recorder rec;
  tiny->Speak("ciao");
  tiny->Play("Wave");
  ASSERT_TRUE(WaitUntil([&] { return !tiny->Busy(); }));
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Finished), 2u);
}

}  // namespace
