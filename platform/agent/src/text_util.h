#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace agent {

bool IsValidUtf8(std::string_view s);

// The byte offset of the code point with index `index` (0-based), or the text's
// size when the text is shorter.
std::size_t Utf8Offset(std::string_view s, std::size_t index);

}  // namespace agent
