// Finding a row by what a learner types: the matching and its ranking.
//
// An entry is one row of a content table (or one cell of the numbers
// table): its English texts, the first of which is the entry itself, and
// its Turkish meaning. Typed text matches from the start of any word of
// those texts, running on across words ("look af" finds "look after"). The
// cells' leading blank, case, punctuation and words in parentheses do not
// count ("ask out" finds " ask (someone) out"). A plain Latin letter also
// matches its Turkish twin (c ç, g ğ, i ı, o ö, s ş, u ü, a â), so "icmek"
// finds "içmek"; a Turkish letter matches only itself. Depends on nothing
// but the standard library.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace dilmora::reference {

/// The longest typed text that is matched; the rest is left out.
inline constexpr std::size_t kMaxTypedLength = 100;

/// An entry's texts as they stand in the table (UTF-8, leading blank included).
struct Entry {
    std::array<std::string_view, 3> english; ///< The entry first, then other forms; "" for none.
    std::string_view turkish;                ///< "" for none.
};

/// Where an entry matched; a lower rank comes first.
enum class MatchRank {
    EntryStart,  ///< At the start of the entry itself.
    EnglishWord, ///< At a later word of the entry, or of one of its other forms.
    Turkish,     ///< In the Turkish meaning only.
};

struct Match {
    std::size_t index = 0; ///< The entry's place in the list.
    MatchRank rank = MatchRank::EntryStart;
    bool exact = false; ///< The entry itself is the typed text, nothing more.
};

/// The entries that match `typed` (Unicode code points, at most
/// kMaxTypedLength of them are used), best rank first and, within a rank,
/// in the entries' order. Typed text without a letter or digit matches nothing.
std::vector<Match> findEntries(std::span<const Entry> entries, std::u32string_view typed);

} // namespace dilmora::reference
