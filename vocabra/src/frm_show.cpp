// The word window's start-up, its character and its end.

#include "frm_show.h"

#include "options.h"
#include "ornatek/menu_control_host.h"
#include "suite/trainer_settings.h"
#include "word_sources.h"

namespace vocabra {

using namespace forms;

namespace {

// The menu control's class must be known before the form makes its controls.
const char* FrmShowDescription() {
  ornatek::UseMenuControlClass();
  return ":/forms/vocabra/FrmShow.json";
}

}  // namespace

FrmShow::FrmShow()
    : Form(FrmShowDescription()),
      Shape1(Get<Shape>("Shape1")),
      LB(Get<Label>("LB")),
      lb0(Get<Label>("lb0")),
      YinPiaoLbl(Get<Label>("YinPiaoLbl")),
      EnglishWordLbl(Get<Label>("EnglishWordLbl")),
      Data1(Get<DataControl>("Data1")),
      Timer6(Get<FormTimer>("Timer6")),
      mnumain(Get<Menu>("mnumain")),
      mnustop(Get<Menu>("mnustop")),
      mnusetup(Get<Menu>("mnusetup")),
      mnu_hlp(Get<Menu>("mnu_hlp")),
      amewords(Get<Menu>("amewords")),
      managewords(Get<Menu>("managewords")),
      mnuhelp(Get<Menu>("mnuhelp")),
      mnuwebsite(Get<Menu>("mnuwebsite")),
      mnuemail(Get<Menu>("mnuemail")),
      aboutus(Get<Menu>("aboutus")),
      mnuquit(Get<Menu>("mnuquit")) {
  Timer6.Timer = [this] { Timer6_Timer(); };
  YinPiaoLbl.Change = [this] { YinPiaoLbl_Change(); };
  LB.MouseDown = [this](int& button, int&, float&, float&) { LB_MouseDown(button); };
  // A source that cannot be opened is met again at every tick; the window
  // shows nothing new until it opens, and says once what is wrong.
  Data1.Error = [this](int& number, int& response) {
    response = 0;
    sourceNotice_.Failed(Data1.DatabaseName(),
                         dao::Error(number, dao::ErrorText(number, Data1.DatabaseName())));
  };
  mnustop.Click = [this] { mnustop_Click(); };
  mnusetup.Click = [this] { mnusetup_Click(); };
  mnu_hlp.Click = [this] { mnu_hlp_Click(); };
  amewords.Click = [this] { amewords_Click(); };
  managewords.Click = [this] { managewords_Click(); };
  mnuhelp.Click = [this] { mnuhelp_Click(); };
  mnuwebsite.Click = [this] { mnuwebsite_Click(); };
  mnuemail.Click = [this] { mnuemail_Click(); };
  aboutus.Click = [this] { aboutus_Click(); };
  mnuquit.Click = [this] { mnuquit_Click(); };
}

void FrmShow::Form_Load() {
  Module& m = module();
  // 1. One word window per user: a second copy brings the first forward and
  // ends.
  dialogra::EndIfAnotherCopyRuns();
  // 2, 3. Settings.
  dialogra::FirstRunBlock();
  ReadOptions(m);
  forms::ShowSettingsNotices();
  // 4. The character, beside the conversation trainer's, which is studied
  // at the same time.
  Agent1.Characters().StartPlace(1);
  LoadCharacter();
  // 5. The word source and the study timer.
  ChooseWordSource();
  Timer6.Interval(m.ctimeword * 1000);
  Timer6.Enabled(true);
  // 6. On top or not, where it stands.
  win::SetWindowPos(hWnd(), m.ontopword != 0 ? win::HWND_TOPMOST : win::HWND_NOTOPMOST, 0, 0, 0, 0,
                    win::SWP_NOMOVE | win::SWP_NOSIZE);
  // 7, 8.
  SetMenuBitmaps();
  LB.Top(80);
  LB.Left(60);
}

void FrmShow::LoadCharacter() {
  Module& m = module();
  mobjAgent.reset();
  try {
    Agent1.Characters().Load(m.AgentName, m.AgentName + ".acs");
    mobjAgent = Agent1.Characters()(m.AgentName);
    mobjAgent->Show();
    mobjAgent->SetLanguageID(agent::kItalian);
  } catch (const agent::Error& e) {
    // Without its character the trainer still shows the words, silently.
    mobjAgent.reset();
    MsgBox(std::string("The character could not be used, so the words go on without speech.\n\n") +
               e.what(),
           vbExclamation);
  }
}

void FrmShow::SetMenuBitmaps() {
  // Without the menu control's library the menu is plain: said once, then on.
  if (const std::string& error = ornatek::UseMenuControlClass(); !error.empty())
    MsgBox(ornatek::MenuControlNotice(error), vbExclamation);
  // The hide/show item gets no picture.
  static constexpr ornatek::MenuIconCall kCalls[] = {
      {"mnustop", "ico1"},  {"mnusetup", "ico2"},   {"managewords", "ico3"},
      {"mnuhelp", "ico5"},  {"mnuwebsite", "ico6"}, {"mnuemail", "ico7"},
      {"mnuquit", "ico11"}, {"aboutus", "ico10"},   {"amewords", "ico4"}};
  ornatek::AssignMenuIcons(*this, "VIroDazu1", *this, kCalls);
}

void FrmShow::Form_Unload(int&) {
  if (mobjAgent) {
    try {
      mobjAgent->Hide();
    } catch (const agent::Error&) {
      // A character that cannot be hidden is gone already or goes with the program.
    }
  }
  forms::End();
}

}  // namespace vocabra
