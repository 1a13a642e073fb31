#include "form3.h"

#include <algorithm>
#include <array>
#include <string>

#include "form1.h"
#include "module1.h"
#include "options.h"
#include "shell/folders.h"
#include "suite/addedit.h"

namespace dialogra {
namespace {

using forms::CheckBox;
using forms::Frame;
using forms::Label;
using forms::OptionButton;
using forms::TextBox;
using forms::VScrollBar;

// The skin controls must be known before the form's description is read.
const char* Description() {
  controls::Register();
  return ":/forms/dialogra/Form3.json";
}

// A stored value that the control cannot show is brought into its range;
// the form then opens whatever an edited store holds.
std::int16_t Clamp(std::int16_t v, int lo, int hi) {
  return static_cast<std::int16_t>(std::clamp<int>(v, lo, hi));
}

int CheckValue(std::int16_t v) {
  return v == 0 ? 0 : 1;
}

}  // namespace

Form3::Form3()
    : Form(Description()),
      xp_canvas1(Get<controls::xp_canvas>("xp_canvas1")),
      xptopbuttons1(Get<controls::xptopbuttons>("xptopbuttons1")),
      Frame1(Get<Frame>("Frame1")),
      Frame2(Get<Frame>("Frame2")),
      Frame3(Get<Frame>("Frame3")),
      Frame4(Get<Frame>("Frame4")),
      Frame5(Get<Frame>("Frame5")),
      Label1(Get<Label>("Label1")),
      Label2(Get<Label>("Label2")),
      Label3(Get<Label>("Label3")),
      Label4(Get<Label>("Label4")),
      Label7(Get<Label>("Label7")),
      Text1(Array<TextBox>("Text1")),
      VScroll1(Get<VScrollBar>("VScroll1")),
      VScroll2(Get<VScrollBar>("VScroll2")),
      VScroll3(Get<VScrollBar>("VScroll3")),
      Check1(Get<CheckBox>("Check1")),
      Check3(Get<CheckBox>("Check3")),
      Check4(Get<CheckBox>("Check4")),
      Check5(Get<CheckBox>("Check5")),
      Option1(Array<OptionButton>("Option1")),
      Option2(Array<OptionButton>("Option2")),
      Option3(Array<OptionButton>("Option3")),
      xpcmdbutton1(Get<controls::xpcmdbutton>("xpcmdbutton1")),
      File1(Get<forms::FileListBox>("File1")) {
  Check1.Click = [this] { Check1_Click(); };
  Check3.Click = [this] { Check3_Click(); };
  Check4.Click = [this] { Check4_Click(); };
  Check5.Click = [this] { Check5_Click(); };
  for (auto& [index, option] : Option2) option->Click = [this] { Option2_Click(); };
  VScroll1.Change = [this] { VScroll1_Change(); };
  VScroll2.Change = [this] { VScroll2_Change(); };
  VScroll3.Change = [this] { VScroll3_Change(); };
  File1.Click = [this] { File1_Click(); };
  xpcmdbutton1.Click = [this] { xpcmdbutton1_Click(); };
  xptopbuttons1.Click = [this] { xptopbuttons1_Click(); };
}

std::string Form3::GetWindowsDirectorys() {
  std::array<char, 260> buffer{};
  shell::GetWindowsDirectoryA(buffer.data(), static_cast<unsigned>(buffer.size()));
  return std::string(buffer.data()) + "\\";
}

void Form3::Form_Load() {
  Module& m = module();
  Form1& bar = forms::Forms::Get<Form1>();
  m.PlayTimes = Clamp(m.PlayTimes, 1, 12);
  m.etime = Clamp(m.etime, 5, 15);
  m.ctime = Clamp(m.ctime, 3, 15);
  m.LessonIndex = Clamp(m.LessonIndex, 0, kLessons - 1);

  // 1. While the form is open the study cycle stands and the menu is off.
  bar.Image1.Enabled(false);
  bar.Timer5.Enabled(false);
  // 2, 3. The characters to choose from, and the one in use.
  File1.Path(GetWindowsDirectorys() + "msagent\\chars");
  Label7.Caption(ReadSetting("Agent", "Merlin") + ".acs");
  // 4, 5.
  for (auto& [index, option] : Option1) option->Enabled(true);
  Check3.Enabled(!Option2[0].Value());
  // 6. Each box's Click copies its value back, so the options stay as they are.
  Check1.Value(CheckValue(m.ssave));
  Check3.Value(CheckValue(m.psave));
  Check4.Value(CheckValue(m.visi));
  Check5.Value(CheckValue(m.mark));
  // 7, 8.
  Text1[0].Text(std::to_string(m.PlayTimes));
  Text1[1].Text(std::to_string(m.etime));
  Text1[2].Text(std::to_string(m.ctime));
  VScroll1.Value(m.PlayTimes);
  VScroll2.Value(m.etime);
  VScroll3.Value(m.ctime);
  // 9, 10, 11.
  Option2[0].Value(m.rd == 0);
  Option2[1].Value(m.rd != 0);
  Option3[0].Value(m.ce == 1);
  Option3[1].Value(m.ce != 1);
  Option1[m.LessonIndex].Value(true);
}

void Form3::Form_Resize() {
  if (WindowState() == forms::vbMinimized) return;
  xp_canvas1.make_trans(*this);
}

void Form3::Check1_Click() {
  module().ssave = static_cast<std::int16_t>(Check1.Value());
}
void Form3::Check3_Click() {
  module().psave = static_cast<std::int16_t>(Check3.Value());
}
void Form3::Check4_Click() {
  module().visi = static_cast<std::int16_t>(Check4.Value());
}
void Form3::Check5_Click() {
  module().mark = static_cast<std::int16_t>(Check5.Value());
}

void Form3::Option2_Click() {
  // The schedule is kept only in sequence order.
  Check3.Enabled(!Option2[0].Value());
}

void Form3::VScroll1_Change() {
  Text1[0].Text(std::to_string(VScroll1.Value()));
}
void Form3::VScroll2_Change() {
  Text1[1].Text(std::to_string(VScroll2.Value()));
}
void Form3::VScroll3_Change() {
  Text1[2].Text(std::to_string(VScroll3.Value()));
}

void Form3::File1_Click() {
  const std::string file = File1.FileName();
  if (file.empty()) {
    forms::MsgBox("Please select an Agent");
    return;
  }
  const std::string name = file.substr(0, file.size() >= 4 ? file.size() - 4 : 0);
  Form1& bar = forms::Forms::Get<Form1>();
  const std::string previous = module().AgentName;
  bar.hideagent();
  if (auto failure = bar.TryLoadCharacter(name)) {
    // The choice is not kept: the store goes on naming a character that loads.
    forms::MsgBox("The character file " + file + " could not be loaded, so " +
                      (previous.empty() ? std::string("the bar goes on without it") : previous) +
                      " stays.\n\n" + *failure,
                  forms::vbExclamation);
    if (!previous.empty()) bar.TryLoadCharacter(previous);
    return;
  }
  WriteSetting("Agent", name);
}

void Form3::xpcmdbutton1_Click() {
  ShowWordBookEditor(DialograBook());
}

void Form3::xptopbuttons1_Click() {
  forms::Unload(*this);
}

void Form3::Form_Unload(int& /*Cancel*/) {
  Module& m = module();
  Form1& bar = forms::Forms::Get<Form1>();
  // 1. During the intro the study timer stays off: the intro starts it.
  bar.Image1.Enabled(true);
  if (m.IntroCountdown <= 2) bar.Timer5.Enabled(true);
  // 2. Moving to all lessons with the schedule kept starts them from the
  // beginning.
  if (m.LessonIndex != 0 && Check3.Value() == 1 && Option1[0].Value()) m.guagen = 10101;
  // 3 to 6.
  for (int i = 0; i < kLessons; ++i) {
    if (Option1[i].Value()) {
      m.LessonIndex = static_cast<std::int16_t>(i);
      break;
    }
  }
  if (Option2[0].Value()) {
    m.rd = 0;
    Check3.Enabled(false);
  } else {
    m.rd = 1;
    Check3.Enabled(true);
  }
  m.ce = Option3[0].Value() ? 1 : 0;
  m.PlayTimes = static_cast<std::int16_t>(VScroll1.Value());
  m.etime = static_cast<std::int16_t>(VScroll2.Value());
  m.ctime = static_cast<std::int16_t>(VScroll3.Value());
  // 7.
  if (m.ssave != 0) SaveSettings();
}

void Form3::SaveSettings() {
  const Module& m = module();
  SetAutoStart();
  const std::pair<const char*, std::int16_t> values[] = {
      {"ce", m.ce},       {"n", m.PlayTimes}, {"ctime", m.ctime},
      {"etime", m.etime}, {"rd", m.rd},       {"psave", m.psave},
      {"ssave", m.ssave}, {"visi", m.visi},   {"guage", m.LessonIndex},
      {"red", m.red},     {"mark", m.mark},
  };
  for (const auto& [key, value] : values) WriteSetting(key, std::to_string(value));
  WriteSetting("xxx", "1");
}

}  // namespace dialogra
