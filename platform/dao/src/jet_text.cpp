#include "jet_text.h"

#include <algorithm>
#include <vector>

namespace dao::jet {

namespace {

constexpr char32_t kRawByteBase = 0xDC00;

// The plain letters of U+00C0..U+00FF, lower case; 0 where there is none.
constexpr char kLatin1Base[64 + 1] =
    "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0\0"  // U+00C0..U+00DF
    "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0y";  // U+00E0..U+00FF

// The plain letters of Latin Extended-A, by ranges of code points.
struct BaseRange {
  char32_t first, last;
  char letter;
};
constexpr BaseRange kLatinExtABase[] = {
    {0x100, 0x105, 'a'}, {0x106, 0x10D, 'c'}, {0x10E, 0x111, 'd'}, {0x112, 0x11B, 'e'},
    {0x11C, 0x123, 'g'}, {0x124, 0x127, 'h'}, {0x128, 0x131, 'i'}, {0x134, 0x135, 'j'},
    {0x136, 0x138, 'k'}, {0x139, 0x142, 'l'}, {0x143, 0x149, 'n'}, {0x14C, 0x151, 'o'},
    {0x154, 0x159, 'r'}, {0x15A, 0x161, 's'}, {0x162, 0x167, 't'}, {0x168, 0x173, 'u'},
    {0x174, 0x175, 'w'}, {0x176, 0x178, 'y'}, {0x179, 0x17E, 'z'}, {0x17F, 0x17F, 's'},
};

bool IsUpperExtA(char32_t c) {
  if (c >= 0x100 && c <= 0x137) return c % 2 == 0;
  if (c >= 0x139 && c <= 0x148) return c % 2 == 1;
  if (c >= 0x14A && c <= 0x177) return c % 2 == 0;
  if (c >= 0x179 && c <= 0x17E) return c % 2 == 1;
  return false;
}

}  // namespace

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b0 = byte(pos);
  int extra = 0;
  char32_t c = 0;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1;
    c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2;
    c = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3;
    c = b0 & 0x07;
  } else {
    ++pos;
    return kRawByteBase + b0;
  }
  if (pos + extra >= text.size()) {
    ++pos;
    return kRawByteBase + b0;
  }
  for (int i = 1; i <= extra; ++i) {
    const unsigned char b = byte(pos + i);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return kRawByteBase + b0;
    }
    c = (c << 6) | (b & 0x3F);
  }
  // Overlong forms and surrogates are no valid text either.
  if ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
      (extra == 3 && (c < 0x10000 || c > 0x10FFFF))) {
    ++pos;
    return kRawByteBase + b0;
  }
  pos += extra + 1;
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c >= kRawByteBase + 0x80 && c <= kRawByteBase + 0xFF) {
    out += static_cast<char>(c - kRawByteBase);
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return 'i';
    if (c == 0x178) return 0xFF;
    if (c == 0x17F) return 's';
    return IsUpperExtA(c) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;  // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;                // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

char32_t BaseLetter(char32_t c) {
  c = FoldCase(c);
  if (c >= 0xC0 && c <= 0xFF) {
    const char b = kLatin1Base[c - 0xC0];
    return b ? static_cast<char32_t>(b) : c;
  }
  if (c >= 0x100 && c <= 0x17F)
    for (const BaseRange& r : kLatinExtABase)
      if (c >= r.first && c <= r.last) return static_cast<char32_t>(r.letter);
  return c;
}

int Compare(std::string_view a, std::string_view b) {
  // Pass 1 on base letters, pass 2 on folded letters.
  for (int pass = 0; pass < 2; ++pass) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
      char32_t ca = NextCodePoint(a, i);
      char32_t cb = NextCodePoint(b, j);
      if (pass == 0) {
        ca = BaseLetter(ca);
        cb = BaseLetter(cb);
      } else {
        ca = FoldCase(ca);
        cb = FoldCase(cb);
      }
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
  }
  return 0;
}

namespace {

// One element of a parsed pattern.
struct PatternItem {
  enum Kind { kLiteral, kAnyRun, kAnyOne, kDigit, kSet } kind = kLiteral;
  char32_t literal = 0;
  bool negated = false;
  std::vector<std::pair<char32_t, char32_t>> ranges;  // folded, inclusive

  static PatternItem Of(Kind kind, char32_t literal = 0) {
    PatternItem item;
    item.kind = kind;
    item.literal = literal;
    return item;
  }

