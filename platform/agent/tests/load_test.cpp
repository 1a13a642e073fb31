// Loading, looking up and unloading characters.
#include <gtest/gtest.h>

#include "agent/agent.h"
#include "agent_test_support.h"

namespace {

using agent::PlaybackRecord;
using agenttest::Recorder;
using agenttest::SystemFolder;
using agenttest::TinyCharacter;
using agenttest::WaitUntil;
using namespace std::chrono_literals;

TEST(AgentLoad, LooksUpByNameAndRefusesASecondLoadOfTheSameName) {
  SystemFolder sys;
  sys.Put("Tiny.acs", TinyCharacter());
  sys.Put("Other.acs", TinyCharacter("Other"));
  agent::AgentControl control;
  auto& chars = control.Characters();
  chars.Load("Tiny", "Tiny.acs");
  const auto first = chars("Tiny");
  EXPECT_EQ(first->Name(), "Tiny");
  // Names compare without regard to case, as the suite's settings may hold
  // them either way.
  EXPECT_EQ(chars("tiny"), first);

  try {
    chars.Load("Tiny", "Other.acs");
    ADD_FAILURE() << "second load accepted";
  } catch (const agent::Error& e) {
    EXPECT_NE(std::string(e.what()).find("already loaded"), std::string::npos) << e.what();
  }
  // The first is untouched and still works.
  EXPECT_EQ(chars("Tiny"), first);
  EXPECT_EQ(chars.Names(), std::vector<std::string>{"Tiny"});
  Recorder rec;
  first->Play("Wave");
  EXPECT_TRUE(WaitUntil([&] { return !first->Busy(); }));
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Finished), 1u);

  // The same file under another name is a second character.
  chars.Load("Tiny2", "Tiny.acs");
  EXPECT_NE(chars("Tiny2"), first);
  EXPECT_THROW(chars("Nobody"), agent::Error);
}

TEST(AgentLoad, FindsTheFileWhateverTheCaseOfItsName) {
  SystemFolder sys;
  sys.Put("Merlino.acs", TinyCharacter("Merlino"));
  agent::AgentControl control;
  EXPECT_NO_THROW(control.Characters().Load("merlino", "merlino.acs"));
  // A folder in the file name, as built with "\" by the suite.
  sys.Put("Alt.acs", TinyCharacter("Alt"));
  const auto full = (sys.Chars() / "Alt.acs").string();
  EXPECT_NO_THROW(control.Characters().Load("Alt", full));
}

TEST(AgentLoad, UnloadOfASpeakingCharacterStopsItAndLeavesNothingBehind) {
  SystemFolder sys;
  sys.Put("Tiny.acs", TinyCharacter());
  Recorder rec;
  agent::AgentControl control;
  auto& chars = control.Characters();
  chars.Load("Tiny", "Tiny.acs");
  auto tiny = chars("Tiny");
  tiny->Show();
  tiny->Speak("Questa è una frase piuttosto lunga che il personaggio non finirà mai di dire.");
  tiny->Play("Wave");
  ASSERT_TRUE(WaitUntil([&] { return rec.Count(PlaybackRecord::Kind::Started) == 1; }));
  const auto started = std::chrono::steady_clock::now();

  chars.Unload("Tiny");
  // The speech ends at once, reported as stopped, and the queued wave never
  // starts.
  ASSERT_EQ(rec.Count(PlaybackRecord::Kind::Finished), 1u);
  EXPECT_TRUE(rec.Of(PlaybackRecord::Kind::Finished)[0].stopped);
  agenttest::Pump(300ms);
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Started), 1u);
  EXPECT_EQ(rec.Count(PlaybackRecord::Kind::Finished), 1u);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);

  // Every call on the unloaded character says so.
  for (const auto& call : std::vector<std::function<void()>>{
           [&] { tiny->Speak("ciao"); }, [&] { tiny->Play("Wave"); }, [&] { tiny->Show(); },
           [&] { tiny->Hide(); }, [&] { tiny->Stop(); }, [&] { tiny->MoveTo(1, 2); },
           [&] { tiny->SetLanguageID(2057); }, [&] { (void)tiny->LanguageID(); },
           [&] { (void)tiny->AnimationNames(); }}) {
    try {
      call();
      ADD_FAILURE() << "a call on an unloaded character went through";
    } catch (const agent::Error& e) {
      EXPECT_STREQ(e.what(), "character Tiny is not loaded");
    }
  }
  EXPECT_THROW(chars("Tiny"), agent::Error);
  EXPECT_TRUE(chars.Names().empty());

  // Unloading again, or a name never loaded, does nothing; loading anew works.
  EXPECT_NO_THROW(chars.Unload("Tiny"));
  EXPECT_NO_THROW(chars.Unload("Nobody"));
  chars.Load("Tiny", "Tiny.acs");
  chars("Tiny")->Speak("ciao");
  EXPECT_TRUE(WaitUntil([&] { return !chars("Tiny")->Busy(); }));
  EXPECT_FALSE(rec.Of(PlaybackRecord::Kind::Finished).back().stopped);
}

TEST(AgentLoad, AControlThatGoesAwayWhileSpeakingStopsItsCharacters) {
  SystemFolder sys;
  sys.Put("Tiny.acs", TinyCharacter());
  std::shared_ptr<agent::Character> kept;
  {
    agent::AgentControl control;
    control.Characters().Load("Tiny", "Tiny.acs");
    kept = control.Characters()("Tiny");
    kept->Speak("Una frase che resta a metà quando il modulo si chiude.");
    agenttest::Pump(50ms);
  }
  EXPECT_THROW(kept->Speak("ancora"), agent::Error);
  agenttest::Pump(200ms);
}

}  // namespace
