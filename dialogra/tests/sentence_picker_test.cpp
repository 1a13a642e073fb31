// The sentence picker: sequence and random order over the lessons, and the
// user's word book.

#include <set>

#include "bar_fixture.h"

using namespace dialogra;
using dialogra::testing::BarFixture;

using Picker = BarFixture;

namespace {
std::string Italian(int id) {
  return forms::LoadResString(id);
}
}  // namespace

TEST_F(Picker, InSequenceALessonRunsFromItsFirstToItsFiftiethPairAndAgain) {
  Form1& bar = forms::Forms::Get<Form1>();
  Module& m = module();
  m.rd = 1;
  m.LessonIndex = 1;
  m.guagen = 11000;  // the first run's position lies outside lesson 1
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, Italian(10101));
  EXPECT_EQ(bar.EnglishText, forms::LoadResString(20101));
  EXPECT_EQ(m.guagen, 10102);
  EXPECT_EQ(bar.Label1.ToolTipText(), bar.ItalianText);
  EXPECT_EQ(bar.Label2.ToolTipText(), bar.EnglishText);

  m.LessonIndex = 7;
  m.guagen = 10750;
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, Italian(10750));
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, Italian(10701));
  EXPECT_EQ(m.guagen, 10702);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Picker, AllLessonsInSequenceMoveOnToTheNextLessonAndWrapAfter19) {
  Form1& bar = forms::Forms::Get<Form1>();
  Module& m = module();
  m.LessonIndex = 0;
  m.guagen = 10151;
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, Italian(10201));
  m.guagen = 11951;
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, Italian(10101));
  EXPECT_EQ(m.guagen, 10102);
  // A position whose sentence number is 0 names the missing id, keeps the
  // pair and still moves on.
  const std::string before = bar.ItalianText;
  m.guagen = 11000;
  bar.NextSentence();
  EXPECT_EQ(messages, (std::vector<std::string>{"11000"}));
  EXPECT_EQ(bar.ItalianText, before);
  EXPECT_EQ(m.guagen, 11001);
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, Italian(11001));
}

TEST_F(Picker, AtRandomALessonGivesItsOwnPairsAndLeavesThePositionAlone) {
  Form1& bar = forms::Forms::Get<Form1>();
  Module& m = module();
  m.rd = 0;
  m.LessonIndex = 5;
  m.guagen = 10733;
  std::set<int> ids;
  for (int i = 0; i < 300; ++i) {
    bar.NextSentence();
    EXPECT_GE(bar.RandomId, 10501);
    EXPECT_LE(bar.RandomId, 10550);
    EXPECT_EQ(bar.ItalianText, Italian(bar.RandomId));
    EXPECT_EQ(bar.EnglishText, forms::LoadResString(bar.RandomId + 10000));
    ids.insert(bar.RandomId);
  }
  EXPECT_GT(ids.size(), 40u);
  EXPECT_EQ(m.guagen, 10733);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Picker, AtRandomAMissingSentenceNamesTheIdThatWasDrawn) {
  // A table without the Italian line of lesson 5's seventh pair.
  std::vector<forms::StringEntry> table;
  for (const auto& e : lessons::Strings())
    if (e.id != 10507) table.push_back(e);
  forms::testing::ClearStringTable();
  forms::RegisterStringTable(table);
  Form1& bar = forms::Forms::Get<Form1>();
  Module& m = module();
  m.rd = 0;
  m.LessonIndex = 5;
  m.guagen = 10733;  // the position in sequence names another id
  int misses = 0;
  for (int i = 0; i < 300; ++i) {
    const std::string before = bar.ItalianText;
    bar.NextSentence();
    if (bar.RandomId != 10507) continue;
    ++misses;
    EXPECT_EQ(bar.ItalianText, before);
  }
  forms::RegisterStringTable(lessons::Strings());
  ASSERT_GT(misses, 0);
  EXPECT_EQ(messages, std::vector<std::string>(static_cast<std::size_t>(misses), "10507"));
}

