// The settings form: what it shows, what its controls change at once, and
// what closing it hands to the program and to the store.

#include <fstream>
#include <sstream>

#include "word_fixture.h"

using namespace vocabra;
using vocabra::testing::WordFixture;

namespace {

std::string StoreText() {
  std::ifstream in(forms::SettingsStore::DefaultPath());
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class SettingsForm : public WordFixture {
 protected:
  Form3& Open() {
    Form3& f = forms::Forms::Get<Form3>();
    f.Load();
    return f;
  }
  void Close(Form3& f) {
    forms::Unload(f);
    QCoreApplication::processEvents();
  }
};

}  // namespace

TEST_F(SettingsForm, ShowsTheLiveOptionsAndAllThirtySixSources) {
  Module& m = module();
  m.ssaveword = 1;
  m.markword = 0;
  m.ontopword = 1;
  m.twovoice = 0;
  m.ctimeword = 11;
  m.guageword = 18;
  Form3& f = Open();
  EXPECT_EQ(f.Caption(), "Setting...");
  EXPECT_EQ(f.xp_canvas1.Caption(), "Setting...");
  EXPECT_EQ(f.Check1.Value(), 1);
  EXPECT_EQ(f.Check5.Value(), 0);
  EXPECT_EQ(f.Check2.Value(), 1);
  EXPECT_EQ(f.Check3.Value(), 0);
  EXPECT_EQ(f.Check3.Caption(), "Read English and Italian at the same time ");
  EXPECT_EQ(f.Label2.Caption(), "Display             second.");
  EXPECT_EQ(f.Text1[1].Text(), "11");
  EXPECT_EQ(f.VScroll2.Value(), 11);
  ASSERT_EQ(f.Option1.Count(), 36);
  for (const auto& [index, option] : f.Option1) {
    EXPECT_TRUE(option->Enabled());
    EXPECT_EQ(option->Caption(), WordSources()[index].caption);
    EXPECT_EQ(option->Value(), index == 18) << index;
  }
  EXPECT_EQ(f.Option1[16].Caption(), "Countries && Nationalities");
  EXPECT_EQ(f.Option1[35].Caption(), "New Words Book");
  EXPECT_EQ(f.Option1[35].ForeColor(), 0x000000FFu);  // red
  // Nothing changes by looking.
  EXPECT_EQ(m.twovoice, 0);
  EXPECT_EQ(m.ssaveword, 1);
}

TEST_F(SettingsForm, TheBoxesActAtOnceAndTheSourceAndSecondsOnClosing) {
  Settings({{"ssaveword", "0"}});
  ReadOptions(module());
  Form3& f = Open();
  f.Check3.Value(0);
  EXPECT_EQ(module().twovoice, 0);
  f.Check2.Value(0);
  EXPECT_EQ(module().ontopword, 0);
  f.Check5.Value(1);
  EXPECT_EQ(module().markword, 1);
  f.Option1[16].Value(true);
  f.VScroll2.Value(12);
  EXPECT_EQ(module().guageword, 1);
  EXPECT_EQ(module().ctimeword, 7);
  Close(f);
  EXPECT_EQ(module().guageword, 16);
  EXPECT_EQ(module().ctimeword, 12);
  EXPECT_EQ(forms::Forms::Find<Form3>(), nullptr);
}

TEST_F(SettingsForm, WithSavingClearedClosingStoresNothingNotEvenTheClearedBox) {
  Settings({});
  ReadOptions(module());
  const std::string before = StoreText();
  Form3& f = Open();
  f.Check1.Value(0);
  EXPECT_EQ(module().ssaveword, 0);
  f.Option1[5].Value(true);
  f.VScroll2.Value(15);
  f.Check3.Value(0);
  Close(f);
  EXPECT_EQ(module().guageword, 5);
  EXPECT_EQ(module().ctimeword, 15);
  EXPECT_EQ(StoreText(), before);
  EXPECT_EQ(Stored("ssaveword"), "1");
  // The next start brings the stored values back.
  Module next;
  ReadOptions(next);
  EXPECT_EQ(next.guageword, 1);
  EXPECT_EQ(next.ctimeword, 7);
  EXPECT_EQ(next.twovoice, 1);
}

TEST_F(SettingsForm, WithSavingOnClosingStoresTheChoices) {
  Settings({{"xxx", "1"}});
  ReadOptions(module());
  Form3& f = Open();
  f.Option1[35].Value(true);
  f.VScroll2.Value(3);
  f.Check3.Value(0);
  f.Check2.Value(0);
  f.Check5.Value(1);
  Close(f);
  EXPECT_EQ(Stored("guageword"), "35");
  EXPECT_EQ(Stored("ctimeword"), "3");
  EXPECT_EQ(Stored("twovoice"), "0");
  EXPECT_EQ(Stored("ontopword"), "0");
  EXPECT_EQ(Stored("markword"), "1");
  EXPECT_EQ(Stored("ssaveword"), "1");
  EXPECT_EQ(Stored("xxx"), "1");
}

TEST_F(SettingsForm, TheScrollBarsEndsShowAndStoreThreeAndFifteen) {
  Settings({});
  ReadOptions(module());
  Form3& f = Open();
  EXPECT_EQ(f.VScroll2.Min(), 3);
  EXPECT_EQ(f.VScroll2.Max(), 15);
  f.VScroll2.Value(f.VScroll2.Min());
  EXPECT_EQ(f.Text1[1].Text(), "3");
  f.VScroll2.Value(f.VScroll2.Max());
  EXPECT_EQ(f.Text1[1].Text(), "15");
  Close(f);
  EXPECT_EQ(Stored("ctimeword"), "15");
}

TEST_F(SettingsForm, TheCloseButtonClosesTheForm) {
  Settings({});
  ReadOptions(module());
  Form3& f = Open();
  f.VScroll2.Value(9);
  f.xptopbuttons1.Click();
  QCoreApplication::processEvents();
  EXPECT_EQ(forms::Forms::Find<Form3>(), nullptr);
  EXPECT_EQ(Stored("ctimeword"), "9");
}

TEST_F(SettingsForm, ChoosingTheOwnBookWhileItIsEmptyBringsTheMessageAtTheNextStart) {
  Settings({});
  ReadOptions(module());
  Form3& f = Open();
  f.Option1[35].Value(true);
  Close(f);
  module() = Module{};
  FrmShow& w = LoadWindow();
  EXPECT_EQ(messages, std::vector<std::string>{"Error:New Words book is empty."});
  EXPECT_EQ(w.Data1.RecordSource(), CategoryRecordSource(1));
}
