#pragma once

// A reader or dictionary in a test: a clock moved by hand, a private
// settings store, program folder and character folder, message boxes and the
// end of the program caught, and the character's requests recorded.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "agent/agent.h"
#include "controls/controls.h"
#include "forms/forms.h"
#include "forms/testing.h"
#include "suite/character_loader.h"
#include "testsupport/program_observer.h"
#include "testsupport/temp_dir.h"

namespace readdict::testing {

class ProgramFixture : public ::testing::Test, public testsupport::ProgramObserver {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    controls::Register();
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("TAVRINEL_PROGRAM_DIR", (folder / "bin").c_str(), 1);
    setenv("TAVRINEL_SYSTEM_DIR", (folder / "system").c_str(), 1);
    setenv("TAVRINEL_AUDIO", "none", 1);
    fs::create_directories(folder / "bin");
    fs::create_directories(Chars());
    for (const auto& e : fs::directory_iterator(testsupport::BinDir() / "system/msagent/chars"))
      fs::copy_file(e.path(), Chars() / e.path().filename());
    forms::Clipboard::SetText("");
  }

  void TearDown() override { forms::testing::ReleaseAllForms(); }

  std::filesystem::path Chars() const { return folder / "system/msagent/chars"; }

  // A character file that cannot be loaded.
  void AddBrokenCharacter(const std::string& name) {
    std::filesystem::create_directories(Chars());
    FILE* f = std::fopen((Chars() / (name + ".acs")).c_str(), "wb");
    std::fputs("not a character", f);
    std::fclose(f);
  }

  std::vector<std::string> Spoken() const { return Requested(agent::RequestRecord::Kind::Speak); }
  std::vector<std::string> Played() const { return Requested(agent::RequestRecord::Kind::Play); }
  int Count(agent::RequestRecord::Kind kind) const {
    int n = 0;
    for (const auto& r : requests) n += r.kind == kind;
    return n;
  }
  std::vector<std::string> Requested(agent::RequestRecord::Kind kind) const {
    std::vector<std::string> out;
    for (const auto& r : requests)
      if (r.kind == kind) out.push_back(r.text);
    return out;
  }

  forms::ManualClock clock;
  testsupport::TempDir folder;
};

}  // namespace readdict::testing
