// The request queue: order, languages, voices, Stop and animation names.
#include <gtest/gtest.h>

#include "agent/agent.h"
#include "agent_test_support.h"

namespace {

using agent::PlaybackRecord;
using agent::RequestRecord;
using agenttest::Recorder;
using agenttest::SystemFolder;
using agenttest::TinyCharacter;
using agenttest::WaitUntil;
using namespace std::chrono_literals;

class AgentQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    sys_.Put("Tiny.acs", TinyCharacter());
    control_.Characters().Load("Tiny", "Tiny.acs");
    tiny_ = control_.Characters()("Tiny");
  }
  bool Idle() {
    return WaitUntil([&] { return !tiny_->Busy(); });
  }

  SystemFolder sys_;
  agent::AgentControl control_;
  std::shared_ptr<agent::Character> tiny_;
};

TEST_F(AgentQueue, RequestsPlayInTheOrderGivenWithTheLanguageSetBeforeEach) {
  Recorder rec;
  EXPECT_EQ(tiny_->LanguageID(), agent::kItalian);
  tiny_->Speak("uno");
  tiny_->Play("Wave");
  tiny_->SetLanguageID(agent::kBritishEnglish);
  tiny_->Speak("two");
  tiny_->SetLanguageID(agent::kItalian);
  tiny_->Play("read");
  tiny_->Speak("tre");
  // Every call returned at once: nothing has finished yet.
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Finished), 0u);
  EXPECT_TRUE(tiny_->Busy());

  ASSERT_EQ(rec.requests.size(), 5u);
  const std::vector<std::pair<std::string, int>> asked{
      {"uno", 1040}, {"Wave", 1040}, {"two", 2057}, {"read", 1040}, {"tre", 1040}};
  for (std::size_t i = 0; i < asked.size(); ++i) {
    EXPECT_EQ(rec.requests[i].text, asked[i].first);
    EXPECT_EQ(rec.requests[i].languageId, asked[i].second);
    EXPECT_EQ(rec.requests[i].character, "Tiny");
  }
  EXPECT_EQ(rec.requests[0].kind, RequestRecord::Kind::Speak);
  EXPECT_EQ(rec.requests[1].kind, RequestRecord::Kind::Play);

  ASSERT_TRUE(Idle());
  // Started and finished strictly one after the other, in order.
  std::vector<std::string> order;
  for (const auto& r : rec.playback) {
    if (r.kind == PlaybackRecord::Kind::Word) continue;
    order.push_back((r.kind == PlaybackRecord::Kind::Started ? "+" : "-") + r.text);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"+uno", "-uno", "+Wave", "-Wave", "+two", "-two",
                                             "+read", "-read", "+tre", "-tre"}));
  const auto started = rec.Of(PlaybackRecord::Kind::Started);
  EXPECT_EQ(started[0].voice, "it");
  EXPECT_EQ(started[2].voice, "en-gb");
  EXPECT_EQ(started[2].languageId, 2057);
  EXPECT_EQ(started[4].voice, "it");
  for (const auto& f : rec.Of(PlaybackRecord::Kind::Finished)) EXPECT_FALSE(f.stopped);
}

TEST_F(AgentQueue, StopEndsTheCurrentRequestAndDropsTheQueuedOnes) {
  Recorder rec;
  tiny_->Speak("Questa frase è lunga abbastanza da essere interrotta a metà strada.");
  tiny_->Play("Wave");
  tiny_->Speak("mai detta");
  ASSERT_TRUE(WaitUntil([&] { return rec.Count(PlaybackRecord::Kind::Started) == 1; }));
  tiny_->Stop();
  EXPECT_FALSE(tiny_->Busy());
  ASSERT_EQ(rec.Count(PlaybackRecord::Kind::Finished), 1u);
  EXPECT_TRUE(rec.Of(PlaybackRecord::Kind::Finished)[0].stopped);
  EXPECT_EQ(rec.requests.back().kind, RequestRecord::Kind::Stop);
  agenttest::Pump(300ms);
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Started), 1u);

  // Stop in the middle of an animation, and Stop with nothing to stop.
  tiny_->Play("Idle");
  tiny_->Speak("nemmeno questa");
  ASSERT_EQ(rec.Count(PlaybackRecord::Kind::Started), 2u);
  tiny_->Stop();
  EXPECT_TRUE(rec.Of(PlaybackRecord::Kind::Finished).back().stopped);
  EXPECT_NO_THROW(tiny_->Stop());
  agenttest::Pump(150ms);
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Started), 2u);

  // The queue works as before afterwards.
  tiny_->Speak("ciao");
  tiny_->Play("Wave");
  ASSERT_TRUE(Idle());
  const auto finished = rec.Of(PlaybackRecord::Kind::Finished);
  ASSERT_EQ(finished.size(), 4u);
  EXPECT_EQ(finished[2].text, "ciao");
  EXPECT_FALSE(finished[2].stopped);
  EXPECT_GT(finished[2].audioSeconds, 0.1);
  EXPECT_EQ(finished[3].text, "Wave");
}

