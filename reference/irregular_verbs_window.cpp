// Design of the irregular verbs window: base form, Turkish meaning, simple
// past and past participle, with "Main Page" and one button per page.
#include "reference/irregular_verbs_window.h"

#include "reference/irregular_verbs_table.h"

namespace dilmora::reference {

namespace {

constexpr Column kColumns[] = {{240, 1215}, {1560, 1815, "tr"}, {3480, 1215}, {4800, 1215}};

constexpr HeaderText kHeaders[] = {
    {" Present", "Düzensiz Fiilin Mastar Hali"},
    {" Turkish", "Düzensiz Fiilin Türkçesi"},
    {" Simple Past", "Düzensiz Fiilin 2. Hali"},
    {" Past Participle", "Düzensiz Fiilin 3. Hali"},
};

// "Page 2" and "Page 3" each overlap their right-hand neighbour by 15 twips.
constexpr PageButton kButtons[] = {
    {"Command3", kMainPageCaption, 240, 1215, kMainPage},
    {"Command1", "First Page", 1560, 1815, 1},
    {"Command2", "Page 2", 3480, 855, 2},
    {"Command4", "Page 3", 4320, 855, 3},
    {"Command5", "Page 4", 5160, 855, 4},
};

// The designed cell carries a trailing blank that page 1 lacks.
constexpr DesignCaption kDesignCaptions[] = {{81, " burst "}};

} // namespace

const PagedWindowOutline kIrregularVerbsOutline{
    .name = "Form3",
    .title = "Irregular Verbs",
    .columns = kColumns,
    .headers = kHeaders,
    .buttons = kButtons,
    .designCaptions = kDesignCaptions,
    .content = kIrregularVerbs,
};

} // namespace dilmora::reference
