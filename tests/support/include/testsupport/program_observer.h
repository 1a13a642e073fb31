#pragma once

// What a program under test shows and does, caught for the test to read:
// its message boxes (each answered OK), its end, and its character's
// requests. Header-only, for tests of programs on the forms runtime and the
// speaking characters.

#include <string>
#include <string_view>
#include <vector>

#include "agent/agent.h"
#include "forms/forms.h"
#include "forms/testing.h"

namespace testsupport {

class ProgramObserver {
 public:
  ProgramObserver() {
    forms::SetMessageBoxPresenter([this](std::string_view prompt, int, std::string_view) {
      messages.emplace_back(prompt);
      return forms::vbOK;
    });
    forms::testing::SetEndHandler([this] { ended = true; });
    agent::SetRequestObserver([this](const agent::RequestRecord& r) { requests.push_back(r); });
  }
  ~ProgramObserver() {
    agent::SetRequestObserver({});
    forms::SetMessageBoxPresenter({});
    forms::testing::SetEndHandler({});
  }
  ProgramObserver(const ProgramObserver&) = delete;
  ProgramObserver& operator=(const ProgramObserver&) = delete;

  std::vector<std::string> messages;
  std::vector<agent::RequestRecord> requests;
  bool ended = false;
};

}  // namespace testsupport
