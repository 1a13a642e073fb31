#pragma once

// The dictionary's one form: finds the words that begin with a typed text in
// the English or the Italian column, lists them, and speaks the Italian word.

#include <memory>
#include <string>

#include "agent/agent.h"
#include "controls/controls.h"
#include "dao/dao.h"
#include "forms/forms.h"

namespace dictionary {

class Form1 : public forms::Form {
 public:
  Form1();

  // The loaded character, or null when none could be loaded.
  std::shared_ptr<agent::Character> agentCharacter;
  std::string characterName;
  agent::AgentControl Agent;

  // The latest search: its database, result and query.
  dao::Database dictDatabase;
  dao::Recordset dictRecordset;
  std::string searchSql;
  dao::Bookmark firstBookmark;

  // Controls.
  controls::xp_canvas& xp_canvas1;
  controls::xptopbuttons& xptopbuttons1;
  forms::TextBox& Text1;
  forms::TextBox& Text2;
  controls::xpcmdbutton& xpcmdbutton1;
  forms::TextBox& Text9;
  forms::ComboBox& Combo1;
  controls::xpcmdbutton& Command1;
  forms::TextBox& Text4;
  forms::ListBox& List1;

  // Event procedures, public so that tests drive them as the user would.
  void Command1_Click();
  void List1_Click();
  void xpcmdbutton1_Click();

 protected:
  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload(int& Cancel) override;

 private:
  // Ends a search that cannot run: an empty list, no result to click.
  void SearchFailed(const std::string& message);
  void ShowCurrent();
};

}  // namespace dictionary