TEST_F(AgentQueue, AnimationNamesCompareWithoutRegardToCase) {
  EXPECT_EQ(tiny_->AnimationNames(),
            (std::vector<std::string>{"Wave", "read", "Greet", "Explain", "Idle"}));
  Recorder rec;
  tiny_->Play("wave");
  tiny_->Play("WAVE");
  tiny_->Play("Read");
  tiny_->Play("iDLE");
  try {
    tiny_->Play("Dance");
    ADD_FAILURE() << "unknown animation accepted";
  } catch (const agent::Error& e) {
    EXPECT_NE(std::string(e.what()).find("Dance"), std::string::npos);
  }
  // The refused request left no trace.
  ASSERT_EQ(rec.requests.size(), 4u);
  EXPECT_EQ(rec.requests[0].text, "wave");
  ASSERT_TRUE(Idle());
  std::vector<std::string> played;
  for (const auto& r : rec.Of(PlaybackRecord::Kind::Finished)) played.push_back(r.text);
  EXPECT_EQ(played, (std::vector<std::string>{"Wave", "Wave", "read", "Idle"}));
}

TEST_F(AgentQueue, OnlyItalianAndBritishEnglishAreSpoken) {
  EXPECT_THROW(tiny_->SetLanguageID(1033), agent::Error);
  EXPECT_EQ(tiny_->LanguageID(), agent::kItalian);
  tiny_->SetLanguageID(2057);
  EXPECT_EQ(tiny_->LanguageID(), 2057);
  EXPECT_THROW(tiny_->SetLanguageID(0), agent::Error);
  EXPECT_EQ(tiny_->LanguageID(), 2057);
}

TEST_F(AgentQueue, EmptyTextIsARequestThatEndsAtOnce) {
  Recorder rec;
  testsupport::TempDir wavs;
  agenttest::ScopedEnv env("TAVRINEL_SPEECH_WAV", wavs.path().string());
  tiny_->Speak("");
  tiny_->Speak("  ");
  tiny_->Play("Wave");
  ASSERT_TRUE(Idle());
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Finished), 3u);
  EXPECT_TRUE(std::filesystem::is_empty(wavs.path()));
}

TEST_F(AgentQueue, TheCharactersOwnVoiceSpeaksEachLanguage) {
  sys_.PutBuilt("Merlin");
  control_.Characters().Load("Merlin", "Merlin.acs");
  auto merlin = control_.Characters()("Merlin");
  Recorder rec;
  merlin->Speak("sì");
  merlin->SetLanguageID(2057);
  merlin->Speak("yes");
  ASSERT_TRUE(WaitUntil([&] { return !merlin->Busy(); }));
  const auto finished = rec.Of(PlaybackRecord::Kind::Finished);
  ASSERT_EQ(finished.size(), 2u);
  EXPECT_EQ(finished[0].voice, "it+m3");
  EXPECT_EQ(finished[1].voice, "en-gb+m3");
  EXPECT_EQ(finished[0].audioOutput, "none");
  EXPECT_GT(finished[1].audioSeconds, 0.1);
}

TEST_F(AgentQueue, RequestsMadeByAnObserverWaitTheirTurn) {
  // A program may answer the end of one request with the next.
  int spoken = 0;
  agent::SetPlaybackObserver([&](const PlaybackRecord& r) {
    if (r.kind == PlaybackRecord::Kind::Finished && r.text == "Wave" && spoken++ == 0)
      tiny_->Speak("ancora");
  });
  tiny_->Play("Wave");
  EXPECT_TRUE(WaitUntil([&] { return spoken == 1 && !tiny_->Busy(); }));
  agent::SetPlaybackObserver({});
}

}  // namespace
