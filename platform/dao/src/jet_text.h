#pragma once

// How the engine compares text: without regard to case, accented letters
// included (à equals À), and sorting an accented letter beside its plain
// one (è between e and f), the way a reader of a word list expects.

#include <cstddef>
#include <string>
#include <string_view>

namespace dao::jet {

// Reads one code point from UTF-8 at `pos` and advances it. A byte that
// starts no valid sequence is taken on its own as the code point 0xDC00 +
// byte, so that any text still orders consistently.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// Lower case of a letter (Latin, Greek, Cyrillic); other code points as they are.
char32_t FoldCase(char32_t c);

// The plain letter under an accented Latin letter, already folded (È -> e);
// other code points folded as FoldCase does.
char32_t BaseLetter(char32_t c);

// Total order of the engine's text: first by base letters, then by folded
// letters; texts equal there are equal ("Casa" = "casa", "e" < "è" < "f").
int Compare(std::string_view a, std::string_view b);

// Whether `text` matches the engine's pattern: "*" any run of characters,
// "?" any one character, "#" one digit, "[abc]" / "[a-z]" one of a set,
// "[!abc]" one outside it; every other character stands for itself ("%"
// and "_" too), compared without regard to case. An unclosed "[" stands for
// itself.
bool Like(std::string_view pattern, std::string_view text);

// The literal text a pattern must begin with (up to its first wildcard),
// so that a search can be limited to a range of an index. "[*]" counts as
// a literal "*".
std::string LiteralPrefix(std::string_view pattern);

// Bounds of the index range that holds every text beginning with `prefix`
// under Compare: lower <= text < upper. Empty `upper` means no upper bound.
struct PrefixRange {
  std::string lower;
  std::string upper;
};
PrefixRange RangeForPrefix(std::string_view prefix);

void AppendUtf8(std::string& out, char32_t c);

}  // namespace dao::jet
