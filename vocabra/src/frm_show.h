#pragma once

// The word window: the word trainer's main form, a small window without a
// title bar that shows one pair "English  |  Italian" and steps through its
// word source on a timer while the character speaks the words.

#include <memory>
#include <string>
#include <string_view>

#include "agent/agent.h"
#include "dao/dao.h"
#include "early_word_book.h"
#include "forms/forms.h"
#include "suite/addedit_failure.h"

namespace vocabra {

// The early book comes first, so that its opening starts before the form
// reads its description and makes its controls.
class FrmShow : private EarlyWordBook, public forms::Form {
 public:
  FrmShow();

  // The loaded character, or null when none could be loaded.
  std::shared_ptr<agent::Character> mobjAgent;
  agent::AgentControl Agent1;

  // Controls.
  forms::Shape& Shape1;
  forms::Label& LB;
  forms::Label& lb0;
  forms::Label& YinPiaoLbl;
  forms::Label& EnglishWordLbl;
  forms::DataControl& Data1;
  forms::FormTimer& Timer6;
  // The right-click menu and its items.
  forms::Menu& mnumain;
  forms::Menu& mnustop;
  forms::Menu& mnusetup;
  forms::Menu& mnu_hlp;
  forms::Menu& amewords;
  forms::Menu& managewords;
  forms::Menu& mnuhelp;
  forms::Menu& mnuwebsite;
  forms::Menu& mnuemail;
  forms::Menu& aboutus;
  forms::Menu& mnuquit;

  // Fits the label and the window to the pair and keeps the window inside
  // the screen horizontally.
  void AdjustSize();

  // Events, public so that tests can drive them as the timer and the mouse
  // would.
  void Timer6_Timer();
  void YinPiaoLbl_Change();
  void LB_MouseDown(int Button);

  // The menu's commands.
  void mnustop_Click();
  void mnusetup_Click();
  void mnu_hlp_Click();
  void amewords_Click();
  void managewords_Click();
  void mnuhelp_Click();
  void mnuwebsite_Click();
  void mnuemail_Click();
  void aboutus_Click();
  void mnuquit_Click();

  // The text the window shows for a pair.
  static std::string PairText(std::string_view english, std::string_view italian);
  // The longest a pair's line may be before it wraps, in twips.
  static constexpr float kWrapWidth = 2100;
  static constexpr float kMargin = 200;

 protected:
  void Form_Load() override;
  void Form_Unload(int& Cancel) override;
  void Form_MouseDown(int& Button, int& Shift, float& X, float& Y) override;

 private:
  void LoadCharacter();
  void ChooseWordSource();
  void BindCategorisedBook(int index);
  void BindWordBook();
  bool HasRecords();
  void SpeakPair(const std::string& english, const std::string& italian);
  // The right-click menu of the window, at the pointer.
  void ShowMenu();
  // Opens a file, program or address through the desktop; what it finds or
  // fails to find is not reported.
  void Open(const char* verb, const std::string& file, const std::string& folder = {});
  // Hands the menu's pictures to the menu control.
  void SetMenuBitmaps();

  // The own word book, opened at load to count its words and held until the
  // program ends.
  dao::Database db;
  dao::Recordset rsData;
  // A word source that cannot be opened is said once, and tried at every tick.
  dialogra::OpenFailureNotice sourceNotice_;
};

// The smaller of two values: a when b is greater than a, else b.
template <class A, class B>
auto MinOf(A a, B b) {
  return b > a ? a : b;
}

}  // namespace vocabra
