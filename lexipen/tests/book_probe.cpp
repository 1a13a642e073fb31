// A second process over a word book.
//   book_probe hold FILE CONNECT MARK
//                                  opens FILE exclusively, makes the file
//                                  MARK and keeps FILE until its input ends
//   book_probe list FILE CONNECT CATEGORY
//                                  prints "English=Italian" of each word of
//                                  the category, in order

#include <fstream>
#include <iostream>
#include <string>

#include "dao/dao.h"

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const std::string mode = argv[1];
  try {
    if (mode == "hold" && argc == 5) {
      dao::Database db = dao::OpenDatabase(argv[2], true, false, argv[3]);
      std::ofstream(argv[4]) << "held\n";
      std::string line;
      while (std::getline(std::cin, line)) {
      }
      return 0;
    }
    if (mode == "list" && argc == 5) {
      dao::Database db = dao::OpenDatabase(argv[2], false, false, argv[3]);
      dao::Recordset rs = db.OpenRecordset(
          "select * from word where category=" + dao::Quote(argv[4]) + " ORDER BY English");
      for (; !rs.Eof(); rs.MoveNext())
        std::cout << rs.Fields("English").Value() << "=" << rs.Fields("Italian").Value() << "\n";
      return 0;
    }
  } catch (const dao::Error& e) {
    std::cout << "error " << e.number() << "\n";
    return 1;
  }
  return 2;
}
