#pragma once

// The bar: the conversation trainer's main form, a slim topmost strip at the
// top of the screen where the sentence pairs are shown and spoken.

#include <memory>
#include <optional>
#include <string>

#include "agent/agent.h"
#include "dao/dao.h"
#include "forms/forms.h"
#include "suite/addedit_failure.h"

namespace dialogra {

class Form1 : public forms::Form {
 public:
  Form1();

  // The loaded character, or null when none could be loaded.
  std::shared_ptr<agent::Character> mobjAgent;
  agent::AgentControl Agent1;

  void Get_Windows_Rect();
  void hideagent();
  void showagent();
  // Loads `name` as the bar's character and shows it. On failure the bar
  // has no character and the reason, which names the file, is returned.
  std::optional<std::string> TryLoadCharacter(const std::string& name);

  // Controls.
  forms::DataControl& Data1;
  forms::FormTimer& Timer1;
  forms::FormTimer& Timer2;
  forms::FormTimer& Timer3;
  forms::FormTimer& Timer4;
  forms::FormTimer& Timer5;
  forms::FormTimer& Timer6;
  forms::Image& Image1;
  forms::ControlArray<forms::Image>& Image2;
  forms::Label& Label1;
  forms::Label& Label2;
  forms::Label& Label3;
  forms::Label& Label4;
  forms::Label& Label5;
  forms::Label& Label6;
  forms::Shape& Shape1;

  // Bar state.
  std::int16_t BarHeight = 340;
  bool Dragging = false;
  win::RECT WindowRect;
  win::POINT CursorPos;
  win::POINT DragOffset;
  std::int16_t StripColour1 = 10;
  std::int16_t StripColour2 = 12;
  std::int16_t StripColour3 = 10;

  // The current sentence pair.
  std::string ItalianText;
  std::string EnglishText;
  std::int16_t RandomId = 0;
  std::int16_t ScrollStep = 0;

  // The welcome line of the intro.
  static constexpr const char* kWelcome = " Welcome to use Tavrinel V2.6.";

  // Timer and picture events, public so that tests can drive them as the
  // timers would.
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  void Timer4_Timer();
  void Timer5_Timer();
  void Timer6_Timer();
  void Image2_Click(int Index);
  void Image1_MouseMove();
  void NextSentence();
  void BindWordBook();

 protected:
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;

 private:
  void LoadCharacter();
  void SpeechStep();
  // The most leading blanks (up to 36) that leave `text` on one line of Label1.
  std::size_t MostBlanksBefore(const std::string& text);
  bool LoadPair(int italianId, int shownId);
  void WordBookPick();
  void TakeBoundPair();
  void SetMenuBitmaps();
  void DragDown();
  void DragMove();
  void DragUp();

  // The word book's database and record set of the last word-book pick.
  dao::Database db;
  dao::Recordset rsData;
  // A word book that cannot be opened is said once, and tried at every pick.
  OpenFailureNotice wordBookNotice_;
  // The last line MostBlanksBefore measured, and what it found.
  struct ScrollFit {
    std::string text;
    float width = -1;
    forms::Font font;
    std::size_t blanks = 0;
  };
  ScrollFit scrollFit_;
};

}  // namespace dialogra
