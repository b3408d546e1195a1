// Finding in one reference window or in all of them.
#include "reference/findable.h"

#include "runtime/look.h"

#include <string>

namespace dilmora::reference {

namespace {

/// The typed text as code points: no more than the finder reads, however
/// much was pasted.
std::u32string codePoints(const QString& typed)
{
    return typed.left(static_cast<qsizetype>(kMaxTypedLength) * 2)
        .toStdU32String()
        .substr(0, kMaxTypedLength);
}

} // namespace

FindableWindow::FindableWindow(std::string_view title, std::vector<Entry> entries,
                               std::vector<Place> places)
    : m_title(title), m_entries(std::move(entries)), m_places(std::move(places))
{
}

std::vector<Match> FindableWindow::matches(const QString& typed) const
{
    return findEntries(m_entries, codePoints(typed));
}

runtime::FindTarget FindableWindow::target(const Match& match, int window) const
{
    const Place& place = m_places.at(match.index);
    const Entry& found = m_entries.at(match.index);
    // A row found by its Turkish says the Turkish it was found by.
    QString entry = runtime::toQString(found.english[0]).trimmed();
    if (match.rank == MatchRank::Turkish)
        entry += QStringLiteral(": ") + runtime::toQString(found.turkish).trimmed();
    return {.window = window,
            .page = place.page,
            .row = place.row,
            .firstColumn = place.firstColumn,
            .columns = place.columns,
            .name = entry + QStringLiteral(" — ") + runtime::toQString(m_title)};
}

std::vector<runtime::FindTarget> FindableWindow::find(const QString& typed) const
{
    std::vector<runtime::FindTarget> targets;
    for (const Match& match : matches(typed))
        targets.push_back(target(match));
    return targets;
}

std::vector<runtime::FindTarget> findEverywhere(std::span<const FindableWindow* const> windows,
                                                const QString& typed)
{
    std::vector<runtime::FindTarget> exact;
    std::vector<runtime::FindTarget> rest;
    for (std::size_t w = 0; w < windows.size(); ++w) {
        for (const Match& match : windows[w]->matches(typed))
            (match.exact ? exact : rest).push_back(windows[w]->target(match, static_cast<int>(w)));
    }
    exact.insert(exact.end(), rest.begin(), rest.end());
    return exact;
}

} // namespace dilmora::reference
