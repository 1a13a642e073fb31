#pragma once

// The rules that turn the source pairs into a word list a learner can
// trust: the reviewed corrections, the merged word book and core words, and
// the checks that fail the build.

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dictd.h"

namespace dictionary {

struct Row {
  std::string english;
  std::string italian;
  bool operator==(const Row&) const = default;
};

// The reviewed correction list, one rule a line, fields split by TABs:
//   italian <TAB> wrong <TAB> right    a misspelt or archaic Italian word, in any row
//   english <TAB> wrong <TAB> right    a wrong English headword or translation
//   drop <TAB> english <TAB> italian   a wrong pair; "*" as Italian drops every
//                                      pair of that English (a cut-off headword)
// Lines starting with "#" and blank lines are ignored.
struct Corrections {
  std::map<std::string, std::string, std::less<>> italian;
  std::map<std::string, std::string, std::less<>> english;
  std::set<std::pair<std::string, std::string>, std::less<>> drops;
};
Corrections ParseCorrections(std::string_view text, const std::string& fileName);

// "English<TAB>Italian" lines (word book, core words); "#" lines are
// comments. Throws naming the file and line for a line without one TAB.
std::vector<Row> ParsePairs(std::string_view text, const std::string& fileName);

// A word-book entry as a dictionary row: a noun (no sentence) without its definite article
// ("the apple" / "la mela" gives "apple" / "mela"; rows whose English does
// not begin with "the " keep theirs), a verb without its "to" ("to pay"
// gives "pay"; "to the station" is no verb and stays whole), an exclamation or question without its
// closing "!" or "?" ("why?" / "perché?" gives "why" / "perché").
Row WordBookRow(const Row& row);

// Every word of a text: runs of letters (any non-ASCII byte counts as a
// letter), an apostrophe closing an elided word ("dell'").
std::vector<std::string> Words(std::string_view text);

// Replaces the words of `text` found in `fixes`.
std::string FixWords(std::string_view text,
                     const std::map<std::string, std::string, std::less<>>& fixes);

// The letters of a headword alone, in small letters: spellings with the same
// key differ only in case, hyphens, apostrophes or blanks.
std::string PunctuationKey(std::string_view text);

// The source cuts a phrase headword to its first word ("the" for "the
// Netherlands"), so a cut headword stands over several entries. Of a
// headword with more than one entry only the pairs that `confirmed` holds
// (the other direction, the word book, the core words; compared without
// regard to case, as (from, to)) are kept.
std::vector<Pair> WithoutCutHeadwords(
    const std::vector<Pair>& pairs, const std::set<std::pair<std::string, std::string>>& confirmed);

// Applies the corrections, drops pairs with an empty side, adds `extra`
// (word book and core words), makes each spelling that differs from another
// only by punctuation the one of `extra` or else the better punctuated one, and returns the rows
// sorted, each pair once (ignoring case).
std::vector<Row> BuildRows(const std::vector<Row>& source, const std::vector<Row>& extra,
                           const Corrections& corrections);

// The reviewed order of a headword's answers, commonest first: lines of
// "English<TAB>Italian<TAB>Italian...", keyed by the English in small letters.
using AnswerOrder = std::map<std::string, std::vector<std::string>, std::less<>>;
AnswerOrder ParseAnswerOrder(std::string_view text, const std::string& fileName);

// Puts the answers of each headword (rows equal without regard to case, as
// BuildRows leaves them together) in the reviewed order; answers the order
// does not name follow in their own order.
void RankAnswers(std::vector<Row>& rows, const AnswerOrder& order);

// A learner types a verb as schools teach it, "to eat": every row whose
// English `isVerb` says is a verb with this Italian gets a twin "to ..." row,
// its answers in the bare headword's order, placed in English order.
std::vector<Row> WithVerbForms(const std::vector<Row>& rows,
                               const std::function<bool(const Row&)>& isVerb);

// Words of the form "xxx": English words in small letters with "_" for a blank,
// as WordNet's index.verb lists them.
std::set<std::string, std::less<>> ParseWordNetIndex(std::string_view text);

// The first word of an Italian answer looks like an infinitive (-are, -ere,
// -ire, -rre, or reflexive -rsi) and `known` accepts its gerund, which every
// verb forms regularly ("mangiando", "conducendo"), where a noun such as
// "bicchiere" forms none.
bool IsInfinitive(std::string_view italian, const std::function<bool(std::string_view)>& known);

// The checks the build fails on: each problem as one line of text.
std::vector<std::string> CheckPunctuationTwins(const std::vector<Row>& rows);
std::vector<std::string> CheckEmptySides(const std::vector<Row>& rows);
// `required` holds "English<TAB>word" or "Italian<TAB>word" lines' rows:
// english = column, italian = word.
std::vector<std::string> CheckRequired(const std::vector<Row>& rows,
                                       const std::vector<Row>& required);
// Every headword with several answers has its reviewed order, naming just its
// answers; an order for a headword that has no longer several answers is stale.
std::vector<std::string> CheckAnswerOrder(const std::vector<Row>& rows, const AnswerOrder& order);
// No answer holds a coarse word: a learner takes an answer as plain usage.
std::vector<std::string> CheckCoarse(const std::vector<Row>& rows,
                                     const std::set<std::string, std::less<>>& coarse);
// Every single-word Italian entry of the word book (`book`, articles taken
// off) can be found in the Italian column.
std::vector<std::string> CheckWordBookFound(const std::vector<Row>& rows,
                                            const std::vector<Row>& book);

}  // namespace dictionary
