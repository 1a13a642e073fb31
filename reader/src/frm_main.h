#pragma once

// The reader's one form: the character reads the typed text, or every text
// copied to the clipboard while automatic reading is on.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "agent/agent.h"
#include "controls/controls.h"
#include "forms/forms.h"

namespace reader {

// The greeting for an hour of the day (0 to 23).
std::string_view GreetingFor(int hour);

class frmMain : public forms::Form {
 public:
  frmMain();

  // The loaded character, or null while none could be loaded.
  std::shared_ptr<agent::Character> agentCharacter;
  std::string characterName;
  agent::AgentControl Agent;

  // The Windows directory as the suite's paths expect it, ending in "\".
  std::string GetWindowsDirectorys() const;

  // The hour the greeting follows; the local clock unless a test sets it.
  std::function<int()> CurrentHour;

  // Controls.
  controls::xp_canvas& xp_canvas1;
  controls::xptopbuttons& xptopbuttons1;
  forms::Label& Label3;
  forms::CheckBox& chkAutoReadClip;
  forms::Frame& Frame1;
  forms::TextBox& txtTextToRead;
  controls::xpcmdbutton& Exit;
  controls::xpcmdbutton& lblRead;
  controls::xpcmdbutton& lblStop;
  controls::xpcmdbutton& Label1;
  forms::FileListBox& File1;
  forms::FormTimer& Timer1;
  forms::Image& Image1;

  // Event procedures, public so that tests drive them as the user would.
  void chkAutoReadClip_Click();
  void Timer1_Timer();
  void lblRead_Click();
  void lblStop_Click();
  void Label1_Click();
  void File1_Click();

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(int& Cancel) override;

 private:
  void ShowCharacter();
  void Greet();
  void PlayAndSpeak(std::string_view animation, std::string_view text);
  void WaitForFarewell();
  // Longest wait for the character's farewell before the program ends.
  static constexpr std::chrono::seconds kFarewellLimit{5};
  void ReadCopiedText(const std::string& text);
  // Runs a character request; a failing one is skipped, as speech is not
  // worth stopping the reader for.
  template <typename F>
  void Request(F&& request);

  // The poll's reads: a clipboard owner that does not answer keeps only the
  // read waiting, never the form.
  forms::ClipboardReader clipboardReader_{
      [this](const std::string& text) { ReadCopiedText(text); }};
};

}  // namespace reader
