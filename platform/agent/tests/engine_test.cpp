// The speech engine runs out of the program: a text that crashes the speech
// library costs that text only, and a missing engine leaves the characters
// silent but alive.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "agent/agent.h"
#include "agent_test_support.h"
#include "character_impl.h"
#include "character_window.h"
#include "speech_engine.h"

namespace {

using agent::PlaybackRecord;
using agenttest::Recorder;
using agenttest::ScopedEnv;
using agenttest::SystemFolder;
using agenttest::TinyCharacter;
using agenttest::WaitUntil;

std::string Repeat(const std::string& unit, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += unit;
  return out;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class AgentEngine : public ::testing::Test {
 protected:
  void Load() {
    sys_.Put("Tiny.acs", TinyCharacter());
    control_.Characters().Load("Tiny", "Tiny.acs");
    tiny_ = control_.Characters()("Tiny");
  }
  bool Idle() {
    return WaitUntil([&] { return !tiny_->Busy(); }, std::chrono::seconds(30));
  }
  const agent::CharacterWindow& Window() const { return *tiny_->Impl().Window(); }

  SystemFolder sys_;
  agent::AgentControl control_;
  std::shared_ptr<agent::Character> tiny_;
};

// These texts crash libespeak-ng 1.51 inside the synthesis, in Italian and in
// English alike; the program and the texts after them must not notice.
TEST_F(AgentEngine, ATextThatCrashesTheSpeechLibraryLosesOnlyThatText) {
  Load();
  Recorder rec;
  testing::internal::CaptureStderr();
  const std::string periods = Repeat("a.", 85);
  const std::string apostrophes = Repeat("s'", 220);
  tiny_->Show();
  tiny_->Speak(periods);
  tiny_->Speak("Buongiorno, come stai?");
  tiny_->SetLanguageID(agent::kBritishEnglish);
  tiny_->Speak(periods);
  tiny_->Speak("Good morning, how are you?");
  tiny_->Play("Wave");
  tiny_->Speak(apostrophes);
  ASSERT_TRUE(Idle());
  const std::string said = testing::internal::GetCapturedStderr();

  // Every request came to its end, in order, none of them cut short.
  const auto finished = rec.Of(PlaybackRecord::Kind::Finished);
  ASSERT_EQ(finished.size(), 6u);
  const std::vector<std::string> order{periods, "Buongiorno, come stai?",
                                       periods, "Good morning, how are you?",
                                       "Wave",  apostrophes};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(finished[i].text, order[i]);
    EXPECT_FALSE(finished[i].stopped);
  }
  // The texts after a crash were spoken whole, word by word.
  for (const std::size_t i : {1u, 3u}) {
    SCOPED_TRACE(finished[i].text);
    EXPECT_GT(finished[i].audioSeconds, 1.0);
  }
  std::size_t wordsOfLast = 0;
  for (const auto& r : rec.Of(PlaybackRecord::Kind::Word))
    if (r.text == "Good morning, how are you?") ++wordsOfLast;
  EXPECT_EQ(wordsOfLast, 5u);
  // The lost text's balloon closed and the mouth came to rest, as after any
  // other text.
  EXPECT_TRUE(WaitUntil([&] { return !Window().BalloonShown(); }));
  EXPECT_EQ(Window().CurrentImage(), 0);
  EXPECT_TRUE(tiny_->Visible());
  // Each crash was told, naming the engine and how it ended.
  EXPECT_EQ(Occurrences(said, "killed by SIG"), 3u) << said;
  EXPECT_NE(said.find(agent::SpeechEngine::ProgramPath().string()), std::string::npos) << said;
}

// Each test runs in a process of its own under ctest: the engine here is
// never started before the test points the program at a missing one.
TEST_F(AgentEngine, WithoutItsEngineACharacterGoesOnSilentlyAndSaysWhyOnce) {
  testsupport::TempDir dir;
  const std::string missing = (dir.path() / "speech_engine").string();
  ScopedEnv env("TAVRINEL_SPEECH_ENGINE", missing);
  testing::internal::CaptureStderr();
  Load();
  Recorder rec;
  tiny_->Show();
  tiny_->Speak("Ciao!");
  tiny_->Play("Wave");
  tiny_->Speak("Come stai?");
  ASSERT_TRUE(Idle());
  const std::string said = testing::internal::GetCapturedStderr();

  EXPECT_TRUE(tiny_->Visible());
  const auto finished = rec.Of(PlaybackRecord::Kind::Finished);
  ASSERT_EQ(finished.size(), 3u);
  EXPECT_EQ(finished[1].text, "Wave");
  for (const auto& f : finished) EXPECT_FALSE(f.stopped);
  EXPECT_EQ(finished[0].audioSeconds, 0);
  EXPECT_EQ(Occurrences(said, missing), 1u) << said;
  EXPECT_NE(said.find("is missing"), std::string::npos) << said;
}

// An engine that hangs inside the library would otherwise hold every later
// request of every character for ever.
TEST_F(AgentEngine, AnEngineThatStopsAnsweringIsEndedAndItsTextLost) {
  testsupport::TempDir dir;
  const auto hanging = dir.path() / "speech_engine";
  // Says it is ready at 22050 samples a second, then never answers again.
  std::ofstream(hanging) << "#!/bin/sh\nprintf 'R\\004\\000\\000\\000\\042\\126\\000\\000' >&0\n"
                            "exec sleep 600\n";
  std::filesystem::permissions(hanging, std::filesystem::perms::owner_all);
  ScopedEnv env("TAVRINEL_SPEECH_ENGINE", hanging.string());
  testing::internal::CaptureStderr();
  Load();
  Recorder rec;
  tiny_->Speak("Ciao!");
  tiny_->Play("Wave");
  ASSERT_TRUE(Idle());
  const std::string said = testing::internal::GetCapturedStderr();

  const auto finished = rec.Of(PlaybackRecord::Kind::Finished);
  ASSERT_EQ(finished.size(), 2u);
  EXPECT_FALSE(finished[0].stopped);
  EXPECT_EQ(finished[1].text, "Wave");
  EXPECT_NE(said.find(hanging.string() + " stopped answering while speaking \"Ciao!\""),
            std::string::npos)
      << said;
}

}  // namespace
