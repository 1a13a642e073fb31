#pragma once

// The library's about box: its emblem, name and version, and the maker's web
// and mail links, which open in the desktop's browser or mail program.

#include <string>

#include "forms/forms.h"

namespace ornatek {

class frmAbout : public forms::Form {
 public:
  frmAbout();

  forms::PictureBox& Picture1;
  forms::Label& Label5;
  forms::Label& Label1;
  forms::Label& lblVersion;
  forms::Label& Label3;
  forms::Label& Label4;
  forms::Label& Label2;
  forms::ControlArray<forms::Label>& lblMail;
  forms::CommandButton& dnbOK;

  void lblMail_Click(int Index);

 protected:
  void Form_Load() override;
};

// What the about box hands to the shell for a link caption: web addresses
// ("http://" or "https://") as they stand, anything else as a mail address.
std::string LinkTarget(const std::string& caption);

// Shows the about box modally (the menu control's About, the property page's button).
void ShowAbout();

}  // namespace ornatek
