#pragma once

// The settings form: how often and how long each pair is shown, the order
// of the lines, sequence or random order, the lesson, auto hide, start at
// logon, what is saved, and which character speaks. Its choices reach the
// running bar when it closes, and the store only when saving is ticked.

#include <string>

#include "controls/controls.h"
#include "forms/forms.h"

namespace dialogra {

class Form3 : public forms::Form {
 public:
  Form3();

  // The system folder (that holds msagent\chars) with a trailing "\".
  static std::string GetWindowsDirectorys();

  // Controls.
  controls::xp_canvas& xp_canvas1;
  controls::xptopbuttons& xptopbuttons1;
  forms::Frame& Frame1;
  forms::Frame& Frame2;
  forms::Frame& Frame3;
  forms::Frame& Frame4;
  forms::Frame& Frame5;
  forms::Label& Label1;
  forms::Label& Label2;
  forms::Label& Label3;
  forms::Label& Label4;
  forms::Label& Label7;
  forms::ControlArray<forms::TextBox>& Text1;
  forms::VScrollBar& VScroll1;
  forms::VScrollBar& VScroll2;
  forms::VScrollBar& VScroll3;
  forms::CheckBox& Check1;
  forms::CheckBox& Check3;
  forms::CheckBox& Check4;
  forms::CheckBox& Check5;
  forms::ControlArray<forms::OptionButton>& Option1;
  forms::ControlArray<forms::OptionButton>& Option2;
  forms::ControlArray<forms::OptionButton>& Option3;
  controls::xpcmdbutton& xpcmdbutton1;
  forms::FileListBox& File1;

  static constexpr int kLessons = 21;

  // Event procedures, public so that tests drive them as clicks would.
  void Check1_Click();
  void Check3_Click();
  void Check4_Click();
  void Check5_Click();
  void Option2_Click();
  void VScroll1_Change();
  void VScroll2_Change();
  void VScroll3_Change();
  void File1_Click();
  void xpcmdbutton1_Click();
  void xptopbuttons1_Click();

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(int& Cancel) override;

 private:
  void SaveSettings();
};

}  // namespace dialogra
