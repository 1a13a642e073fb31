#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_document.h"

namespace forms::settings_detail {
namespace {

std::vector<std::string> KeysOf(const SettingsDocument& doc, std::size_t section = 0) {
  std::vector<std::string> keys;
  for (const auto& e : doc.sections().at(section).entries) keys.push_back(e.key);
  return keys;
}

std::string Header() {
  return std::string(kFormatLine) + "\n";
}

TEST(SettingsDocument, SerializedDocumentParsesBackToTheSameSectionsKeysAndOrder) {
  SettingsDocument doc;
  doc.Set("Tesk", "Orvanta7", "ctimeword", "7");
  doc.Set("Other \\ app [x]", " spaced section ", "key = with equals", " value\nwith\\ all ");
  doc.Set("Tesk", "Orvanta7", "agent", "Merlin");
  doc.Set("Tesk", "Orvanta7", "", "");
  doc.Set("", "", "#odd", "\xFF");

  const ParsedSettings parsed = ParseSettings(doc.Serialize());
  ASSERT_FALSE(parsed.damaged()) << parsed.problem;
  ASSERT_EQ(parsed.document.sections().size(), 3u);
  EXPECT_EQ(parsed.document.sections()[1].app, "Other \\ app [x]");
  EXPECT_EQ(parsed.document.sections()[1].section, " spaced section ");
  EXPECT_EQ(KeysOf(parsed.document), (std::vector<std::string>{"ctimeword", "agent", ""}));
  EXPECT_EQ(*parsed.document.Find("other \\ APP [x]", " SPACED section ", "KEY = WITH EQUALS"),
            " value\nwith\\ all ");
  EXPECT_EQ(*parsed.document.Find("", "", "#ODD"), "\xFF");
  EXPECT_EQ(*parsed.document.Find("tesk", "orvanta7", ""), "");
  EXPECT_EQ(parsed.document.Serialize(), doc.Serialize());
}

TEST(SettingsDocument, ALaterSpellingReplacesTheValueButKeepsTheFirstSpellingAndPlace) {
  SettingsDocument doc;
  EXPECT_TRUE(doc.Set("Tesk", "Orvanta7", "agent", "Merlin"));
  EXPECT_TRUE(doc.Set("Tesk", "Orvanta7", "n", "1"));
  EXPECT_TRUE(doc.Set("TESK", "orvanta7", "Agent", "Genie"));
  EXPECT_FALSE(doc.Set("tesk", "ORVANTA7", "AGENT", "Genie"));
  ASSERT_EQ(doc.sections().size(), 1u);
  EXPECT_EQ(doc.sections()[0].app, "Tesk");
  EXPECT_EQ(KeysOf(doc), (std::vector<std::string>{"agent", "n"}));
  EXPECT_EQ(*doc.Find("Tesk", "Orvanta7", "aGeNt"), "Genie");
  EXPECT_EQ(doc.Find("Tesk", "Orvanta7", "agents"), nullptr);
  EXPECT_EQ(doc.Find("Tesk", "Other", "agent"), nullptr);
}

TEST(SettingsDocument, HandEditedFilesAreReadLeniently) {
  // A byte-order mark, CRLF line ends, comments, blank lines, blanks around
  // "=", a repeated section and a key repeated in another case.
  const std::string text = "\xEF\xBB\xBF" + std::string(kFormatLine) +
                           "\r\n"
                           "; a note\r\n"
                           "\r\n"
                           "  [Tesk\\Orvanta7]  \r\n"
                           "  ctime = 3  \r\n"
                           "# another note\n"
                           "[Tesk\\Other]\n"
                           "x=1\n"
                           "[tesk\\orvanta7]\n"
                           "CTIME=9\n"
                           "etime=\\s5\\s\n";
  const ParsedSettings parsed = ParseSettings(text);
  ASSERT_FALSE(parsed.damaged()) << parsed.problem;
  EXPECT_EQ(parsed.document.sections().size(), 2u);
  EXPECT_EQ(KeysOf(parsed.document), (std::vector<std::string>{"ctime", "etime"}));
  EXPECT_EQ(*parsed.document.Find("Tesk", "Orvanta7", "ctime"), "9");
  EXPECT_EQ(*parsed.document.Find("Tesk", "Orvanta7", "etime"), " 5 ");
  EXPECT_FALSE(ParseSettings("").damaged());
}

struct DamageCase {
  const char* name;
  std::string text;
  std::vector<std::string> salvagedKeys;
};

TEST(SettingsDocument, DamageIsDetectedAndOnlyTrustworthyLinesAreSalvaged) {
  const std::string good = Header() + "[Tesk\\Orvanta7]\nce=0\nn=1\n";
  const std::vector<DamageCase> cases = {
      {"truncated mid-line", good + "ctime=1", {"ce", "n"}},
      {"truncated in the header", std::string(kFormatLine).substr(0, 10), {}},
      {"bad header", "# Something else\n[Tesk\\Orvanta7]\nce=0\n", {"ce"}},
      {"newer format", "# Tavrinel settings, format 2\n[Tesk\\Orvanta7]\nce=0\n", {"ce"}},
      {"no header, written by hand", "[Tesk\\Orvanta7]\nce=0\nn=1\n", {"ce", "n"}},
      {"unreadable header", "\x01\x02\n[Tesk\\Orvanta7]\nce=0\n", {"ce"}},
      {"garbage",
       std::string("\x7F"
                   "ELF\x02\x01\x01\0\0\0\n\xFF\xFE",
                   14),
       {}},
      {"invalid UTF-8 line", good + "bad=\xC3\x28\nrd=1\n", {"ce", "n", "rd"}},
      {"control character", good + "bad=a\x01z\nrd=1\n", {"ce", "n", "rd"}},
      {"line without =", good + "just words\nrd=1\n", {"ce", "n", "rd"}},
      {"bad escape", good + "bad=\\q\nrd=1\n", {"ce", "n", "rd"}},
      {"key before any section", Header() + "ce=0\n[Tesk\\Orvanta7]\nn=1\n", {"n"}},
      {"unreadable section line",
       good + "[no separator]\nx=1\n[Tesk\\Orvanta7]\nrd=1\n",
       {"ce", "n", "rd"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ParsedSettings parsed = ParseSettings(c.text);
    EXPECT_TRUE(parsed.damaged());
    if (c.salvagedKeys.empty()) {
      EXPECT_EQ(parsed.document.KeyCount(), 0u);
    } else {
      ASSERT_EQ(parsed.document.sections().size(), 1u);
      EXPECT_EQ(KeysOf(parsed.document), c.salvagedKeys);
    }
  }
}

}  // namespace
}  // namespace forms::settings_detail
