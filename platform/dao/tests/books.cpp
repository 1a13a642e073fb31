#include "books.h"

#include "dao/dao.h"

namespace daotest {

void MakeWordBook(const std::filesystem::path& path, const Pairs& rows,
                  const std::string& connect) {
  dao::Database db = dao::CreateDatabase(path.string(), connect);
  db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255))");
  db.Execute("CREATE UNIQUE INDEX English ON word (English)");
  dao::Recordset rs = db.OpenRecordset("word");
  for (const auto& [english, italian] : rows) {
    rs.AddNew();
    rs.Fields("English") = english;
    rs.Fields("Italian") = italian;
    rs.Update();
  }
}

void MakeCategorisedBook(const std::filesystem::path& path, const std::vector<Word>& rows,
                         const std::string& connect) {
  dao::Database db = dao::CreateDatabase(path.string(), connect);
  db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255), category TEXT(64))");
  db.Execute("CREATE UNIQUE INDEX CategoryEnglish ON word (category, English)");
  dao::Recordset rs = db.OpenRecordset("word");
  for (const Word& w : rows) {
    rs.AddNew();
    rs.Fields("English") = w.english;
    rs.Fields("Italian") = w.italian;
    rs.Fields("category") = w.category;
    rs.Update();
  }
}

}  // namespace daotest
