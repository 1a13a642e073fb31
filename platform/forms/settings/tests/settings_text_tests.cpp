#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_text.h"

namespace forms::settings_detail {
namespace {

using namespace std::string_literals;

const std::vector<std::string>& AwkwardTexts() {
  static const std::vector<std::string> texts = {
      "",
      " ",
      "  two blanks before",
      "two blanks after  ",
      " both ",
      "a=b=c",
      "=leading equals",
      "\"quoted\" and 'single'",
      "back\\slash\\",
      "\\n is not a newline",
      "line one\nline two\n",
      "\r\n",
      "\ttab\t",
      "perché città già",
      "emoji \xF0\x9F\x98\x80",
      "[looks like a section]",
      "# looks like a comment",
      "; also a comment",
      "nul \0 inside"s,
      "controls \x01\x1F\x7F",
      "not UTF-8 \xFF\xFE \xC3 end",
      "%41 percent",
  };
  return texts;
}

bool HasRawControl(const std::string& text) {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
  }
  return false;
}

TEST(SettingsText, EscapedValuesAndKeysRoundTripAndStayOnOneTrimmedLine) {
  for (const auto& text : AwkwardTexts()) {
    for (const bool isKey : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << (isKey ? "key " : "value ") << testing::PrintToString(text));
      const std::string escaped = isKey ? EscapeKey(text) : EscapeValue(text);
      EXPECT_FALSE(HasRawControl(escaped));
      EXPECT_TRUE(IsValidUtf8(escaped));
      if (!escaped.empty()) {
        EXPECT_NE(escaped.front(), ' ');
        EXPECT_NE(escaped.back(), ' ');
      }
      if (isKey) {
        // A key must not start like a comment or section, nor hold a bare "=".
        EXPECT_TRUE(escaped.empty() ||
                    std::string("[#;").find(escaped.front()) == std::string::npos);
        for (std::size_t i = 0; i < escaped.size(); ++i) {
          if (escaped[i] == '\\')
            ++i;
          else
            EXPECT_NE(escaped[i], '=');
        }
      }
      const auto back = Unescape(escaped);
      ASSERT_TRUE(back.has_value());
      EXPECT_EQ(*back, text);
    }
  }
}

TEST(SettingsText, NamesRoundTripWithoutTheSeparatorOrBrackets) {
  for (const auto& text : AwkwardTexts()) {
    SCOPED_TRACE(testing::PrintToString(text));
    const std::string escaped = EscapeName(text);
    EXPECT_EQ(escaped.find_first_of("\\[]"), std::string::npos);
    EXPECT_FALSE(HasRawControl(escaped));
    EXPECT_TRUE(IsValidUtf8(escaped));
    const auto back = UnescapeName(escaped);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, text);
  }
  EXPECT_EQ(EscapeName("Tesk"), "Tesk");
}

TEST(SettingsText, MalformedEscapesAreRejected) {
  for (const char* bad : {"\\", "end\\", "\\q", "\\x4", "\\xZZ", "\\X41"}) {
    EXPECT_FALSE(Unescape(bad).has_value()) << bad;
  }
  for (const char* bad : {"%", "%4", "%G0", "a\\b", "a]b"}) {
    EXPECT_FALSE(UnescapeName(bad).has_value()) << bad;
  }
  EXPECT_EQ(Unescape("\\x41\\x3d\\s"), "A= ");
}

TEST(SettingsText, Utf8CheckRejectsEveryIllFormedSequence) {
  EXPECT_TRUE(IsValidUtf8("plain, à, €, \xF0\x9F\x98\x80, \xF4\x8F\xBF\xBF"));
  for (const char* bad :
       {"\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF0\x80\x80\xAF",
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE2\x82", "\xC3", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
  }
}

}  // namespace
}  // namespace forms::settings_detail
