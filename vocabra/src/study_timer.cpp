// The word source and the study timer that steps through it.

#include <string>
#include <utility>

#include "frm_show.h"
#include "options.h"
#include "word_sources.h"

namespace vocabra {

using namespace forms;

namespace {

constexpr const char* kWordBookEmpty = "Error:New Words book is empty.";

// Runs one step of the spoken part of a tick; a failing step is let go and
// the next one runs.
template <class F>
void Attempt(F&& step) {
  try {
    step();
  } catch (const agent::Error&) {
    // Speech is an extra: the words go on without it.
  }
}

}  // namespace

void FrmShow::ChooseWordSource() {
  const Module& m = module();
  if (m.guageword < kNewWordsBook) {
    BindCategorisedBook(m.guageword);
    return;
  }
  // The categorised book is not this run's source, unless the own book
  // fails; it is let go now, for the word-book manager to have it.
  earlyBook_ = {};
  long count = 0;
  try {
    db = dao::OpenDatabase(BookPath(kOwnBook));
    rsData = db.OpenRecordset("Word");
    count = rsData.RecordCount();
  } catch (const dao::Error& e) {
    MsgBox("The New Words book " + BookPath(kOwnBook) + " could not be opened: " + e.what() +
               "\n\nThis time the words come from '" +
               std::string(WordSources()[kFallbackCategory].caption) + "'.",
           vbExclamation);
    BindCategorisedBook(kFallbackCategory);
    return;
  }
  if (count > 0) {
    BindWordBook();
    return;
  }
  // The book is not this run's source, so the window lets go of it: the
  // editor can then open it to fill it.
  rsData = {};
  db.Close();
  MsgBox(kWordBookEmpty);
  DoEvents();
  // For this run only: the stored choice stays, and so does the message at
  // the next start until the book holds words.
  BindCategorisedBook(kFallbackCategory);
}

void FrmShow::BindCategorisedBook(int index) {
  Data1.OpenAhead(std::move(earlyBook_));
  Data1.DatabaseName(BookPath(kCategorisedBook));
  Data1.Connect(kCategorisedConnect);
  Data1.RecordSource(CategoryRecordSource(index));
}

void FrmShow::BindWordBook() {
  try {
    Data1.DatabaseName(BookPath(kOwnBook));
  } catch (const dao::Error&) {
    // The data control opens quietly and raises its Error event instead.
  }
  try {
    Data1.RecordSource(kWholeBook);
  } catch (const dao::Error&) {
    // The data control opens quietly and raises its Error event instead.
  }
}

bool FrmShow::HasRecords() {
  dao::Recordset& rs = Data1.Recordset();
  return rs.IsOpen() && !(rs.Eof() && rs.Bof());
}

void FrmShow::Timer6_Timer() {
  // 1. A source that did not open, or has no words (a book held by the
  // word-book manager, a category emptied there), is opened again; until it
  // gives words the step is skipped.
  if (!HasRecords()) {
    try {
      // An open source asks its query again, which costs less than opening
      // the (encrypted) book anew.
      if (Data1.Recordset().IsOpen())
        Data1.Recordset().Requery();
      else
        Data1.Refresh();
      sourceNotice_.Opened();
    } catch (const dao::Error& e) {
      sourceNotice_.Failed(Data1.DatabaseName(), e);
    }
    if (!HasRecords()) return;
  } else {
    dao::Recordset& rs = Data1.Recordset();
    try {
      if (rs.Eof())
        rs.MoveFirst();
      else
        rs.MoveNext();
    } catch (const dao::Error&) {
      // No record to stand on: the next tick finds the source empty and opens it anew.
      return;
    }
    // Past the last record there is no pair: the window keeps the last one
    // and nothing is spoken; the next tick starts the lap again.
    if (rs.Eof()) return;
  }
  // 2. The bound labels now hold the new record.
  const std::string italian = EnglishWordLbl.Caption();
  const std::string english = YinPiaoLbl.Caption();
  // Two records with the same English word change only the Italian label.
  if (LB.Caption() != PairText(english, italian)) YinPiaoLbl_Change();
  // 3, 4.
  SpeakPair(english, italian);
}

void FrmShow::SpeakPair(const std::string& english, const std::string& italian) {
  const Module& m = module();
  if (m.voice != 1 || !mobjAgent) return;
  agent::Character& c = *mobjAgent;
  if (m.twovoice == 1) {
    Attempt([&] { c.SetLanguageID(agent::kBritishEnglish); });
    Attempt([&] { c.Speak(english); });
    Attempt([&] { c.Play("Wave"); });
    Attempt([&] { c.SetLanguageID(agent::kItalian); });
  }
  Attempt([&] { c.Speak(italian); });
  Attempt([&] { c.Play("Wave"); });
}

}  // namespace vocabra
