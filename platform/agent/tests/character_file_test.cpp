// Character files: what is written reads back, and every kind of damage is
// refused with a message naming the file, leaving nothing loaded.
#include <gtest/gtest.h>

#include "agent/agent.h"
#include "agent/character_file.h"
#include "agent_test_support.h"
#include "character_impl.h"
#include "loaded_character.h"

namespace {

using agenttest::SystemFolder;
using agenttest::TinyCharacter;

// Loads `fileName` and expects a refusal that names the full path and
// contains `what`; then checks that nothing was left loaded.
void ExpectRefused(const SystemFolder& sys, const std::string& fileName, const std::string& what) {
  SCOPED_TRACE(fileName + " / " + what);
  agent::AgentControl control;
  const auto path = (sys.Chars() / fileName).string();
  try {
    control.Characters().Load("Broken", fileName);
    ADD_FAILURE() << "loaded a damaged file";
  } catch (const agent::Error& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(what), std::string::npos) << message;
  }
  EXPECT_TRUE(control.Characters().Names().empty());
  EXPECT_THROW(control.Characters()("Broken"), agent::Error);
}

TEST(AgentFile, Crc32MatchesTheUsualCheckValue) {
  EXPECT_EQ(agent::Crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(agent::Crc32(""), 0u);
}

TEST(AgentFile, WhatIsWrittenReadsBack) {
  auto f = TinyCharacter("Prova è");
  f.voices = {{1040, "it+f3", 61, 170}, {2057, "en-gb", 40, 150}};
  const auto back = agent::DecodeCharacterFile(agent::EncodeCharacterFile(f), "x");
  EXPECT_EQ(back.name, "Prova è");
  EXPECT_EQ(back.width, 8);
  EXPECT_EQ(back.height, 8);
  ASSERT_EQ(back.voices.size(), 2u);
  EXPECT_EQ(back.voices[0].voice, "it+f3");
  EXPECT_EQ(back.voices[0].pitch, 61);
  EXPECT_EQ(back.voices[1].languageId, 2057);
  EXPECT_EQ(back.voices[1].rate, 150);
  EXPECT_EQ(back.images, f.images);
  EXPECT_EQ(back.restImage, 0);
  ASSERT_EQ(back.talking.size(), 2u);
  EXPECT_EQ(back.talking[0].durationMs, 40);
  ASSERT_EQ(back.animations.size(), f.animations.size());
  EXPECT_EQ(back.animations[0].name, "Wave");
  ASSERT_EQ(back.animations[0].frames.size(), 2u);
  EXPECT_EQ(back.animations[0].frames[1].image, 2);
  EXPECT_EQ(back.animations[0].frames[1].durationMs, 20);
}

TEST(AgentFile, MissingEmptyAndFolderAreRefused) {
  SystemFolder sys;
  ExpectRefused(sys, "Nobody.acs", "not found");
  sys.PutBytes("Empty.acs", "");
  ExpectRefused(sys, "Empty.acs", "empty");
  std::filesystem::create_directories(sys.Chars() / "Folder.acs");
  ExpectRefused(sys, "Folder.acs", "folder");
}

TEST(AgentFile, TruncationAnywhereIsRefused) {
  SystemFolder sys;
  const auto bytes = agent::EncodeCharacterFile(TinyCharacter());
  // Inside the signature, inside the header, just after it, in the middle of
  // the pictures, and one byte short.
  for (std::size_t keep : {std::size_t{3}, std::size_t{8}, std::size_t{15}, std::size_t{20},
                           std::size_t{27}, bytes.size() / 2, bytes.size() - 1}) {
    sys.PutBytes("Cut.acs", bytes.substr(0, keep));
    ExpectRefused(sys, "Cut.acs", "truncated");
  }
}

TEST(AgentFile, WrongSignatureVersionChecksumAndTailAreRefused) {
  SystemFolder sys;
  const auto good = agent::EncodeCharacterFile(TinyCharacter());

  auto magic = good;
  magic[0] = 'X';
  sys.PutBytes("Magic.acs", magic);
  ExpectRefused(sys, "Magic.acs", "not a character file");

  sys.PutBytes("Text.acs", "Merlin is a wizard\n");
  ExpectRefused(sys, "Text.acs", "not a character file");

  auto version = good;
  version[8] = 9;
  sys.PutBytes("Version.acs", version);
  ExpectRefused(sys, "Version.acs", "unsupported version 9");

  // One flipped bit in a picture, and one in the name.
  for (std::size_t at : {good.size() - 40, std::size_t{23}}) {
    auto flipped = good;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
    sys.PutBytes("Flipped.acs", flipped);
    ExpectRefused(sys, "Flipped.acs", "checksum");
  }

  sys.PutBytes("Tail.acs", good + "extra");
  ExpectRefused(sys, "Tail.acs", "after the end");
}

TEST(AgentFile, DamageBehindAGoodChecksumIsRefused) {
  SystemFolder sys;
  // These files are written with correct lengths and checksums: the damage
  // is in what they say.
  auto garbage = TinyCharacter();
  garbage.images[1] = "\x89PNG\r\n\x1a\nthis is not a picture";
  sys.Put("Garbage.acs", garbage);
  ExpectRefused(sys, "Garbage.acs", "image 1 is not a readable PNG");

  auto size = TinyCharacter();
  size.images[2] = agenttest::SolidPng(9, 8, 0xffffffff);
  sys.Put("Size.acs", size);
  ExpectRefused(sys, "Size.acs", "image 2 is 9x8");

  auto frame = TinyCharacter();
  frame.animations[0].frames[0].image = 7;
  sys.Put("Frame.acs", frame);
  ExpectRefused(sys, "Frame.acs", "refers to image 7");

  auto rest = TinyCharacter();
  rest.restImage = 3;
  sys.Put("Rest.acs", rest);
  ExpectRefused(sys, "Rest.acs", "rest pose");

  auto duration = TinyCharacter();
  duration.talking[0].durationMs = 0;
  sys.Put("Duration.acs", duration);
  ExpectRefused(sys, "Duration.acs", "0 ms");

  auto noRead = TinyCharacter();
  noRead.animations.erase(noRead.animations.begin() + 1);
  sys.Put("NoRead.acs", noRead);
  ExpectRefused(sys, "NoRead.acs", "no animation \"read\"");

  auto twice = TinyCharacter();
  twice.animations.push_back({"WAVE", {{0, 10}}});
  sys.Put("Twice.acs", twice);
  ExpectRefused(sys, "Twice.acs", "appears twice");

  auto empty = TinyCharacter();
  empty.animations[2].frames.clear();
  sys.Put("NoFrames.acs", empty);
  ExpectRefused(sys, "NoFrames.acs", "no frames");

  auto nameless = TinyCharacter("");
  sys.Put("Nameless.acs", nameless);
  ExpectRefused(sys, "Nameless.acs", "no name");

  auto voice = TinyCharacter();
  voice.voices = {{1040, "it", 120, 165}};
  sys.Put("Voice.acs", voice);
  ExpectRefused(sys, "Voice.acs", "voice for language 1040");
}

// A picture is decoded when first shown: damage behind a readable header is
// found then, and must show a blank pose of the right size, not end the
// program or draw from a null picture.
TEST(AgentFile, APictureDamagedBehindItsHeaderIsShownBlankAndSaidOnce) {
  SystemFolder sys;
  auto f = TinyCharacter();
  std::string& png = f.images[1];
  png = png.substr(0, 33) + std::string(png.size() - 33, '\x5a');  // pixels gone
  sys.Put("Cut.acs", f);
  agent::AgentControl control;
  ASSERT_NO_THROW(control.Characters().Load("Cut", "Cut.acs"));
  const auto& data = control.Characters()("Cut")->Impl().Data();
  testing::internal::CaptureStderr();
  const QImage& blank = data.Image(1);
  const QImage& again = data.Image(1);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(blank.size(), QSize(8, 8));
  EXPECT_EQ(qAlpha(blank.pixel(3, 3)), 0);
  EXPECT_EQ(&blank, &again);
  EXPECT_NE(said.find((sys.Chars() / "Cut.acs").string()), std::string::npos) << said;
  EXPECT_NE(said.find("image 1"), std::string::npos) << said;
  EXPECT_EQ(said.find("image 1"), said.rfind("image 1")) << said;
  EXPECT_EQ(data.Image(0).pixel(3, 3), 0xff0000ffu);
}

TEST(AgentFile, TheBuiltCharactersAreComplete) {
  SystemFolder sys;
  for (const char* name : {"Merlin", "Volpina", "Gufo"}) {
    SCOPED_TRACE(name);
    sys.PutBuilt(name);
    agent::AgentControl control;
    ASSERT_NO_THROW(control.Characters().Load(name, std::string(name) + ".acs"));
    const auto names = control.Characters()(name)->AnimationNames();
    for (const char* wanted : {"Wave", "read", "Greet", "Explain", "Idle"})
      EXPECT_NE(std::find(names.begin(), names.end(), wanted), names.end()) << wanted;
  }
}

}  // namespace
