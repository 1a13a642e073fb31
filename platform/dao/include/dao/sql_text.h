#pragma once

// Text that a program pastes into its SQL.
//
// The programs build their queries by pasting values between quotes, as in
// "... where category='" + name + "'". Typed text must neither break such a
// query nor change what it does. The engine takes care of what it can on its
// own side: its LIKE knows only its own wildcards, so "%" and "_" are plain
// characters; nothing outside a string passes through as SQLite syntax
// ("--" is no comment, parameter signs are refused); a second statement after
// ";" is refused. A quote, however, ends the string it stands in, and no
// engine can tell afterwards which quote was meant: so a program passes
// every typed value through one of these helpers as it pastes it, keeping
// the query's shape (the quotes around the value stay in the program's text).
// Each helper takes a text up to its first NUL, where the engine's text ends.

#include <string>
#include <string_view>

namespace dao {

// The inside of a '...' string: each quote doubled.
std::string EscapeQuotes(std::string_view text);

// A whole string literal: the text in quotes, each quote inside doubled.
std::string Quote(std::string_view text);

// The inside of a LIKE '...' pattern that matches `text` itself: the
// engine's wildcards "*", "?", "#" and "[" are taken literally.
std::string LikeLiteral(std::string_view text);

// The inside of a LIKE '...' pattern where typed "*", "?" and "#" keep
// their meaning as wildcards (a search box that offers them), while "["
// (which could leave a pattern unclosed) and quotes are taken literally.
std::string LikePattern(std::string_view text);

// A column or table name in brackets, for a name that comes from the user
// (an editable list of columns); a "]" in it is dropped, as no name can
// hold one.
std::string Identifier(std::string_view name);

}  // namespace dao
