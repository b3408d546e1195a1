// Design of the particles window: two columns, "Main Page" under the
// English column and the three page buttons under the Turkish one.
#include "reference/particles_window.h"

#include "reference/particles_table.h"

namespace dilmora::reference {

namespace {

constexpr Column kColumns[] = {{240, 1815}, {2280, 3735, "tr"}};

constexpr HeaderText kHeaders[] = {
    {" English", "İngilizce Edatlar (Edatlar, tek başına anlamı olmayıp isim veya zamirlerle "
                 "anlam kazanan kelimelerdir.) "},
    {" Turkish", "İngilizce Edatların Türkçesi"},
};

constexpr PageButton kButtons[] = {
    {"Command1", kMainPageCaption, 240, 1815, kMainPage},
    {"Command2", "First Page", 2280, 1335, 1},
    {"Command3", "Page 2", 3720, 1095, 2},
    {"Command4", "Page 3", 4920, 1095, 3},
};

} // namespace

const PagedWindowOutline kParticlesOutline{
    .name = "Form4",
    .title = "Particles",
    .columns = kColumns,
    .headers = kHeaders,
    .buttons = kButtons,
    .content = kParticles,
};

} // namespace dilmora::reference
