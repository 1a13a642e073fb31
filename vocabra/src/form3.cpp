#include "form3.h"

#include <string>

#include "module1.h"
#include "options.h"
#include "suite/trainer_settings.h"
#include "word_sources.h"

namespace vocabra {

using namespace forms;

namespace {

std::string Text(std::int16_t v) {
  return std::to_string(v);
}

}  // namespace

Form3::Form3()
    : Form(":/forms/vocabra/Form3.json"),
      xp_canvas1(Get<controls::xp_canvas>("xp_canvas1")),
      xptopbuttons1(Get<controls::xptopbuttons>("xptopbuttons1")),
      Check1(Get<CheckBox>("Check1")),
      Check2(Get<CheckBox>("Check2")),
      Check3(Get<CheckBox>("Check3")),
      Check5(Get<CheckBox>("Check5")),
      Label2(Get<Label>("Label2")),
      Text1(Array<TextBox>("Text1")),
      VScroll2(Get<VScrollBar>("VScroll2")),
      Option1(Array<OptionButton>("Option1")) {
  // The categories' captions come from the table of word sources, which also
  // gives the category each one selects.
  for (int i = kFirstCategory; i <= kLastCategory; ++i)
    Option1[i].Caption(WordSources()[i].caption);
  // The boxes act on the running program at once.
  Check1.Click = [this] { module().ssaveword = static_cast<std::int16_t>(Check1.Value()); };
  Check2.Click = [this] { module().ontopword = static_cast<std::int16_t>(Check2.Value()); };
  Check3.Click = [this] { module().twovoice = static_cast<std::int16_t>(Check3.Value()); };
  Check5.Click = [this] { module().markword = static_cast<std::int16_t>(Check5.Value()); };
  VScroll2.Change = [this] { VScroll2_Change(); };
  xptopbuttons1.Click = [this] { Unload(*this); };
}

// The caption's rounded corners let the desktop show through.
void Form3::Form_Resize() {
  if (WindowState() != forms::vbMinimized) xp_canvas1.make_trans(*this);
}

void Form3::Form_Load() {
  const Module& m = module();
  for (auto& [index, option] : Option1) option->Enabled(true);
  // A box holds 0 or 1; anything else a store may hold shows as cleared.
  Check1.Value(m.ssaveword == 1);
  Check5.Value(m.markword == 1);
  Check2.Value(m.ontopword == 1);
  Check3.Value(m.twovoice == 1);
  Text1[1].Text(Text(m.ctimeword));
  VScroll2.Value(m.ctimeword);
  Option1[m.guageword].Value(true);
}

void Form3::VScroll2_Change() {
  Text1[1].Text(std::to_string(VScroll2.Value()));
}

void Form3::Form_Unload(int&) {
  Module& m = module();
  for (auto& [index, option] : Option1)
    if (option->Value()) m.guageword = static_cast<std::int16_t>(index);
  m.ctimeword = static_cast<std::int16_t>(VScroll2.Value());
  if (m.ssaveword != 0) {
    SetAutoStart();
    using dialogra::WriteSetting;
    WriteSetting("ctimeword", Text(m.ctimeword));
    WriteSetting("twovoice", Text(m.twovoice));
    WriteSetting("ontopword", Text(m.ontopword));
    WriteSetting("ssaveword", Text(m.ssaveword));
    WriteSetting("guageword", Text(m.guageword));
    WriteSetting("markword", Text(m.markword));
    WriteSetting("xxx", "1");
  }
}

}  // namespace vocabra
