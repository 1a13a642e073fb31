// Choosing the next sentence pair: from the lessons in the string table, in
// order or at random, or from the user's word book.

#include <string>

#include "form1.h"
#include "options.h"

namespace dialogra {

using namespace forms;

namespace {

constexpr const char* kWordBookEmpty = "Error:New Words book is empty.";

std::string WordBookPath() {
  return App::Path() + "\\dialog.ocx";
}

}  // namespace

// Loads the pair whose Italian sentence has the given id. A missing entry
// shows the id and leaves the text that failed as it was.
bool Form1::LoadPair(int italianId, int shownId) {
  try {
    ItalianText = LoadResString(italianId);
    EnglishText = LoadResString(italianId + 10000);
    return true;
  } catch (const RuntimeError&) {
    MsgBox(std::to_string(shownId));
    return false;
  }
}

void Form1::NextSentence() {
  Module& m = module();
  if (m.LessonIndex >= 20) {
    WordBookPick();
    return;
  }
  const int lesson = m.LessonIndex;
  if (m.rd != 0) {
    if (lesson >= 1) {
      if (static_cast<int>(Int((m.guagen - 10000) / 100.0)) != lesson) {
        m.guagen = static_cast<std::int16_t>(10001 + 100 * lesson);
      } else if (m.guagen > 10050 + 100 * lesson) {
        // After sentence 50 the lesson starts again.
        m.guagen = static_cast<std::int16_t>(10001 + 100 * lesson);
      }
    } else {
      if (m.guagen - 100 * Int(m.guagen / 100.0) > 50) {
        const int next = static_cast<int>(Int((m.guagen - 10000) / 100.0)) + 1;
        // After the last sentence of lesson 19 the order starts again at lesson 1.
        m.guagen =
            next > 19 ? std::int16_t{10101} : static_cast<std::int16_t>(100 * (next + 100) + 1);
      }
    }
    LoadPair(m.guagen, m.guagen);
    m.guagen = static_cast<std::int16_t>(m.guagen + 1);
    Label1.ToolTipText(ItalianText);
    Label2.ToolTipText(EnglishText);
    return;
  }
  // At random; the position in sequence stays where it was.
  Randomize();
  if (lesson >= 1) {
    RandomId = CInt(Int(Rnd() * 50.0f) + (10000 + 100 * lesson) + 1);
  } else {
    // All lessons: every one of the 950 pairs is equally likely.
    const int n = static_cast<int>(Int(Rnd() * 950.0f));
    RandomId = static_cast<std::int16_t>(10000 + 100 * (n / 50 + 1) + n % 50 + 1);
  }
  LoadPair(RandomId, RandomId);
}

void Form1::WordBookPick() {
  Module& m = module();
  long count = 0;
  try {
    db = dao::OpenDatabase(WordBookPath());
    rsData = db.OpenRecordset("Word");
    count = rsData.RecordCount();
  } catch (const dao::Error& e) {
    // The pair keeps what it had; the next pick tries the book again.
    wordBookNotice_.Failed(WordBookPath(), e);
    return;
  }
  wordBookNotice_.Opened();
  if (count > 0) {
    Timer6.Interval(m.ctime * 1000);
    Timer6.Enabled(true);
    BindWordBook();
    if (Data1.Recordset().IsOpen()) {
      TakeBoundPair();
    } else {
      // During the bar's load the data control opens only once the load is
      // done; its first record is the one to show now.
      try {
        dao::Recordset first = db.OpenRecordset("select * from word ");
        if (!first.Eof()) {
          ItalianText = first.Fields("italian").Value();
          EnglishText = first.Fields("english").Value();
        }
      } catch (const dao::Error&) {
        // The book opened a moment ago; the bar keeps its pair until the next pick.
      }
    }
    return;
  }
  MsgBox(kWordBookEmpty);
  // An empty word book cannot give a pair: this run goes on with lesson 1,
  // while the stored choice stays as it is.
  m.LessonIndex = 1;
  NextSentence();
}

// The record timer stands past the last record for a whole interval of
// every lap, where the bound labels are blank: the pick then starts the next
// lap itself. A record that still gives no whole pair is skipped and the
// previous pair stays, both lines together, so that a line of one pair is
// never shown with the other line of another.
void Form1::TakeBoundPair() {
  dao::Recordset& rs = Data1.Recordset();
  try {
    if ((rs.Eof() || rs.Bof()) && !(rs.Eof() && rs.Bof())) rs.MoveFirst();
  } catch (const dao::Error&) {
    // The book opened at this pick; the previous pair stays until the next one.
    return;
  }
  const auto blank = [](const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
  };
  const std::string italian = Label5.Caption(), english = Label6.Caption();
  if (blank(italian) || blank(english)) return;
  ItalianText = italian;
  EnglishText = english;
}

void Form1::BindWordBook() {
  try {
    Data1.DatabaseName(WordBookPath());
    Data1.RecordSource("select * from word ");
  } catch (const dao::Error&) {
    // The data control opens quietly and raises its Error event instead.
  }
}

void Form1::Timer6_Timer() {
  dao::Recordset& rs = Data1.Recordset();
  try {
    // Without records there is nothing to step through.
    if (!rs.IsOpen() || (rs.Eof() && rs.Bof())) return;
    if (rs.Eof()) {
      rs.MoveFirst();
      rs.MoveNext();
    } else {
      rs.MoveNext();
    }
  } catch (const dao::Error&) {
    // A step that fails leaves the labels on the last pair; the pick reopens the book.
  }
}

}  // namespace dialogra
