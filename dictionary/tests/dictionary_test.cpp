// The dictionary: searches by the beginning of a word, the list and its
// clicks, speaking, a word list that is missing or damaged, and closing.

#include <fstream>

#include "dao/dao.h"
#include "form1.h"
#include "program_fixture.h"
#include "word_query.h"

using namespace dictionary;
using Kind = agent::RequestRecord::Kind;

namespace {

class Dictionary : public readdict::testing::ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    dao::Database db = dao::CreateDatabase((folder / "bin/dictionary.dll").string());
    db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255))");
    dao::Recordset rs = db.OpenRecordset("word");
    for (const auto& [en, it] : std::vector<std::pair<std::string, std::string>>{
             {"house", "casa"},
             {"dog", "cane"},
             {"Carrot", "carota"},
             {"car", "macchina"},
             {"card", "carta"},
             {"cat", "gatto"},
             {"care", "cura"},
             {"cart", "carro"},
             {"castle", "castello"},
             {"water", "acqua"},
             {"the water", "l'acqua"},
             {"father-in-law", "suocero"},
             {"empty", ""},
             {"100%", "cento per cento"},
         }) {
      rs.AddNew();
      rs.Fields("English") = en;
      if (!it.empty()) rs.Fields("Italian") = it;
      rs.Update();
    }
  }

  Form1& Start() {
    Form1& f = forms::Forms::Get<Form1>();
    f.Load();
    return f;
  }

  static Form1& Find(Form1& f, std::string_view prefix, std::string_view column = "English") {
    f.Combo1.Text(column);
    f.Text9.Text(prefix);
    f.Command1.Click();
    return f;
  }

  static std::vector<std::string> Items(const Form1& f) {
    std::vector<std::string> out;
    for (int i = 0; i < f.List1.ListCount(); ++i) out.push_back(f.List1.List(i));
    return out;
  }
};

TEST(PrefixQuery, TakesOnlyTheTwoColumnsAndQuotesTheTypedText) {
  EXPECT_EQ(*PrefixQuery("English", "ca"),
            "select * from word where English like 'ca*' order by english");
  EXPECT_EQ(*PrefixQuery("Italian", "dell'"),
            "select * from word where Italian like 'dell''*' order by english");
  EXPECT_FALSE(PrefixQuery("English from word; --", "x"));
  EXPECT_FALSE(PrefixQuery("english", "x"));
  EXPECT_FALSE(PrefixQuery("", "x"));
}

TEST_F(Dictionary, StartsWithEnglishAndTheCharacterHidden) {
  Form1& f = Start();
  EXPECT_EQ(f.Combo1.Text(), "English");
  EXPECT_EQ(f.Combo1.ListCount(), 2);
  EXPECT_EQ(f.Combo1.Style(), 2);  // no typed column names
  EXPECT_EQ(f.Caption(), "Dictionary");
  ASSERT_TRUE(f.agentCharacter);
  EXPECT_EQ(f.agentCharacter->LanguageID(), 1040);
  EXPECT_EQ(Count(Kind::Show), 0);
  EXPECT_EQ(Count(Kind::Hide), 1);
  EXPECT_TRUE(messages.empty());
}

TEST_F(Dictionary, ATwoLetterPrefixListsItsWordsInEitherCaseInEnglishOrder) {
  Form1& f = Find(Start(), "ca");
  EXPECT_EQ(Items(f),
            (std::vector<std::string>{"car", "card", "care", "Carrot", "cart", "castle", "cat"}));
  EXPECT_EQ(f.Text4.Text(), "7");
  EXPECT_EQ(f.List1.ListIndex(), 0);
  EXPECT_EQ(f.Text1.Text(), "car");
  EXPECT_EQ(f.Text2.Text(), "macchina");
  EXPECT_TRUE(messages.empty());

  // The fifth item is the fifth record; the count stays.
  f.List1.ListIndex(4);
  EXPECT_EQ(f.Text1.Text(), "cart");
  EXPECT_EQ(f.Text2.Text(), "carro");
  EXPECT_EQ(f.Text4.Text(), "7");
  f.List1.ListIndex(1);
  EXPECT_EQ(f.Text2.Text(), "carta");
}

TEST_F(Dictionary, TheItalianColumnIsSearchedButTheListStaysEnglishInEnglishOrder) {
  Form1& f = Find(Start(), "ca", "Italian");
  EXPECT_EQ(Items(f),
            (std::vector<std::string>{"card", "Carrot", "cart", "castle", "dog", "house"}));
  EXPECT_EQ(f.Text2.Text(), "carta");
}

TEST_F(Dictionary, AnEmptyPrefixListsTheWholeList) {
  Form1& f = Find(Start(), "");
  EXPECT_EQ(f.List1.ListCount(), 14);
  EXPECT_EQ(f.Text4.Text(), "14");
}

