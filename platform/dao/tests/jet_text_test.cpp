#include "jet_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace dao::jet {
namespace {

TEST(JetText, ComparesWithoutRegardToCaseAccentedLettersIncluded) {
  EXPECT_EQ(Compare("Casa", "casa"), 0);
  EXPECT_EQ(Compare("CITTÀ", "città"), 0);
  EXPECT_EQ(Compare("PERCHÉ", "perché"), 0);
  EXPECT_EQ(Compare("ŁÓDŹ", "łódź"), 0);
  // An accent still tells two words apart, and sorts beside its letter.
  EXPECT_LT(Compare("e", "è"), 0);
  EXPECT_LT(Compare("è", "f"), 0);
  EXPECT_LT(Compare("perche", "perché"), 0);
  EXPECT_LT(Compare("città", "cittadino"), 0);  // base letters first: "citta" < "cittadino"
  EXPECT_LT(Compare("apple", "Banana"), 0);
  EXPECT_LT(Compare("", "a"), 0);
  EXPECT_GT(Compare("ab", "a"), 0);
}

TEST(JetText, OrderIsConsistentOverMixedText) {
  std::vector<std::string> words = {"zebra",  "Èlite", "elite",  "élan",     "Eco",   "ecco",
                                    "ÉCLAIR", "età",   "etto",   "\xff\xfe", "a\x80", "ü",
                                    "U",      "ß",     "straße", "Ω",        "ω",     ""};
  // A strict weak order: sorting is stable under any start order, and
  // comparisons are antisymmetric and transitive.
  for (const auto& a : words)
    for (const auto& b : words) {
      EXPECT_EQ(Compare(a, b), -Compare(b, a)) << a << " / " << b;
      for (const auto& c : words)
        if (Compare(a, b) <= 0 && Compare(b, c) <= 0) {
          EXPECT_LE(Compare(a, c), 0);
        }
    }
  EXPECT_EQ(Compare("Ω", "ω"), 0);
}

TEST(JetText, LikeUsesTheEnginesWildcards) {
  EXPECT_TRUE(Like("ab*", "Abbey"));
  EXPECT_TRUE(Like("ab*", "ab"));
  EXPECT_FALSE(Like("ab*", "cab"));
  EXPECT_TRUE(Like("*bey", "abbey"));
  EXPECT_TRUE(Like("a?b*", "axbz"));
  EXPECT_FALSE(Like("a?b", "ab"));
  EXPECT_TRUE(Like("room #", "Room 4"));
  EXPECT_FALSE(Like("room #", "room x"));
  EXPECT_TRUE(Like("[a-c]at", "Bat"));
  EXPECT_FALSE(Like("[!a-c]at", "cat"));
  EXPECT_TRUE(Like("[!a-c]at", "hat"));
  EXPECT_TRUE(Like("*", ""));
  EXPECT_TRUE(Like("", ""));
  EXPECT_FALSE(Like("", "a"));
  EXPECT_TRUE(Like("a*b*c", "aXXbYYbZc"));
  EXPECT_FALSE(Like("a*b*c", "aXXbYYbZ"));
  // Italian accented letters, either case.
  EXPECT_TRUE(Like("CITTÀ*", "città vecchia"));
  EXPECT_TRUE(Like("è*", "È vero"));
  EXPECT_FALSE(Like("e*", "è vero"));
}

TEST(JetText, LikeTakesOtherCharactersAsThemselves) {
  // SQL's own wildcards mean nothing here.
  EXPECT_TRUE(Like("100%*", "100% sure"));
  EXPECT_FALSE(Like("100%*", "1000 times"));
  EXPECT_TRUE(Like("a_b", "A_B"));
  EXPECT_FALSE(Like("a_b", "axb"));
  // A bracketed wildcard is a literal one; an unclosed "[" stands for itself.
  EXPECT_TRUE(Like("[*]*", "*star"));
  EXPECT_FALSE(Like("[*]*", "star"));
  EXPECT_TRUE(Like("[?]", "?"));
  EXPECT_TRUE(Like("[[]x", "[x"));
  EXPECT_TRUE(Like("[x", "[x"));
  EXPECT_TRUE(Like("[]]", "]"));
  EXPECT_TRUE(Like("d'acc*", "D'accordo"));
}

TEST(JetText, LiteralPrefixStopsAtTheFirstWildcard) {
  EXPECT_EQ(LiteralPrefix("Ab*"), "ab");
  EXPECT_EQ(LiteralPrefix("a?c*"), "a");
  EXPECT_EQ(LiteralPrefix("*x"), "");
  EXPECT_EQ(LiteralPrefix("[*]x*"), "*x");
  EXPECT_EQ(LiteralPrefix("[ab]x"), "");
  EXPECT_EQ(LiteralPrefix("Città*"), "città");
}

TEST(JetText, EveryMatchOfAPrefixLiesInItsRange) {
  // The index range a prefix search reads must hold every text the pattern
  // matches; otherwise a search would miss words.
  const std::vector<std::string> alphabet = {"a", "b", "e", "è", "É",    "E",
                                             "z", "à", "À", "'", " ",    "1",
                                             "ü", "ÿ", "Ÿ", "ł", "\xc3", "\xf4\x8f\xbf\xbf"};
  std::mt19937 rng(7);
  const auto randomText = [&](int maxLen) {
    std::string s;
    const int len = std::uniform_int_distribution<int>(0, maxLen)(rng);
    for (int i = 0; i < len; ++i)
      s += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    return s;
  };
  int matches = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string prefix = randomText(2);
    const std::string text = randomText(4);
    const PrefixRange range = RangeForPrefix(LiteralPrefix(prefix + "*"));
    const bool inRange =
        Compare(text, range.lower) >= 0 && (range.upper.empty() || Compare(text, range.upper) < 0);
    if (Like(prefix + "*", text)) {
      ++matches;
      EXPECT_TRUE(inRange) << "prefix '" << prefix << "' text '" << text << "'";
    }
  }
  EXPECT_GT(matches, 100);
}

}  // namespace
}  // namespace dao::jet