TEST_F(Picker, AtRandomAllLessonsDrawFromEveryLesson) {
  Form1& bar = forms::Forms::Get<Form1>();
  Module& m = module();
  m.rd = 0;
  m.LessonIndex = 0;
  std::set<int> lessons;
  for (int i = 0; i < 600; ++i) {
    bar.NextSentence();
    const int lesson = (bar.RandomId - 10000) / 100, n = bar.RandomId % 100;
    EXPECT_GE(lesson, 1);
    EXPECT_LE(lesson, 19);
    EXPECT_GE(n, 1);
    EXPECT_LE(n, 50);
    lessons.insert(lesson);
  }
  EXPECT_EQ(lessons.size(), 19u);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Picker, TheWordBookIsSteppedByTheRecordTimer) {
  AddWords({{"the apple", "la mela"}, {"the pear", "la pera"}, {"the fig", "il fico"}});
  forms::SaveSetting("Tesk", "Orvanta7", "xxx", "1");
  forms::SaveSetting("Tesk", "Orvanta7", "guage", "20");
  forms::SaveSetting("Tesk", "Orvanta7", "ctime", "15");
  Form1& bar = LoadBar();
  // Picked during the load: the book's first record.
  EXPECT_EQ(bar.ItalianText, "la mela");
  EXPECT_EQ(bar.EnglishText, "the apple");
  EXPECT_TRUE(bar.Timer6.Enabled());
  EXPECT_EQ(bar.Timer6.Interval(), 15000);
  ASSERT_TRUE(bar.Data1.Recordset().IsOpen());
  clock.Advance(15000);
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, "la pera");
  clock.Advance(15000);
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, "il fico");
  // Past the end the timer goes round, leaving out the first record.
  clock.Advance(15000);
  clock.Advance(15000);
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, "la pera");
  EXPECT_TRUE(messages.empty());
}

TEST_F(Picker, AnEmptyWordBookSaysSoAndFallsBackToLessonOneForThisRun) {
  forms::SaveSetting("Tesk", "Orvanta7", "xxx", "1");
  forms::SaveSetting("Tesk", "Orvanta7", "guage", "20");
  Form1& bar = LoadBar();
  EXPECT_EQ(messages, (std::vector<std::string>{"Error:New Words book is empty."}));
  EXPECT_EQ(bar.ItalianText, Italian(10101));
  EXPECT_EQ(module().LessonIndex, 1);
  EXPECT_EQ(forms::GetSetting("Tesk", "Orvanta7", "guage"), "20");
  // Later picks ask for no entry that does not exist.
  for (int i = 0; i < 60; ++i) bar.NextSentence();
  EXPECT_EQ(messages.size(), 1u);
  // The record timer with nothing bound does nothing.
  const std::string italian = bar.ItalianText, english = bar.EnglishText;
  EXPECT_FALSE(bar.Timer6.Enabled());
  EXPECT_NO_THROW(bar.Timer6_Timer());
  EXPECT_FALSE(bar.Data1.Recordset().IsOpen());
  EXPECT_EQ(bar.ItalianText, italian);
  EXPECT_EQ(bar.EnglishText, english);
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Picker, AWordBookThatCannotBeOpenedLeavesThePairAsItWasAndIsSaidOnce) {
  AddWords({{"the apple", "la mela"}});
  std::filesystem::rename(folder / "dialog.ocx", folder / "dialog.away");
  Form1& bar = forms::Forms::Get<Form1>();
  module().LessonIndex = 20;
  bar.ItalianText = "prima";
  for (int pick = 0; pick < 3; ++pick) bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, "prima");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("\"" + (folder / "dialog.ocx").string() + "\""), std::string::npos)
      << messages[0];
  EXPECT_NE(messages[0].find("does not exist"), std::string::npos) << messages[0];
  // The book is tried again at every pick: once it is back, its words come.
  std::filesystem::rename(folder / "dialog.away", folder / "dialog.ocx");
  bar.NextSentence();
  EXPECT_EQ(bar.ItalianText, "la mela");
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Picker, AWordBookOfTwoPlaysBothPairsWholeForMinutes) {
  // The record timer spends every other interval past the last record; the
  // bar must still only ever show whole pairs of the book.
  AddWords({{"Good morning", "Buongiorno"}, {"Thank you", "Grazie"}});
  forms::SaveSetting("Tesk", "Orvanta7", "xxx", "1");
  forms::SaveSetting("Tesk", "Orvanta7", "guage", "20");
  forms::SaveSetting("Tesk", "Orvanta7", "ctime", "16");
  Form1& bar = LoadBar();
  const std::set<std::pair<std::string, std::string>> book{{"Buongiorno", "Good morning"},
                                                           {"Grazie", "Thank you"}};
  std::set<std::pair<std::string, std::string>> seen;
  for (int ms = 0; ms < 180000; ms += 100) {
    clock.Advance(100);
    const std::pair<std::string, std::string> pair{bar.ItalianText, bar.EnglishText};
    ASSERT_TRUE(book.contains(pair))
        << "at " << ms << " ms: \"" << pair.first << "\" / \"" << pair.second << "\"";
    seen.insert(pair);
  }
  EXPECT_EQ(seen, book);
  EXPECT_TRUE(messages.empty());
}
