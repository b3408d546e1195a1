// Design of the phrasal verbs window: two columns, "Main Page", "First
// Page" and the square buttons "P2" to "P9" and "LP" for the last page.
#include "reference/phrasal_verbs_window.h"

#include "reference/phrasal_verbs_table.h"

namespace dilmora::reference {

namespace {

constexpr Column kColumns[] = {{240, 1815}, {2280, 3735, "tr"}};

constexpr HeaderText kHeaders[] = {
    {" English", "İngilizce Deyimsel Fiiler"},
    {" Turkish", "İngilizce Deyimsel Fiillerin Türkçesi"},
};

// The square buttons step by 360 twips at 375 wide: each overlaps its
// right-hand neighbour by 15 twips, and "LP" ends under the grid's right edge.
constexpr PageButton kButtons[] = {
    {"Command1", kMainPageCaption, 240, 1215, kMainPage},
    {"Command2", "First Page", 1560, 1215, 1},
    {"Command3", "P2", 2760, 375, 2},
    {"Command4", "P3", 3120, 375, 3},
    {"Command5", "P4", 3480, 375, 4},
    {"Command6", "P5", 3840, 375, 5},
    {"Command7", "P6", 4200, 375, 6},
    {"Command8", "P7", 4560, 375, 7},
    {"Command9", "P8", 4920, 375, 8},
    {"Command10", "P9", 5280, 375, 9},
    {"Command11", "LP", 5640, 375, 10},
};

// The designed cell carries a trailing blank that page 1 lacks.
constexpr DesignCaption kDesignCaptions[] = {{62, " istenmedik bir şeye yol açmak "}};

} // namespace

const PagedWindowOutline kPhrasalVerbsOutline{
    .name = "Form6",
    .title = "Phrasal Verbs",
    .columns = kColumns,
    .headers = kHeaders,
    .buttons = kButtons,
    .designCaptions = kDesignCaptions,
    .content = kPhrasalVerbs,
};

} // namespace dilmora::reference
