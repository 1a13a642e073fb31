#include "form2.h"

#include <string>

#include "form1.h"
#include "form3.h"
#include "options.h"
#include "ornatek/menu_control_host.h"
#include "pictures.h"
#include "shell/shell_execute.h"
#include "suite/addedit.h"
#include "suite/maker.h"

namespace dialogra {

using forms::Menu;

namespace {

// The menu control's class must be known before the form makes its controls.
const char* Form2Description() {
  ornatek::UseMenuControlClass();
  return ":/forms/dialogra/Form2.json";
}

}  // namespace

Form2::Form2()
    : Form(Form2Description()),
      mnu_file(Get<Menu>("mnu_file")),
      mnu_sysset(Get<Menu>("mnu_sysset")),
      mnu_hlp(Get<Menu>("mnu_hlp")),
      managewords(Get<Menu>("managewords")),
      recite(Get<Menu>("recite")),
      mnuhelp(Get<Menu>("mnuhelp")),
      f1(Get<Menu>("f1")),
      mnu_page(Get<Menu>("mnu_page")),
      mnu_email(Get<Menu>("mnu_email")),
      mnu_veri(Get<Menu>("mnu_veri")),
      f2(Get<Menu>("f2")),
      mnu_exit(Get<Menu>("mnu_exit")) {
  mnu_sysset.Click = [this] { mnu_sysset_Click(); };
  mnu_hlp.Click = [this] { mnu_hlp_Click(); };
  managewords.Click = [this] { managewords_Click(); };
  recite.Click = [this] { recite_Click(); };
  mnuhelp.Click = [this] { mnuhelp_Click(); };
  mnu_page.Click = [this] { mnu_page_Click(); };
  mnu_email.Click = [this] { mnu_email_Click(); };
  mnu_veri.Click = [this] { mnu_veri_Click(); };
  mnu_exit.Click = [this] { mnu_exit_Click(); };
}

void Form2::Open(const char* verb, const std::string& file, const std::string& folder) {
  forms::ShellOpen(hWnd(), verb, file, folder);
}

void Form2::mnu_sysset_Click() {
  Form3& settings = forms::Forms::Get<Form3>();
  settings.Top(forms::Screen::Height() / 2 - 3000);
  settings.Left(forms::Screen::Width() / 2 - 4000);
  settings.Visible(true);
}

void Form2::mnu_hlp_Click() {
  // The caption is the one record of whether the character is shown.
  Form1& bar = forms::Forms::Get<Form1>();
  const bool hide = mnu_hlp.Caption() == kHideCaption;
  if (bar.mobjAgent) {
    try {
      hide ? bar.mobjAgent->Hide() : bar.mobjAgent->Show();
    } catch (const agent::Error&) {
      // A character that cannot be shown or hidden changes nothing visible.
    }
  }
  mnu_hlp.Caption(hide ? kShowCaption : kHideCaption);
}

void Form2::managewords_Click() {
  ShowWordBookEditor(DialograBook());
}

void Form2::recite_Click() {
  Open("open", forms::App::Path() + "\\Reader.exe", "");
}

void Form2::mnuhelp_Click() {
  Open("open", forms::App::Path() + "\\help.hlp", "");
}

void Form2::mnu_page_Click() {
  Open("Open", suite::maker::kWebPage, forms::App::Path());
}

void Form2::mnu_email_Click() {
  Open("Open", std::string("mailto:") + suite::maker::kMail, forms::App::Path());
}

void Form2::mnu_veri_Click() {
  forms::Forms::Get<Form7>().Visible(true);
}

void Form2::mnu_exit_Click() {
  const Module& m = module();
  WriteSetting("voice", std::to_string(m.SpeechOn));
  WriteSetting("left", SingleText(forms::Forms::Get<Form1>().Left()));
  if (m.psave == 1 && m.rd == 1) WriteSetting("guagen", std::to_string(m.guagen));
  // No closing step runs: the character goes away with the process.
  forms::End();
}

}  // namespace dialogra
