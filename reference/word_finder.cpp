// Matching typed text against entries: folding, words and ranking.
#include "reference/word_finder.h"

#include <algorithm>
#include <string>

namespace dilmora::reference {

namespace {

constexpr char32_t kCapitalDottedI = U'\u0130'; // İ
constexpr char32_t kDotlessI = U'\u0131';       // ı

/// The code points of UTF-8 `text`; the tables hold valid UTF-8 only.
std::u32string decode(std::string_view text)
{
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        points.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    return points;
}

/// Lower case, the Turkish capitals included. A capital I becomes a plain i,
/// as it may be either language's. A capital dotted İ stays itself, so that
/// typed it matches only an i with its dot; what is folded from the tables
/// takes the i.
char32_t fold(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c - U'A' + U'a';
    switch (c) {
    case U'Ç': return U'ç';
    case U'Ğ': return U'ğ';
    case U'Ö': return U'ö';
    case U'Ş': return U'ş';
    case U'Ü': return U'ü';
    case U'Â': return U'â';
    case U'Î': return U'î';
    case U'Û': return U'û';
    default: return c;
    }
}

/// True when typed `plain` matches `letter` in the text, its Turkish twin.
bool isTwin(char32_t plain, char32_t letter)
{
    switch (plain) {
    case U'a': return letter == U'â';
    case U'c': return letter == U'ç';
    case U'g': return letter == U'ğ';
    case U'i': return letter == kDotlessI || letter == U'î';
    case U'o': return letter == U'ö';
    case U's': return letter == U'ş';
    case U'u': return letter == U'ü' || letter == U'û';
    case kCapitalDottedI: return letter == U'i';
    default: return false;
    }
}

/// Characters between words: blanks, punctuation and control characters.
bool separates(char32_t c)
{
    return c < 0x20 || c == 0x7F || c == U'\u00A0'
           || std::u32string_view(U" ,/-().;:!?\"").find(c) != std::u32string_view::npos;
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

enum class Parentheses { Dropped, Kept };

/// `points` folded, its words each followed by exactly one blank: "look
/// after ". Apostrophes and the full stops that group digits (1.000) go;
/// words in parentheses go too, or stay as words of their own.
std::u32string words(std::u32string_view points, Parentheses parentheses)
{
    std::u32string out;
    int depth = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        if (parentheses == Parentheses::Dropped && (c == U'(' || (c == U')' && depth > 0))) {
            depth += c == U'(' ? 1 : -1;
            continue;
        }
        if (depth > 0 || c == U'\'' || c == U'\u2019')
            continue;
        if (c == U'.' && i > 0 && i + 1 < points.size() && isDigit(points[i - 1])
            && isDigit(points[i + 1]))
            continue;
        if (separates(c)) {
            if (!out.empty() && out.back() != U' ')
                out.push_back(U' ');
            continue;
        }
        out.push_back(fold(c));
    }
    if (!out.empty() && out.back() != U' ')
        out.push_back(U' ');
    return out;
}

/// The typed text as words; it keeps its last blank only when it was typed,
/// so that "go " asks for the whole word "go".
std::u32string typedWords(std::u32string_view typed)
{
    typed = typed.substr(0, kMaxTypedLength);
    std::u32string out = words(typed, Parentheses::Kept);
    if (!out.empty() && !separates(typed.back()))
        out.pop_back();
    return out;
}

bool matchesAt(std::u32string_view text, std::size_t at, std::u32string_view typed)
{
    if (at + typed.size() > text.size())
        return false;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] != text[at + i] && !isTwin(typed[i], text[at + i]))
            return false;
    }
    return true;
}

bool matchesAWord(std::u32string_view text, std::u32string_view typed)
{
    for (std::size_t at = 0; at < text.size(); ++at) {
        if ((at == 0 || text[at - 1] == U' ') && matchesAt(text, at, typed))
            return true;
    }
    return false;
}

/// One text of an entry in both readings: without its words in
/// parentheses, and with them.
struct Readings {
    std::u32string without;
    std::u32string with;

    explicit Readings(std::string_view text)
    {
        const std::u32string points = decode(text);
        without = words(points, Parentheses::Dropped);
        with = words(points, Parentheses::Kept);
        // In a table, a capital dotted İ is simply an i.
        std::ranges::replace(without, kCapitalDottedI, U'i');
        std::ranges::replace(with, kCapitalDottedI, U'i');
    }
    bool startsWith(std::u32string_view typed) const
    {
        return matchesAt(without, 0, typed) || matchesAt(with, 0, typed);
    }
    bool hasWordStarting(std::u32string_view typed) const
    {
        return matchesAWord(without, typed) || matchesAWord(with, typed);
    }
    bool is(std::u32string_view typed) const
    {
        return without.size() == typed.size() + 1 && matchesAt(without, 0, typed);
    }
};

} // namespace

std::vector<Match> findEntries(std::span<const Entry> entries, std::u32string_view typed)
{
    std::vector<Match> found;
    const std::u32string wanted = typedWords(typed);
    if (wanted.empty())
        return found;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        const Entry& entry = entries[index];
        const Readings itself(entry.english[0]);
        Match match{.index = index, .exact = itself.is(wanted)};
        if (itself.startsWith(wanted)) {
            match.rank = MatchRank::EntryStart;
        } else if (std::ranges::any_of(entry.english, [&](std::string_view english) {
                       return Readings(english).hasWordStarting(wanted);
                   })) {
            match.rank = MatchRank::EnglishWord;
        } else if (Readings(entry.turkish).hasWordStarting(wanted)) {
            match.rank = MatchRank::Turkish;
        } else {
            continue;
        }
        found.push_back(match);
    }
    std::ranges::stable_sort(found, {}, &Match::rank);
    return found;
}

} // namespace dilmora::reference
