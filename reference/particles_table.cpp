// The particles window's 75 rows, page by page.
#include "reference/particles_table.h"

namespace dilmora::reference {

namespace {

// English entries are kept exactly as the window shows them, misspellings included.
constexpr ContentRow<2> kRows[] = {
    {" about", " hakkında, civarında, aşağı yukarı"},
    {" above", " üst taraf, yukarda"},
    {" according to", " -e göre, uyarınca"},
    {" across", " karşısında, karşıdan karşıya"},
    {" after", " -den sonra, ardından, arkasından"},
    {" against", " -e karşı, aleyhinde, -e dayalı"},
    {" among (amongst)", " arasında (çok şey)"},
    {" apart", " ayrı, ayrı ayrı, bir yana"},
    {" apart from", " -den başka"},
    {" around", " etrafında, civarında, yaklaşık"},
    {" as", " olarak, gibi, -dığında, -den dolayı"},
    {" as concerns", " ile ilgili olarak, -e gelince"},
    {" as regards", " -e gelince, hususunda, bakımından"},
    {" at", " -de, -da"},
    {" away", " uzağa, uzakta, öteye"},
    {" back", " geri, geriye, arkaya"},
    {" backwards", " geriye doğru, geri geri, tersine"},
    {" because of", " -den dolayı"},
    {" before", " -den önce, -meden önce"},
    {" behind", " arkasında, gerisinde, ardında"},
    {" below", " aşağısında, altında, -den aşağı"},
    {" beside", " yanında, yanı başında, -e kıyasla"},
    {" besides", " yanısıra"},
    {" between", " arasında (iki şey)"},
    {" beyond", " ötesinde, ötesine, -den öte"},
    {" by", " ile, tarafından, yanında, vasıtasıyla"},
    {" by means of", " vasıtasıyla, aracılığıyla, yoluyla"},
    {" concerning", " hakkında, ile ilgili, -e dair"},
    {" despite", " -e rağmen"},
    {" down", " aşağıda, aşağıya (doğru)"},
    {" downwards", " aşağıya doğru"},
    {" during", " esnasında, boyunca"},
    // Page 2
    {" except", " hariç, başka"},
    {" except for", " -den başka"},
    {" excluding", " hariç, dışında, hariç tutarak"},
    {" for", " için, uğruna, -e, süresince"},
    {" forwalds", " ileriye, ileri doğru"},
    {" in", " içinde, iç tarafta"},
    {" including", " dâhil, dâhil olmak üzere"},
    {" in front of", " önünde, önüne, karşısında"},
    {" inside", " içinde, iç tarafta"},
    {" instead of", " -nın yerine"},
    {" in spite of", " -e rağmen"},
    {" into", " içine, -eye"},
    {" inwards", " içeriye doğru, içe doğru"},
    {" like", " gibi, benzer şekilde"},
    {" near", " yakınında, yakınına, yakın"},
    {" next", " sonra, ardından, bitişiğinde"},
    {" next to", " yanına bitişiğine"},
    {" of", " -ın, -in, -nın, -nin, -den, -dan"},
    {" off", " -den, -dan"},
    {" on", " üzerine, üzerinde, -de, -da, hakkında"},
    {" on top of", " üstünde, tepesinde, -e ek olarak"},
    {" onwards", " ileriye doğru, -den itibaren"},
    {" out", " dışarı, dışarıya, dışarıda"},
    {" out of", " -den dışarı, dışında, haricinde"},
    {" outwards", " dışarıya doğru, dışa doğru"},
    {" over", " üzerinde, üstünden, -den fazla"},
    {" regarding", " hakkında, konusunda, -e ilişkin"},
    {" regardless of", " -e bakmaksızın, -e aldırmadan"},
    {" respecting", " -e dair, hususunda, ile ilgili"},
    {" round", " çevresinde, çevresine, etrafına"},
    {" side ways", " yan, yandan, yan taraftan"},
    {" since", " -den beri, -den dolayı"},
    // Page 3
    {" till", " -e kadar"},
    {" throught", " içinden"},
    {" throughtout", " boyunca, baştan başa"},
    {" to", " -eye, -e, -a"},
    {" towards", " -e doğru, yönünde, -e karşı"},
    {" under", " altında, altına, -den az"},
    {" underneath", " altında, alt tarafında, altından"},
    {" until", " -e kadar"},
    {" up", " yukarı, yukarıya, yukarıda"},
    {" upon", " üstüne, üstünde, üzerine, -e, -de"},
    {" upwards", " yukarı doğru"},
};

} // namespace

const ContentTable<2> kParticles{kRows};

} // namespace dilmora::reference
