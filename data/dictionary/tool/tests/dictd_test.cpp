#include "dictd.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "testsupport/temp_dir.h"

namespace {

using dictionary::DecodeNumber;

void WriteGzip(const std::filesystem::path& path, const std::string& text) {
  gzFile out = gzopen(path.c_str(), "wb");
  gzwrite(out, text.data(), static_cast<unsigned>(text.size()));
  gzclose(out);
}

TEST(Dictd, NumbersAreBase64) {
  EXPECT_EQ(DecodeNumber("A"), 0u);
  EXPECT_EQ(DecodeNumber("B"), 1u);
  EXPECT_EQ(DecodeNumber("/"), 63u);
  EXPECT_EQ(DecodeNumber("BA"), 64u);
  EXPECT_EQ(DecodeNumber("C6q"), 2u * 4096 + 58u * 64 + 42u);
  EXPECT_THROW(DecodeNumber(""), std::runtime_error);
  EXPECT_THROW(DecodeNumber("a-b"), std::runtime_error);
}

TEST(Dictd, IndexSkipsTheHeaderEntries) {
  const auto entries = dictionary::ParseIndex(
      "\tC6f\tL\n00databaseinfo\tc\tYc\nabandon\tC7r\ti\nAix\xE2\x80\x90la\tB\tC\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].headword, "abandon");
  EXPECT_EQ(entries[0].offset, DecodeNumber("C7r"));
  EXPECT_EQ(entries[0].length, DecodeNumber("i"));
  EXPECT_EQ(entries[1].headword, "Aix-la");
  EXPECT_THROW(dictionary::ParseIndex("abandon\tC7r\n"), std::runtime_error);
  EXPECT_THROW(dictionary::ParseIndex("abandon\tC7r\t!\n"), std::runtime_error);
}

TEST(Dictd, TranslationsSplitSensesAndSynonyms) {
  EXPECT_EQ(dictionary::Translations("abandon /ɐbˈandən/\nabbandonare\n"),
            (std::vector<std::string>{"abbandonare"}));
  EXPECT_EQ(dictionary::Translations(
                "agree /ɐɡɹˈiː/\n1. convenire, pattuire\n2. concordare,  essere d'accordo\n"),
            (std::vector<std::string>{"convenire", "pattuire", "concordare", "essere d'accordo"}));
  EXPECT_EQ(dictionary::Translations("x\nAlsace\xE2\x80\x90Lorraine ; a\n"),
            (std::vector<std::string>{"Alsace-Lorraine", "a"}));
  EXPECT_EQ(dictionary::Translations("headword only"), (std::vector<std::string>{}));
  EXPECT_EQ(dictionary::Translations("h\n, ,\n\n"), (std::vector<std::string>{}));
}

TEST(Dictd, ReadsADictionaryAndRefusesADamagedOne) {
  testsupport::TempDir dir;
  const std::string text = "header\nhouse /haʊs/\ncasa\ncat /kat/\n1. gatto\n2. micio, gatta\n";
  WriteGzip(dir / "d.dict.dz", text);
  const auto house = text.find("house"), cat = text.find("cat ");
  auto b64 = [](std::uint64_t v) {
    static const char* a = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string s;
    do {
      s.insert(s.begin(), a[v % 64]);
      v /= 64;
    } while (v);
    return s;
  };
  std::ofstream(dir / "d.index") << "house\t" << b64(house) << "\t" << b64(cat - house) << "\n"
                                 << "cat\t" << b64(cat) << "\t" << b64(text.size() - cat) << "\n";
  const auto pairs = dictionary::ReadDictionary(dir / "d.index", dir / "d.dict.dz");
  ASSERT_EQ(pairs.size(), 4u);
  EXPECT_EQ(pairs[0].from, "house");
  EXPECT_EQ(pairs[0].to, "casa");
  EXPECT_EQ(pairs[3].from, "cat");
  EXPECT_EQ(pairs[3].to, "gatta");

  // An entry beyond the text, and a damaged compressed file.
  std::ofstream(dir / "far.index") << "far\tBAAA\tB\n";
  EXPECT_THROW(dictionary::ReadDictionary(dir / "far.index", dir / "d.dict.dz"),
               std::runtime_error);
  std::string gz;
  {
    std::ifstream in(dir / "d.dict.dz", std::ios::binary);
    gz.assign(std::istreambuf_iterator<char>(in), {});
  }
  gz.resize(gz.size() - 12);
  std::ofstream(dir / "cut.dict.dz", std::ios::binary) << gz;
  EXPECT_THROW(dictionary::Gunzip(dir / "cut.dict.dz"), std::runtime_error);
  EXPECT_THROW(dictionary::Gunzip(dir / "none.dict.dz"), std::runtime_error);
}

}  // namespace