  bool Matches(char32_t c) const {
    switch (kind) {
      case kLiteral:
        return FoldCase(c) == literal;
      case kAnyOne:
        return true;
      case kDigit:
        return c >= '0' && c <= '9';
      case kSet: {
        const char32_t f = FoldCase(c);
        bool in = false;
        for (const auto& [lo, hi] : ranges)
          if (f >= lo && f <= hi) in = true;
        return in != negated;
      }
      case kAnyRun:
        break;
    }
    return false;
  }
};

std::vector<PatternItem> ParsePattern(std::string_view pattern) {
  std::vector<PatternItem> items;
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(pattern, pos);
    if (c == '*') {
      if (items.empty() || items.back().kind != PatternItem::kAnyRun)
        items.push_back(PatternItem::Of(PatternItem::kAnyRun));
    } else if (c == '?') {
      items.push_back(PatternItem::Of(PatternItem::kAnyOne));
    } else if (c == '#') {
      items.push_back(PatternItem::Of(PatternItem::kDigit));
    } else if (c == '[' && pattern.find(']', pos + 1) != std::string_view::npos) {
      // The first character after "[" (or "[!") belongs to the set even
      // when it is "]"; so "[]]" and "[[]" are sets of one character.
      PatternItem set = PatternItem::Of(PatternItem::kSet);
      std::size_t p = pos;
      if (p < pattern.size() && pattern[p] == '!') {
        set.negated = true;
        ++p;
      }
      bool first = true;
      while (p < pattern.size() && (first || pattern[p] != ']')) {
        first = false;
        const char32_t lo = FoldCase(NextCodePoint(pattern, p));
        char32_t hi = lo;
        if (p + 1 < pattern.size() && pattern[p] == '-' && pattern[p + 1] != ']') {
          ++p;
          hi = FoldCase(NextCodePoint(pattern, p));
        }
        set.ranges.emplace_back(std::min(lo, hi), std::max(lo, hi));
      }
      if (p >= pattern.size()) {  // no closing bracket after all
        pos = start + 1;
        items.push_back(PatternItem::Of(PatternItem::kLiteral, '['));
        continue;
      }
      pos = p + 1;
      items.push_back(std::move(set));
    } else {
      items.push_back(PatternItem::Of(PatternItem::kLiteral, FoldCase(c)));
    }
  }
  return items;
}

}  // namespace

bool Like(std::string_view pattern, std::string_view text) {
  const std::vector<PatternItem> items = ParsePattern(pattern);
  std::vector<char32_t> chars;
  chars.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) chars.push_back(NextCodePoint(text, pos));

  // Every item other than "*" takes exactly one character, so the classic
  // scan that goes back to the latest "*" on a mismatch is exact.
  std::size_t p = 0, t = 0;
  std::size_t starItem = std::string_view::npos, starText = 0;
  while (t < chars.size()) {
    if (p < items.size() && items[p].kind == PatternItem::kAnyRun) {
      starItem = p++;
      starText = t;
    } else if (p < items.size() && items[p].Matches(chars[t])) {
      ++p;
      ++t;
    } else if (starItem != std::string_view::npos) {
      p = starItem + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < items.size() && items[p].kind == PatternItem::kAnyRun) ++p;
  return p == items.size();
}

std::string LiteralPrefix(std::string_view pattern) {
  std::string prefix;
  for (const PatternItem& item : ParsePattern(pattern)) {
    if (item.kind == PatternItem::kLiteral) {
      AppendUtf8(prefix, item.literal);
    } else if (item.kind == PatternItem::kSet && !item.negated && item.ranges.size() == 1 &&
               item.ranges[0].first == item.ranges[0].second) {
      AppendUtf8(prefix, item.ranges[0].first);
    } else {
      break;
    }
  }
  return prefix;
}

PrefixRange RangeForPrefix(std::string_view prefix) {
  // Under Compare, the texts whose base letters begin with those of the
  // prefix lie together, from the bare base letters up to the same letters
  // with the last one raised by one.
  std::vector<char32_t> base;
  for (std::size_t pos = 0; pos < prefix.size();)
    base.push_back(BaseLetter(NextCodePoint(prefix, pos)));
  PrefixRange range;
  for (char32_t c : base) AppendUtf8(range.lower, c);
  while (!base.empty() && base.back() >= 0x10FFFF) base.pop_back();
  if (base.empty()) return range;
  base.back() += 1;
  // Skip the surrogate block, which UTF-8 cannot hold.
  if (base.back() >= 0xD800 && base.back() <= 0xDFFF) base.back() = 0xE000;
  for (char32_t c : base) AppendUtf8(range.upper, c);
  return range;
}

}  // namespace dao::jet
