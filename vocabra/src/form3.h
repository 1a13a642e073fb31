#pragma once

// The word trainer's settings form: its options and the choice among the 36
// word sources. Closing it hands the choices to the running program and, with
// its save option on, to the settings store and the start-at-logon entry.

#include "controls/controls.h"
#include "forms/forms.h"

namespace vocabra {

class Form3 : public forms::Form {
 public:
  Form3();

  controls::xp_canvas& xp_canvas1;
  controls::xptopbuttons& xptopbuttons1;
  forms::CheckBox& Check1;
  forms::CheckBox& Check2;
  forms::CheckBox& Check3;
  forms::CheckBox& Check5;
  forms::Label& Label2;
  forms::ControlArray<forms::TextBox>& Text1;
  forms::VScrollBar& VScroll2;
  forms::ControlArray<forms::OptionButton>& Option1;

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(int& Cancel) override;

 private:
  void VScroll2_Change();
};

}  // namespace vocabra
