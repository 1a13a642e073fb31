#pragma once

// The query of a search by the beginning of a word.

#include <optional>
#include <string>
#include <string_view>

namespace dictionary {

// The query for words whose `column` ("English" or "Italian") begins with
// `prefix`, ordered by the English word. The typed prefix keeps the engine's
// wildcards "*", "?" and "#" as patterns; a quote or a "[" in it is taken
// literally. Any other column gives no query.
std::optional<std::string> PrefixQuery(std::string_view column, std::string_view prefix);

}  // namespace dictionary
