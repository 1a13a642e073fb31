// Makes the word books of the program folder.
//
//   wordbook_tool empty <out>
//       an empty word book: table word (English, Italian), unique on English
//   wordbook_tool categorised <out> <password> <source.txt>...
//       the categorised word book from its source texts, encrypted
//   wordbook_tool install <made> <destination>
//       puts a made book in place, only when there is none: an existing
//       book holds the user's own words and is never overwritten

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "dao/dao.h"
#include "word_text.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path.string() + ": cannot read the file");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Builds the book under a temporary name and puts it in place whole.
template <typename Fill>
void MakeBook(const fs::path& out, const std::string& connect, Fill fill) {
  const fs::path part = fs::path(out.string() + ".part");
  fs::remove(part);
  try {
    dao::Database db = dao::CreateDatabase(part.string(), connect);
    db.BeginTrans();
    fill(db);
    db.CommitTrans();
    db.Close();
  } catch (...) {
    std::error_code ec;
    fs::remove(part, ec);
    throw;
  }
  if (std::string failed = base::CommitFile(part, out); !failed.empty())
    throw std::runtime_error(failed);
}

void MakeEmpty(const fs::path& out) {
  MakeBook(out, "", [](dao::Database& db) {
    db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255))");
    db.Execute("CREATE UNIQUE INDEX English ON word (English)");
  });
}

void MakeCategorised(const fs::path& out, const std::string& password,
                     const std::vector<fs::path>& files) {
  std::vector<wordbook::Source> sources;
  for (const fs::path& f : files) sources.push_back(wordbook::ParseSource(ReadFile(f), f.string()));
  wordbook::CheckSources(sources);

  std::size_t words = 0;
  MakeBook(out, ";pwd=" + password, [&](dao::Database& db) {
    db.Execute("CREATE TABLE word (English TEXT(255), Italian TEXT(255), category TEXT(64))");
    db.Execute("CREATE UNIQUE INDEX CategoryEnglish ON word (category, English)");
    dao::Recordset rs = db.OpenRecordset("word");
    for (const wordbook::Source& s : sources) {
      for (const wordbook::Entry& e : s.entries) {
        rs.AddNew();
        rs.Fields("English") = e.english;
        rs.Fields("Italian") = e.italian;
        rs.Fields("category") = s.category;
        try {
          rs.Update();
        } catch (const dao::Error& err) {
          if (err.number() != dao::err::kDuplicateKey) throw;
          throw std::runtime_error(s.file + ":" + std::to_string(e.line) + ": \"" + e.english +
                                   "\" is in this category already (the English text is the "
                                   "key, compared without regard to case)");
        }
        ++words;
      }
    }
  });
  std::cout << "categorised word book: " << words << " words in " << sources.size()
            << " categories\n";
}

void Install(const fs::path& made, const fs::path& destination) {
  // Quietly: this runs at every build.
  if (fs::exists(fs::symlink_status(destination))) return;
  const fs::path part = fs::path(destination.string() + ".part");
  fs::remove(part);
  fs::copy_file(made, part);
  {
    // On disk before it takes the name.
    const int fd = open(part.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      fsync(fd);
      close(fd);
    }
  }
  // link() takes the name only if nobody has it, unlike rename().
  if (link(part.c_str(), destination.c_str()) != 0 && errno != EEXIST) {
    const int error = errno;
    fs::remove(part);
    throw std::runtime_error(destination.string() + ": " + std::strerror(error));
  }
  fs::remove(part);
  std::cout << "made " << destination.string() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() == 2 && args[0] == "empty") {
      MakeEmpty(args[1]);
    } else if (args.size() >= 3 && args[0] == "categorised") {
      MakeCategorised(args[1], args[2], std::vector<fs::path>(args.begin() + 3, args.end()));
    } else if (args.size() == 3 && args[0] == "install") {
      Install(args[1], args[2]);
    } else {
      std::cerr << "usage: wordbook_tool empty <out> | categorised <out> <password> <source>... "
                   "| install <made> <destination>\n";
      return 2;
    }
  } catch (const std::exception& e) {
    std::cerr << "wordbook_tool: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
