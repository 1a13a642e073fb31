// The bar's start-up, its character and its end.

#include "form1.h"

#include "form2.h"
#include "options.h"
#include "ornatek/menu_control_host.h"
#include "pictures.h"

namespace dialogra {

using namespace forms;

Form1::Form1()
    : Form(":/forms/dialogra/Form1.json"),
      Data1(Get<DataControl>("Data1")),
      Timer1(Get<FormTimer>("Timer1")),
      Timer2(Get<FormTimer>("Timer2")),
      Timer3(Get<FormTimer>("Timer3")),
      Timer4(Get<FormTimer>("Timer4")),
      Timer5(Get<FormTimer>("Timer5")),
      Timer6(Get<FormTimer>("Timer6")),
      Image1(Get<forms::Image>("Image1")),
      Image2(Array<forms::Image>("Image2")),
      Label1(Get<Label>("Label1")),
      Label2(Get<Label>("Label2")),
      Label3(Get<Label>("Label3")),
      Label4(Get<Label>("Label4")),
      Label5(Get<Label>("Label5")),
      Label6(Get<Label>("Label6")),
      Shape1(Get<Shape>("Shape1")) {
  Timer1.Timer = [this] { Timer1_Timer(); };
  Timer2.Timer = [this] { Timer2_Timer(); };
  Timer3.Timer = [this] { Timer3_Timer(); };
  Timer4.Timer = [this] { Timer4_Timer(); };
  Timer5.Timer = [this] { Timer5_Timer(); };
  Timer6.Timer = [this] { Timer6_Timer(); };
  for (auto& [index, image] : Image2) image->Click = [this, i = index] { Image2_Click(i); };
  Image1.MouseMove = [this](int&, int&, float&, float&) { Image1_MouseMove(); };
  // One dragging behaviour for the four lines of the bar, whatever the button.
  for (Label* l : {&Label1, &Label2, &Label3, &Label4}) {
    l->MouseDown = [this](int&, int&, float&, float&) { DragDown(); };
    l->MouseMove = [this](int&, int&, float&, float&) { DragMove(); };
    l->MouseUp = [this](int&, int&, float&, float&) { DragUp(); };
  }
}

void Form1::Form_Load() {
  Module& m = module();
  // 1. One bar per user: a second copy brings the first forward and ends.
  EndIfAnotherCopyRuns();
  // 2, 3. Settings.
  FirstRunBlock();
  ReadOptions(m);
  Left(ReadSingle("left"));
  forms::ShowSettingsNotices();
  // 4. The character, on the first spot of the programs that run together
  // (the word trainer and the dictionary take the next ones).
  Agent1.Characters().StartPlace(0);
  LoadCharacter();
  // 5. The bar stays hidden behind the splash.
  Top(0);
  Visible(false);
  // 6. The splash.
  Form4& splash = Forms::Get<Form4>();
  splash.Top(Screen::Height() / 2 - 1800);
  splash.Left(Screen::Width() / 2 - 1000);
  splash.Visible(true);
  // 7, 8. Timers and counters.
  Timer1.Interval(60);
  Timer2.Interval(1500);
  Timer3.Enabled(false);
  Timer4.Enabled(false);
  Timer5.Enabled(false);
  Timer6.Enabled(false);
  m.CycleTicks = 0;
  m.CyclePhase = 0;
  StripColour1 = 10;
  StripColour2 = 12;
  StripColour3 = 10;
  m.IntroCountdown = 70;
  // 9, 10.
  NextSentence();
  SetMenuBitmaps();
  // 11. Topmost, at its place in pixels.
  const double tppx = Screen::TwipsPerPixelX(), tppy = Screen::TwipsPerPixelY();
  win::SetWindowPos(hWnd(), win::HWND_TOPMOST, CLng(Left() / tppx),
                    static_cast<int>(CLng(Top()) / tppy), static_cast<int>(CLng(Width()) / tppx),
                    static_cast<int>(CLng(Height()) / tppy), 0);
  // 12.
  Get_Windows_Rect();
}

void Form1::LoadCharacter() {
  if (auto failure = TryLoadCharacter(module().AgentName)) {
    // Without its character the trainer still shows the lessons, silently.
    MsgBox(
        std::string("The character could not be used, so the lessons go on without speech.\n\n") +
            *failure,
        vbExclamation);
  }
}

std::optional<std::string> Form1::TryLoadCharacter(const std::string& name) {
  module().AgentName = name;
  mobjAgent.reset();
  try {
    Agent1.Characters().Load(name, name + ".acs");
    mobjAgent = Agent1.Characters()(name);
    mobjAgent->Show();
    mobjAgent->SetLanguageID(1040);
  } catch (const agent::Error& e) {
    mobjAgent.reset();
    return e.what();
  }
  return std::nullopt;
}

void Form1::SetMenuBitmaps() {
  // Without the menu control's library the menu is plain: said once, then on.
  if (const std::string& error = ornatek::UseMenuControlClass(); !error.empty())
    MsgBox(ornatek::MenuControlNotice(error), vbExclamation);
  static constexpr ornatek::MenuIconCall kCalls[] = {
      {"mnu_hlp", "ico1"},   {"mnu_sysset", "ico2"}, {"managewords", "ico4"},
      {"recite", "ico3"},    {"mnuhelp", "ico5"},    {"mnu_page", "ico6"},
      {"mnu_email", "ico7"}, {"mnu_exit", "ico11"},  {"mnu_veri", "ico10"}};
  ornatek::AssignMenuIcons(forms::Forms::Get<Form2>(), "VIroDazu1", *this, kCalls);
}

void Form1::hideagent() {
  if (mobjAgent) {
    try {
      mobjAgent->Hide();
    } catch (const agent::Error&) {
      // A character that cannot be hidden is gone already or goes with the program.
    }
  }
  DoEvents();
  Agent1.Characters().Unload(module().AgentName);
  mobjAgent.reset();
}

void Form1::showagent() {
  module().AgentName = ReadSetting("Agent", "Merlin");
  LoadCharacter();
}

void Form1::Form_Unload(int&) {
  hideagent();
  forms::End();
}

}  // namespace dialogra
