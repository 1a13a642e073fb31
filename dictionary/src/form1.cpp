#include "form1.h"

#include "suite/character_loader.h"
#include "word_query.h"

namespace dictionary {

using namespace forms;

Form1::Form1()
    : Form(":/forms/dictionary/Form1.json"),
      xp_canvas1(Get<controls::xp_canvas>("xp_canvas1")),
      xptopbuttons1(Get<controls::xptopbuttons>("xptopbuttons1")),
      Text1(Get<TextBox>("Text1")),
      Text2(Get<TextBox>("Text2")),
      xpcmdbutton1(Get<controls::xpcmdbutton>("xpcmdbutton1")),
      Text9(Get<TextBox>("Text9")),
      Combo1(Get<ComboBox>("Combo1")),
      Command1(Get<controls::xpcmdbutton>("Command1")),
      Text4(Get<TextBox>("Text4")),
      List1(Get<ListBox>("List1")) {
  // The searched column comes only from these two entries: the box is a
  // drop-down list, so no typed column name reaches the query.
  Combo1.AddItem("English");
  Combo1.AddItem("Italian");
  Command1.Click = [this] { Command1_Click(); };
  List1.Click = [this] { List1_Click(); };
  xpcmdbutton1.Click = [this] { xpcmdbutton1_Click(); };
  xptopbuttons1.Click = [this] { Unload(*this); };
}

// The caption's rounded corners let the desktop show through, as the
// frame's key colour would otherwise show at the two top corners.
void Form1::Form_Resize() {
  if (WindowState() != forms::vbMinimized) xp_canvas1.make_trans(*this);
}

void Form1::Form_Load() {
  Combo1.Text("English");
  // The trainers' characters take the first two spots.
  Agent.Characters().StartPlace(2);
  agentCharacter = characters::LoadAtStart(Agent, characterName);
  if (agentCharacter) {
    try {
      agentCharacter->Hide();
    } catch (const agent::Error&) {
      // A character that cannot be hidden is only seen: the look-up does not need it.
    }
  }
}

namespace {

// The word list has no password: a file the engine takes for an encrypted
// one is as damaged as one it cannot read at all.
std::string OpenFailureReason(const dao::Error& e) {
  switch (e.number()) {
    case dao::err::kInvalidPassword:
    case dao::err::kNotADatabase:
    case dao::err::kCorrupt:
      return "The file is damaged, or it is not the word list.";
    default:
      return e.what();
  }
}

}  // namespace

void Form1::SearchFailed(const std::string& message) {
  List1.Clear();
  Text4.Text("0");
  dictRecordset = dao::Recordset();
  dictDatabase = dao::Database();
  MsgBox(message, vbExclamation);
}

void Form1::Command1_Click() {
  List1.Clear();
  // The previous result goes first: whatever happens below, the list's
  // clicks never reach a result that does not belong to this search.
  dictRecordset = dao::Recordset();
  const std::string file = App::Path() + "/dictionary.dll";
  try {
    dictDatabase = dao::OpenDatabase(file, false, true);
  } catch (const dao::Error& e) {
    SearchFailed("The word list " + file + " could not be opened:\n" + OpenFailureReason(e));
    return;
  }
  const auto sql = PrefixQuery(Combo1.Text(), Text9.Text());
  if (!sql) {
    SearchFailed("Choose \"English\" or \"Italian\" as the column to search.");
    return;
  }
  searchSql = *sql;
  long count = 0;
  try {
    dictRecordset = dictDatabase.OpenRecordset(searchSql, dao::RecordsetType::kSnapshot);
    if (!dictRecordset.Eof()) {
      dictRecordset.MoveLast();
      dictRecordset.MoveFirst();
    }
    count = dictRecordset.RecordCount();
    if (count > 0) {
      Text1.Text(dictRecordset.Fields("english").Value());
      Text2.Text(dictRecordset.Fields("Italian").Value());
    }
    Text4.Text(std::to_string(count));
    if (count == 0) return;
    List1.Clear();
    dictRecordset.MoveFirst();
    while (!dictRecordset.Eof()) {
      List1.AddItem(dictRecordset.Fields("english").Value());
      dictRecordset.MoveNext();
    }
    dictRecordset.MoveFirst();
    firstBookmark = dictRecordset.Bookmark();
  } catch (const dao::Error& e) {
    SearchFailed("The word list " + file + " could not be searched:\n" + e.what());
    return;
  }
  List1.ListIndex(static_cast<int>(dictRecordset.AbsolutePosition()));
}

void Form1::List1_Click() {
  const int index = List1.ListIndex();
  if (index < 0 || !dictRecordset.IsOpen()) return;
  try {
    dictRecordset.Move(index, firstBookmark);
    ShowCurrent();
  } catch (const dao::Error& e) {
    MsgBox(std::string("The word could not be read:\n") + e.what(), vbExclamation);
  }
}

void Form1::ShowCurrent() {
  // An empty column reads as an empty text.
  Text1.Text(dictRecordset.Fields("English").Value());
  Text2.Text(dictRecordset.Fields("Italian").Value());
  Text4.Text(std::to_string(dictRecordset.RecordCount()));
}

void Form1::xpcmdbutton1_Click() {
  const std::string italian = Text2.Text();
  if (italian.empty() || !agentCharacter) return;
  for (auto request : {+[](agent::Character&c, const std::string&) { c.Show(); },
                       +[](agent::Character&c, const std::string&) { c.Play("read"); },
                       +[](agent::Character&c, const std::string&t) { c.Speak(t); }}) {
    // A failing step (an animation the character lacks) does not keep the
    // word from being spoken.
    try {
      request(*agentCharacter, italian);
    } catch (const agent::Error&) {
    }
  }
}

void Form1::Form_Unload(int&) {
  if (agentCharacter) {
    try {
      agentCharacter->Hide();
    } catch (const agent::Error&) {
      // A character that cannot be hidden is gone already or goes with the program.
    }
  }
  DoEvents();
  Agent.Characters().Unload(characterName);
  // The word list is let go before the end, so that no lock file of it
  // stays behind in the program folder.
  dictRecordset = dao::Recordset();
  dictDatabase = dao::Database();
  forms::End();
}

}  // namespace dictionary