TEST_F(Dictionary, NoMatchAfterAMatchKeepsTheWordsAndEmptiesTheList) {
  Form1& f = Find(Start(), "hou");
  EXPECT_EQ(f.Text2.Text(), "casa");
  Find(f, "zz");
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_EQ(f.Text4.Text(), "0");
  EXPECT_EQ(f.Text1.Text(), "house");
  EXPECT_EQ(f.Text2.Text(), "casa");
  // The old result is gone: a click finds nothing to show.
  f.List1_Click();
  EXPECT_EQ(f.Text1.Text(), "house");
  EXPECT_TRUE(messages.empty());
}

TEST_F(Dictionary, TypedQuotesAndBracketsAreTextWildcardsStayPatterns) {
  Form1& f = Find(Start(), "l'", "Italian");
  EXPECT_EQ(Items(f), std::vector<std::string>{"the water"});
  Find(f, "the water' or '1'='1");
  EXPECT_EQ(f.List1.ListCount(), 0);
  Find(f, "[");
  EXPECT_EQ(f.List1.ListCount(), 0);
  Find(f, "father-");
  EXPECT_EQ(Items(f), std::vector<std::string>{"father-in-law"});
  Find(f, "100%");
  EXPECT_EQ(Items(f), std::vector<std::string>{"100%"});
  Find(f, "c?t");
  EXPECT_EQ(Items(f), std::vector<std::string>{"cat"});
  EXPECT_TRUE(messages.empty());
}

TEST_F(Dictionary, AMatchWithoutItalianShowsAnEmptyBoxAndSpeakIsSilent) {
  Form1& f = Find(Start(), "empty");
  EXPECT_EQ(f.Text1.Text(), "empty");
  EXPECT_EQ(f.Text2.Text(), "");
  requests.clear();
  f.xpcmdbutton1.Click();
  EXPECT_TRUE(requests.empty());
}

TEST_F(Dictionary, SpeakShowsTheCharacterAndSaysTheItalian) {
  Form1& f = Find(Start(), "dog");
  requests.clear();
  f.xpcmdbutton1.Click();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].kind, Kind::Show);
  EXPECT_EQ(Played(), std::vector<std::string>{"read"});
  EXPECT_EQ(Spoken(), std::vector<std::string>{"cane"});
  EXPECT_EQ(requests[2].languageId, 1040);
}

TEST_F(Dictionary, AMissingWordListIsReportedAndListsNothing) {
  Form1& f = Find(Start(), "ca");
  ASSERT_EQ(f.List1.ListCount(), 7);
  std::filesystem::remove(folder / "bin/dictionary.dll");
  Find(f, "do");
  EXPECT_EQ(f.List1.ListCount(), 0);
  EXPECT_EQ(f.Text4.Text(), "0");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("dictionary.dll"), std::string::npos);
  f.List1_Click();  // nothing left to click on
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(Dictionary, ADamagedWordListIsReportedAndListsNothing) {
  Form1& f = Start();
  // Text, and bytes that look like an encrypted file to the engine.
  std::string noise(8192, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<char>((i * 2654435761u) >> 13);
  for (const std::string& junk : {std::string("this is no database at all, just text"), noise}) {
    messages.clear();
    std::filesystem::remove(folder / "bin/dictionary.dll");
    std::ofstream(folder / "bin/dictionary.dll", std::ios::binary) << junk;
    Find(f, "ca");
    EXPECT_EQ(f.List1.ListCount(), 0);
    EXPECT_EQ(f.Text4.Text(), "0");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("dictionary.dll"), std::string::npos);
    EXPECT_NE(messages[0].find("damaged"), std::string::npos) << messages[0];
    EXPECT_EQ(messages[0].find("password"), std::string::npos) << messages[0];
  }
}

TEST_F(Dictionary, WithoutACharacterItStillSearches) {
  std::filesystem::remove_all(Chars());
  Form1& f = Start();
  EXPECT_FALSE(f.agentCharacter);
  EXPECT_EQ(messages.size(), 1u);
  Find(f, "dog");
  f.xpcmdbutton1.Click();
  EXPECT_TRUE(requests.empty());
}

TEST_F(Dictionary, ClosingHidesUnloadsAndEnds) {
  Form1& f = Find(Start(), "ca");
  EXPECT_TRUE(std::filesystem::exists(folder / "bin/dictionary.dll.ldb"));  // held till the end
  requests.clear();
  EXPECT_THROW(f.xptopbuttons1.Click(), forms::testing::ProgramEnded);
  EXPECT_TRUE(ended);
  EXPECT_EQ(Count(Kind::Hide), 1);
  EXPECT_TRUE(f.Agent.Characters().Names().empty());
  EXPECT_FALSE(f.dictDatabase.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(folder / "bin/dictionary.dll.ldb"));
}

}  // namespace
