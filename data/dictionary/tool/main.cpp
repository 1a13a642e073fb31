// Makes the dictionary's word list from the FreeDict dictionaries.
//
//   dictionary_tool <out> <eng-ita.index> <eng-ita.dict.dz> <ita-eng.index> <ita-eng.dict.dz>
//
// Both directions go into one table word (English, Italian), each pair
// once: pairs that differ only in letter case count as the same, as the
// engine compares text. Indexes on both columns make a search by the
// beginning of a word read only the words that begin so.

#include <sys/stat.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "dictd.h"

namespace fs = std::filesystem;

namespace {

void Make(const fs::path& out, const std::vector<dictionary::Pair>& englishItalian,
          const std::vector<dictionary::Pair>& italianEnglish) {
  const fs::path part = fs::path(out.string() + ".part");
  fs::remove(part);
  std::size_t added = 0, repeated = 0;
  try {
    dao::Database db = dao::CreateDatabase(part.string());
    db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255))");
    db.Execute("CREATE UNIQUE INDEX EnglishItalian ON word (English, Italian)");
    db.Execute("CREATE INDEX Italian ON word (Italian)");
    db.BeginTrans();
    dao::Recordset rs = db.OpenRecordset("word");
    const auto add = [&](const std::string& english, const std::string& italian) {
      rs.AddNew();
      rs.Fields("English") = english;
      rs.Fields("Italian") = italian;
      try {
        rs.Update();
        ++added;
      } catch (const dao::Error& e) {
        if (e.number() != dao::err::kDuplicateKey) throw;
        rs.CancelUpdate();
        ++repeated;
      }
    };
    for (const auto& p : englishItalian) add(p.from, p.to);
    for (const auto& p : italianEnglish) add(p.to, p.from);
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
  fs::rename(part, out);
  std::cout << "dictionary: " << added << " word pairs (" << repeated
            << " repeated pairs merged)\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: dictionary_tool <out> <eng-ita.index> <eng-ita.dict.dz> "
                 "<ita-eng.index> <ita-eng.dict.dz>\n";
    return 2;
  }
  try {
    const auto englishItalian = dictionary::ReadDictionary(argv[2], argv[3]);
    const auto italianEnglish = dictionary::ReadDictionary(argv[4], argv[5]);
    if (englishItalian.empty() || italianEnglish.empty())
      throw std::runtime_error("a source dictionary holds no words");
    Make(argv[1], englishItalian, italianEnglish);
  } catch (const std::exception& e) {
    std::cerr << "dictionary_tool: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
