#include "frm_about.h"

#include <cmath>

#include "suite/maker.h"
#include "version.h"

namespace ornatek {

frmAbout::frmAbout()
    : Form(":/forms/ornatek/frmAbout.json"),
      Picture1(Get<forms::PictureBox>("Picture1")),
      Label5(Get<forms::Label>("Label5")),
      Label1(Get<forms::Label>("Label1")),
      lblVersion(Get<forms::Label>("lblVersion")),
      Label3(Get<forms::Label>("Label3")),
      Label4(Get<forms::Label>("Label4")),
      Label2(Get<forms::Label>("Label2")),
      lblMail(Array<forms::Label>("lblMail")),
      dnbOK(Get<forms::CommandButton>("dnbOK")) {
  lblMail[0].Caption(suite::maker::kWebPage);
  lblMail[1].Caption(suite::maker::kLibraryPage);
  lblMail[2].Caption(suite::maker::kMail);
  lblMail[3].Caption(suite::maker::kSupportMail);
  for (const auto& [index, label] : lblMail) {
    const int i = index;
    label->Click = [this, i] { lblMail_Click(i); };
  }
  dnbOK.Click = [this] { forms::Unload(*this); };
}

void frmAbout::Form_Load() {
  lblVersion.Caption("版本 " + std::to_string(version::kVersionMajor) + "." +
                     std::to_string(version::kVersionMinor) + "." +
                     std::to_string(version::kVersionRevision));
  try {
    const auto half = [](float free) {
      return static_cast<float>(static_cast<long>(std::nearbyint(free)) / 2);
    };
    Move(half(forms::Screen::Width() - Width()), half(forms::Screen::Height() - Height()));
  } catch (const forms::RuntimeError&) {
    // A form that cannot be moved stays where it is.
  }
}

std::string LinkTarget(const std::string& caption) {
  if (caption.starts_with("http://") || caption.starts_with("https://")) return caption;
  return "mailto:" + caption;
}

void frmAbout::lblMail_Click(int Index) {
  forms::ShellOpen(hWnd(), nullptr, LinkTarget(lblMail[Index].Caption()), "C:\\");
}

void ShowAbout() {
  forms::Forms::Get<frmAbout>().Show(forms::vbModal);
}

}  // namespace ornatek
