// A second process for the engine's tests.
//
//   dao_child hold-exclusive|hold-shared <file> [connect]
//     opens the file, prints "ready", and keeps it until its input closes;
//     prints "error <number>" when the open fails.
//   dao_child end-holding <file> [connect]
//     opens the file shared twice, prints "ready", and when its input closes
//     ends at once, the way a program ends, without closing either.
//   dao_child add-rows|edit-row <file> [connect]
//     writes through a recordset without end (until it is killed): new rows
//     "row N" / "riga N", or the first row changed to "edit N" / "modifica N";
//     prints "ready" after the first write.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dao/dao.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string mode = argv[1];
  const std::string file = argv[2];
  const std::string connect = argc > 3 ? argv[3] : "";
  try {
    if (mode == "hold-exclusive" || mode == "hold-shared") {
      dao::Database db = dao::OpenDatabase(file, mode == "hold-exclusive", false, connect);
      std::printf("ready\n");
      std::fflush(stdout);
      char c;
      while (read(0, &c, 1) > 0) {
      }
      return 0;
    }
    if (mode == "end-holding") {
      dao::Database db = dao::OpenDatabase(file, false, false, connect);
      dao::Database again = dao::OpenDatabase(file, false, false, connect);
      std::printf("ready\n");
      std::fflush(stdout);
      char c;
      while (read(0, &c, 1) > 0) {
      }
      dao::ReleaseAllAtEnd();
      std::_Exit(0);
    }
    dao::Database db = dao::OpenDatabase(file, true, false, connect);
    dao::Recordset rs = db.OpenRecordset("select * from word");
    for (long n = 0;; ++n) {
      if (mode == "add-rows") {
        rs.AddNew();
        rs.Fields("English") = "row " + std::to_string(n);
        rs.Fields("Italian") = "riga " + std::to_string(n);
      } else {
        rs.MoveFirst();
        rs.Edit();
        rs.Fields("English") = "edit " + std::to_string(n);
        rs.Fields("Italian") = "modifica " + std::to_string(n);
      }
      rs.Update();
      if (n == 0) {
        std::printf("ready\n");
        std::fflush(stdout);
      }
    }
  } catch (const dao::Error& e) {
    std::printf("error %d\n", e.number());
    return 1;
  }
}
