#pragma once

// The form that holds the bar's popup menu. It is never shown: the bar pops
// its menu up under the menu button, and the menu's commands run here.

#include "forms/forms.h"

namespace dialogra {

class Form2 : public forms::Form {
 public:
  Form2();

  forms::Menu& mnu_file;
  forms::Menu& mnu_sysset;
  forms::Menu& mnu_hlp;
  forms::Menu& managewords;
  forms::Menu& recite;
  forms::Menu& mnuhelp;
  forms::Menu& f1;
  forms::Menu& mnu_page;
  forms::Menu& mnu_email;
  forms::Menu& mnu_veri;
  forms::Menu& f2;
  forms::Menu& mnu_exit;

  static constexpr const char* kHideCaption = "&Hide MSAgent";
  static constexpr const char* kShowCaption = "&Show MSAgent";

  // The commands, public so that tests run them as a click on the item would.
  void mnu_sysset_Click();
  void mnu_hlp_Click();
  void managewords_Click();
  void recite_Click();
  void mnuhelp_Click();
  void mnu_page_Click();
  void mnu_email_Click();
  void mnu_veri_Click();
  void mnu_exit_Click();

 private:
  // Hands `file` to the desktop's shell; what it answers is of no concern.
  void Open(const char* verb, const std::string& file, const std::string& folder);
};

}  // namespace dialogra
