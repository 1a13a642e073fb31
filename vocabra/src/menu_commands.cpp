// The word window's right-click menu and its commands.

#include <string>

#include "form3.h"
#include "form4.h"
#include "frm_show.h"
#include "shell/folders.h"
#include "shell/shell_execute.h"
#include "suite/addedit.h"
#include "suite/maker.h"

namespace vocabra {

using namespace forms;

namespace {

constexpr const char* kPause = "&Pause";
constexpr const char* kContinue = "&Continue";
constexpr const char* kHideCharacter = "&Hide MSAgent";
constexpr const char* kShowCharacter = "&Show MSAgent";

std::string ProgramFile(std::string_view name) {
  return App::Path() + "\\" + std::string(name);
}

}  // namespace

void FrmShow::ShowMenu() {
  PopupMenu(mnumain);
}

void FrmShow::Open(const char* verb, const std::string& file, const std::string& folder) {
  forms::ShellOpen(hWnd(), verb, file, folder);
}

void FrmShow::mnustop_Click() {
  // The caption is the one record of whether the words are paused.
  if (mnustop.Caption() != kPause) {
    mnustop.Caption(kPause);
    Timer6.Enabled(true);
  } else {
    Timer6.Enabled(false);
    mnustop.Caption(kContinue);
  }
}

void FrmShow::mnusetup_Click() {
  Forms::Get<Form3>().Show(vbModal, this);
}

void FrmShow::mnu_hlp_Click() {
  const bool show = mnu_hlp.Caption() != kHideCharacter;
  if (mobjAgent) {
    try {
      if (show)
        mobjAgent->Show();
      else
        mobjAgent->Hide();
    } catch (const agent::Error&) {
      // The menu still toggles; a character that fails to show or hide is let go.
    }
  }
  mnu_hlp.Caption(show ? kHideCharacter : kShowCharacter);
}

void FrmShow::amewords_Click() {
  // The word-book manager opens the categorised book for itself alone, so
  // the window lets go of every book it holds before the manager starts.
  Data1.DatabaseName("");
  try {
    // Refresh closes what the control holds; with no name it opens nothing.
    Data1.Refresh();
  } catch (const dao::Error&) {
    // With no name nothing opens; what it held is let go either way.
  }
  rsData = {};
  db.Close();
  const std::string manager = ProgramFile("Lexipen.exe");
  const auto started =
      shell::ShellExecuteA(hWnd(), "open", manager.c_str(), "", "", shell::SW_SHOWNORMAL);
  // The trainer ends either way; a manager that did not start is told, or
  // the trainer would seem to vanish for nothing.
  // The message names the program file as the user finds it in the folder.
  if (started <= 32)
    MsgBox("The word-book manager \"" + (shell::NativePath(App::Path()) / "Lexipen").string() +
               "\" could not be started: " +
               (started == shell::SE_ERR_FNF || started == shell::SE_ERR_PNF
                    ? std::string("the program is not there.")
                    : std::string("the system refused to run it.")),
           vbExclamation);
  End();
}

void FrmShow::managewords_Click() {
  dialogra::ShowWordBookEditor(dialogra::VocabraBook(), vbModeless, this);
}

void FrmShow::mnuhelp_Click() {
  Open("open", ProgramFile("help.hlp"));
}

void FrmShow::mnuwebsite_Click() {
  Open("Open", suite::maker::kWebPage, App::Path());
}

void FrmShow::mnuemail_Click() {
  Open("Open", std::string("mailto:") + suite::maker::kMail, App::Path());
}

void FrmShow::aboutus_Click() {
  Forms::Get<Form4>().Show(vbModal, this);
}

void FrmShow::mnuquit_Click() {
  // At once: nothing is stored and the character is not hidden first.
  End();
}

}  // namespace vocabra
