#pragma once

// The text rules of the settings file: how names, keys and values are
// written so that any text survives a round trip.

#include <optional>
#include <string>
#include <string_view>

namespace forms::settings_detail {

// Length of the well-formed UTF-8 sequence that starts at text[pos], or 0
// when the bytes there are not one (overlong forms and surrogates included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);
bool IsValidUtf8(std::string_view text);

// Keys and values use backslash escapes: \\ \n \r \t \s (a blank at either
// end, which reading would otherwise trim) \= \[ \# \; and \xHH for control
// characters and bytes that are not UTF-8.
std::string EscapeKey(std::string_view key);
std::string EscapeValue(std::string_view value);
std::optional<std::string> Unescape(std::string_view text);

// Application and section names are written as %HH where they hold "%",
// "\", "[", "]", control characters, non-UTF-8 bytes or a blank at either
// end, so that the single raw "\" of a section line separates the two.
std::string EscapeName(std::string_view name);
std::optional<std::string> UnescapeName(std::string_view text);

}  // namespace forms::settings_detail
