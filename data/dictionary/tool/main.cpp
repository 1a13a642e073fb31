// Makes the dictionary's word list from the FreeDict dictionaries, the
// reviewed corrections, the word book and the core words.
//
//   dictionary_tool <out> <eng-ita.index> <eng-ita.dict.dz> <ita-eng.index>
//                   <ita-eng.dict.dz> <review folder> <word book folder> <hunspell folder>
//                   <wordnet folder>
//
// The review folder holds corrections.txt, core-words.txt,
// spelling-exceptions.txt, required-words.txt, answer-order.txt and
// coarse-words.txt. WordNet's list of English verbs tells which headwords
// also get their "to" form. The list is one table word
// (English, Italian), each pair once; indexes on both columns make a search
// by the beginning of a word read only the words that begin so. Any failed
// check leaves no list behind and ends with the problems on stderr.

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/ascii_case.h"
#include "base/atomic_file.h"
#include "dao/dao.h"
#include "dictd.h"
#include "spelling.h"
#include "word_list.h"

namespace fs = std::filesystem;
using namespace dictionary;

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot read the file");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The word book's pairs without their articles.
std::vector<Row> WordBook(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(folder))
    // The category files "NN-slug.txt".
    if (e.path().extension() == ".txt" &&
        std::isdigit(static_cast<unsigned char>(e.path().filename().string()[0])))
      files.push_back(e.path());
  std::sort(files.begin(), files.end());
  if (files.empty()) throw std::runtime_error(folder.string() + ": no word book files");
  std::vector<Row> rows;
  for (const auto& f : files)
    for (const Row& r : ParsePairs(ReadText(f), f.string())) rows.push_back(WordBookRow(r));
  return rows;
}

void Make(const fs::path& out, const std::vector<Row>& rows) {
  const fs::path part = fs::path(out.string() + ".part");
  fs::remove(part);
  try {
    dao::Database db = dao::CreateDatabase(part.string());
    db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255))");
    db.Execute("CREATE UNIQUE INDEX EnglishItalian ON word (English, Italian)");
    // Read in English order, equal headwords come in the order written: commonest first.
    db.Execute("CREATE INDEX English ON word (English)");
    db.Execute("CREATE INDEX Italian ON word (Italian)");
    db.BeginTrans();
    dao::Recordset rs = db.OpenRecordset("word");
    for (const Row& r : rows) {
      rs.AddNew();
      rs.Fields("English") = r.english;
      rs.Fields("Italian") = r.italian;
      rs.Update();
    }
    db.CommitTrans();
    rs.Close();
    db.Close();
  } catch (...) {
    std::error_code ec;
    fs::remove(part, ec);
    throw;
  }
  // Nothing writes the word list: keep it so.
  chmod(part.c_str(), 0444);
  if (std::string failed = base::CommitFile(part, out); !failed.empty())
    throw std::runtime_error(failed);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 10) {
    std::cerr << "usage: dictionary_tool <out> <eng-ita.index> <eng-ita.dict.dz> "
                 "<ita-eng.index> <ita-eng.dict.dz> <review folder> <word book folder> "
                 "<hunspell folder> <wordnet folder>\n";
    return 2;
  }
  try {
    const auto englishItalian = ReadDictionary(argv[2], argv[3]);
    const auto italianEnglish = ReadDictionary(argv[4], argv[5]);
    if (englishItalian.empty() || italianEnglish.empty())
      throw std::runtime_error("a source dictionary holds no words");
    const fs::path review = argv[6];
    const auto read = [&review](const char* name) {
      return std::pair(ReadText(review / name), (review / name).string());
    };
    const auto [correctionText, correctionFile] = read("corrections.txt");
    const Corrections corrections = ParseCorrections(correctionText, correctionFile);
    const auto [coreText, coreFile] = read("core-words.txt");
    std::vector<Row> extra = ParsePairs(coreText, coreFile);
    const std::vector<Row> book = WordBook(argv[7]);
    extra.insert(extra.end(), book.begin(), book.end());

    // Pairs that another source gives too confirm a cut headword's entry.
    std::set<std::pair<std::string, std::string>> englishFirst, italianFirst;
    for (const auto& p : italianEnglish)
      englishFirst.emplace(base::AsciiLowerCopy(p.to), base::AsciiLowerCopy(p.from));
    for (const auto& p : englishItalian)
      italianFirst.emplace(base::AsciiLowerCopy(p.to), base::AsciiLowerCopy(p.from));
    for (const Row& r : extra) {
      englishFirst.emplace(base::AsciiLowerCopy(r.english), base::AsciiLowerCopy(r.italian));
      italianFirst.emplace(base::AsciiLowerCopy(r.italian), base::AsciiLowerCopy(r.english));
    }
    std::vector<Row> source;
    for (const auto& p : WithoutCutHeadwords(englishItalian, englishFirst))
      source.push_back({p.from, p.to});
    for (const auto& p : WithoutCutHeadwords(italianEnglish, italianFirst))
      source.push_back({p.to, p.from});

    const auto [requiredText, requiredFile] = read("required-words.txt");
    const std::vector<Row> required = ParsePairs(requiredText, requiredFile);
    // A list of one word a line, "#" lines being comments.
    const auto wordSet = [&read](const char* name) {
      std::set<std::string, std::less<>> words;
      std::istringstream lines(read(name).first);
      for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != '#') words.insert(line);
      return words;
    };
    const auto exceptions = wordSet("spelling-exceptions.txt");

    const auto [orderText, orderFile] = read("answer-order.txt");
    const AnswerOrder order = ParseAnswerOrder(orderText, orderFile);
    const auto coarse = wordSet("coarse-words.txt");
    const fs::path verbIndex = fs::path(argv[9]) / "index.verb";
    const auto verbs = ParseWordNetIndex(ReadText(verbIndex));
    if (verbs.empty()) throw std::runtime_error(verbIndex.string() + ": lists no verbs");

    std::vector<Row> rows = BuildRows(source, extra, corrections);
    RankAnswers(rows, order);
    std::vector<std::string> problems = CheckAnswerOrder(rows, order);
    const Speller speller(fs::path(argv[8]) / "it_IT.aff", fs::path(argv[8]) / "it_IT.dic");
    rows = WithVerbForms(rows, [&](const Row& r) {
      std::string lemma = base::AsciiLowerCopy(r.english);
      std::replace(lemma.begin(), lemma.end(), ' ', '_');
      return verbs.contains(lemma) && !corrections.drops.contains({"to " + r.english, r.italian}) &&
             IsInfinitive(r.italian, [&](std::string_view w) { return speller.Accepts(w); });
    });
    for (auto&& found : {CheckPunctuationTwins(rows), CheckEmptySides(rows),
                         CheckRequired(rows, required), CheckSpelling(rows, speller, exceptions),
                         CheckCoarse(rows, coarse), CheckWordBookFound(rows, book)})
      problems.insert(problems.end(), found.begin(), found.end());
    if (!problems.empty()) {
      for (const auto& p : problems) std::cerr << "dictionary_tool: " << p << "\n";
      std::cerr << "dictionary_tool: " << problems.size()
                << " problems; mend them in the review folder " << review.string() << "\n";
      return 1;
    }
    Make(argv[1], rows);
    std::cout << "dictionary: " << rows.size() << " word pairs\n";
  } catch (const std::exception& e) {
    std::cerr << "dictionary_tool: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
