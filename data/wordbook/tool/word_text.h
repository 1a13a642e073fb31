#pragma once

// The source texts of the categorised word book: one file per category,
// UTF-8 with LF line ends. The first line is "# category: <value>"; further
// lines starting with "#" are comments and blank lines are ignored; every
// other line is "English<TAB>Italian", one TAB and no blanks around either
// text.

#include <string>
#include <string_view>
#include <vector>

namespace wordbook {

struct Entry {
  std::string english;
  std::string italian;
  int line = 0;
};

struct Source {
  std::string file;
  std::string category;
  std::vector<Entry> entries;
};

// Reads one source text; throws std::runtime_error("<file>:<line>: ...")
// on a malformed line.
Source ParseSource(std::string_view text, const std::string& file);

// Checks the sources together: every category one of the suite's 34, and
// each in one file only. Throws std::runtime_error naming the file.
void CheckSources(const std::vector<Source>& sources);

}  // namespace wordbook
