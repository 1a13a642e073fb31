#include "word_query.h"

#include "dao/sql_text.h"

namespace dictionary {

std::optional<std::string> PrefixQuery(std::string_view column, std::string_view prefix) {
  if (column != "English" && column != "Italian") return std::nullopt;
  return "select * from word where " + std::string(column) + " like '" + dao::LikePattern(prefix) +
         "*' order by english";
}

}  // namespace dictionary
