// Design of the numbers window. It is not paged: its whole content is its
// design, and "Main Page" is its only handler. Its cells have the paged
// windows' look, but its labels are numbered as the table grew, not by their
// rule, so every cell is listed.
#include "reference/numbers_window.h"

#include "reference/paged_window.h"

#include <array>

namespace dilmora::reference {

namespace {

// Columns 1 and 2, and 3 and 4, overlap by 15 twips and share a border line.
constexpr Column kCardinals{120, 1335};
constexpr Column kMoreCardinals{1440, 1695};
constexpr Column kOrdinals{3240, 1455};
constexpr Column kMoreOrdinals{4680, 1455};

struct NumberCell {
    std::string_view name;
    std::string_view text;
};

constexpr int kRows = 22;
constexpr int kColumns = 4;

// Row by row: cardinals, more cardinals, ordinals, more ordinals.
// clang-format off
constexpr std::array<std::array<NumberCell, kColumns>, kRows> kCells{{
    {{{"Label5", " 0 zero"}, {"Label2", " 22 twentytwo"}, {"Label47", " 1st first"}, {"Label4", " 23rd twenty third"}}},
    {{{"Label6", " 1 one"}, {"Label27", " 23 twentythree"}, {"Label48", " 2nd second"}, {"Label69", " 24th twentyfourth"}}},
    {{{"Label7", " 2 two"}, {"Label28", " 24 twentyfour"}, {"Label49", " 3rd third"}, {"Label70", " 25th twentyfifth"}}},
    {{{"Label8", " 3 three"}, {"Label29", " 25 twentyfive "}, {"Label50", " 4th fourth"}, {"Label71", " 26th twentysixth"}}},
    {{{"Label9", " 4 four"}, {"Label30", " 26 twentysix"}, {"Label51", " 5th fifth"}, {"Label72", " 27th tw.seventh"}}},
    {{{"Label10", " 5 five"}, {"Label31", " 27 twentyseven"}, {"Label52", " 6th sixth"}, {"Label73", " 28th twentyeighth"}}},
    {{{"Label11", " 6 six"}, {"Label32", " 28 twentyeight"}, {"Label53", " 7th seventh"}, {"Label74", " 29th twentyninth"}}},
    {{{"Label12", " 7 seven"}, {"Label33", " 29 twentynine"}, {"Label54", " 8th eighth"}, {"Label75", " 30th thirtieth"}}},
    {{{"Label13", " 8 eight"}, {"Label34", " 30 thirty"}, {"Label55", " 9th ninth"}, {"Label76", " 40th fortieth "}}},
    {{{"Label14", " 9 nine"}, {"Label35", " 40 forty"}, {"Label56", " 10th tenth"}, {"Label77", " 50th fiftieth"}}},
    {{{"Label15", " 10 ten"}, {"Label36", " 50 fifty"}, {"Label57", " 11th eleventh"}, {"Label78", " 60th sixtieth"}}},
    {{{"Label16", " 11 eleven"}, {"Label37", " 60 sixty"}, {"Label58", " 12th twelfth"}, {"Label79", " 70th sevetieth"}}},
    {{{"Label17", " 12 twelve"}, {"Label38", " 70 seventy"}, {"Label59", " 13th thirteenth"}, {"Label80", " 80th eightieth"}}},
    {{{"Label18", " 13 thirteen"}, {"Label39", " 80 eighty"}, {"Label60", " 14th fourteenth"}, {"Label81", " 90th ninetieth"}}},
    {{{"Label19", " 14 fourteen"}, {"Label40", " 90 ninety"}, {"Label61", " 15th fifteenth"}, {"Label82", " 100th one hun.th"}}},
    {{{"Label20", " 15 fifteen"}, {"Label41", " 100 one hundred"}, {"Label62", " 16th sixteenth"}, {"Label83", " 200th two hun.th"}}},
    {{{"Label21", " 16 sixteen"}, {"Label42", " 200 two hundred"}, {"Label63", " 17th seventeenth"}, {"Label84", " 300th three hun.th"}}},
    {{{"Label22", " 17 seventeen"}, {"Label43", " 1.000 one thousand"}, {"Label64", " 18th eighteenth"}, {"Label85", " 400th four hun.th"}}},
    {{{"Label23", " 18 eighteen"}, {"Label44", " 10.000 ten thousand"}, {"Label65", " 19th nineteenth"}, {"Label86", " 500th five hun.th"}}},
    {{{"Label24", " 19 nineteen"}, {"Label45", " 100.000 one hun.tho."}, {"Label66", " 20th twentieth"}, {"Label87", " 600th six hun.th"}}},
    {{{"Label25", " 20 twenty"}, {"Label46", " 1.000.000 one million"}, {"Label67", " 21st twentyfirst"}, {"Label88", " 700th sev.hun.th"}}},
    {{{"Label26", " 21 twentyone"}, {"Label89", " 2.000.000 two million"}, {"Label68", " 22nd tw.second"}, {"Label90", " 800th eig.hun.th"}}},
}};
// clang-format on

constexpr std::array<Column, kColumns> kColumnsInRow{kCardinals, kMoreCardinals, kOrdinals,
                                                     kMoreOrdinals};

// Header cells stand over the first and third columns only; each label's
// tab index is its number.
constexpr auto kLabels = [] {
    std::array<LabelDesign, 2 + kRows * kColumns> labels{};
    labels[0] = headerCell("Label1", kCardinals, " Normal Numbers", "Normal Sayılar", 1);
    labels[1] = headerCell("Label3", kOrdinals, " Numbers (st,nd,th)", "-nci: birinci (1.)", 3);
    std::size_t next = 2;
    for (int row = 1; row <= kRows; ++row) {
        for (std::size_t c = 0; c < kColumnsInRow.size(); ++c) {
            const NumberCell& cell = kCells[static_cast<std::size_t>(row - 1)][c];
            labels[next++] =
                gridCell(cell.name, kColumnsInRow[c], row, cell.text, controlNumber(cell.name));
        }
    }
    return labels;
}();

// The same grid as assistive technology reads it: the label names row by
// row, and the header over each column ("" over the two without one).
constexpr auto kCellNames = [] {
    std::array<std::string_view, kRows * kColumns> names{};
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = kCells[i / kColumnsInRow.size()][i % kColumnsInRow.size()].name;
    return names;
}();
constexpr std::string_view kHeaderNames[kColumns] = {"Label1", "", "Label3", ""};

const runtime::GridDesign kGrid{
    .rows = kRows, .columns = kColumns, .cells = kCellNames, .headers = kHeaderNames};

constexpr ButtonDesign kButtons[] = {
    mainPageButton("Command1", {120, 5880, 1335, kButtonHeight}),
};

} // namespace

const runtime::FormDesign kNumbersDesign{
    .name = "Form5",
    .title = "Numbers",
    .clientWidth = 6255,
    .clientHeight = 6375,
    .labels = kLabels,
    .buttons = kButtons,
    .grid = &kGrid,
};

const FindableWindow& numbersFindable()
{
    static const FindableWindow numbers = [] {
        std::vector<Entry> entries;
        std::vector<FindableWindow::Place> places;
        for (int c = 0; c < kColumns; ++c) {
            for (int row = 0; row < kRows; ++row) {
                entries.push_back(
                    {.english = {
                         kCells[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)].text}});
                places.push_back({.row = row, .firstColumn = c, .columns = 1});
            }
        }
        return FindableWindow(kNumbersDesign.title, std::move(entries), std::move(places));
    }();
    return numbers;
}

std::unique_ptr<runtime::Form> createNumbersWindow()
{
    auto window = std::make_unique<runtime::Form>(kNumbersDesign);
    window->onClick("Command1", mainPage);
    window->onFind({.search = [](const QString& typed) { return numbersFindable().find(typed); }});
    return window;
}

} // namespace dilmora::reference
