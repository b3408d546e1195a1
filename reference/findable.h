// A reference window as a find sees it: its entries, where each stands in
// the grid, and what a find in it, or in all of them at once, turns up.
#pragma once

#include "reference/word_finder.h"
#include "runtime/finding.h"

#include <QString>

#include <span>
#include <string_view>
#include <vector>

namespace dilmora::reference {

class FindableWindow {
public:
    /// Where an entry stands: the page, the grid row and its cells.
    struct Place {
        int page = 0; ///< 0 in a window without pages.
        int row = 0;
        int firstColumn = 0;
        int columns = 1;
    };

    FindableWindow(std::string_view title, std::vector<Entry> entries, std::vector<Place> places);

    std::string_view title() const { return m_title; }

    /// The entries that match `typed`, best first (findEntries()).
    std::vector<Match> matches(const QString& typed) const;

    /// Where the entry of `match` stands, named for a list as "look after —
    /// Phrasal Verbs", or "drink: içmek — Irregular Verbs" when it was found
    /// by its Turkish; `window` tells the windows of a list apart.
    runtime::FindTarget target(const Match& match, int window = 0) const;

    /// What typing `typed` into this window finds, best first.
    std::vector<runtime::FindTarget> find(const QString& typed) const;

private:
    std::string_view m_title;
    std::vector<Entry> m_entries;
    std::vector<Place> m_places;
};

/// What typing `typed` into the main window lists: the entries that are
/// exactly the typed text, from every window, then the other matches,
/// window by window in the order given, each window's ranked as a find in
/// it ranks them. A target's `window` is its window's index in `windows`.
std::vector<runtime::FindTarget> findEverywhere(std::span<const FindableWindow* const> windows,
                                                const QString& typed);

} // namespace dilmora::reference
