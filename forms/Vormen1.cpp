#include "forms/descriptions.h"
#include "forms/navigation_rows.h"
#include "forms/vormen_layout.h"

namespace tuvrel::forms {

// Level 1: jacket, crayons, duck, bats, piggy bank and teddy bear above, their
// wrapped shapes on the panel below; the reward is a basket full of presents.
FormDescription Vormen1()
{
    std::vector<ControlDescription> rows{
        navigationRow("Vormen1", "knopOpnieuw"),
        navigationRow("Vormen1", "knopVerder"),
        navigationRow("Vormen1", "knopTerug"),
        vormenLevel(1),
        vormenTitle(),
        rewardRow(6240, 1920, 3345, 3135, "vormen_beloning_mand"),
        packageRow("ImageVstiften", 8310, 6120, 1035, 1545, "vormen_pakje_stiften"),
        presentRow("ImageStiften", 4440, 3120, 1035, 1545, "vormen_stiften"),
        packageRow("ImageVbeer", 9870, 6120, 1230, 1605, "vormen_pakje_beer"),
        presentRow("ImageBeer", 11910, 3000, 1230, 1605, "vormen_beer"),
        presentRow("ImageSpvarken", 9870, 3240, 1755, 1320, "vormen_spaarvarken"),
        packageRow("ImageVspvarken", 2310, 6240, 1755, 1320, "piggy_bank"),
        presentRow("ImageBatjes", 7950, 3000, 1530, 1530, "vormen_batjes"),
        packageRow("ImageVbatjes", 4350, 6120, 1530, 1530, "vormen_pakje_batjes"),
        presentRow("ImageJack", 2280, 3240, 1515, 1380, "vormen_jack"),
        packageRow("ImageVjack", 6270, 6240, 1515, 1380, "vormen_pakje_jack"),
        presentRow("ImageEendje", 6150, 3120, 1410, 1335, "vormen_eendje"),
        packageRow("ImageVeendje", 11550, 6240, 1410, 1335, "vormen_pakje_eendje"),
        vormenPanel(),
    };
    return describeVormen(1, std::move(rows));
}

}  // namespace tuvrel::forms
