#include "forms/descriptions.h"
#include "forms/navigation_rows.h"
#include "forms/vormen_layout.h"

namespace tuvrel::forms {

// Level 2: bear in a box, roly-poly man, backpack, shirt, shell and die above,
// their wrapped shapes on the panel below; the reward is Sint in his chair.
FormDescription Vormen2()
{
    std::vector<ControlDescription> rows{
        navigationRow("Vormen2", "knopOpnieuw"),
        navigationRow("Vormen2", "Command4"),
        navigationRow("Vormen2", "knopTerug"),
        vormenLevel(2),
        packageRow("ImageVschelp", 4470, 6240, 1260, 1335, "vormen_pakje_schelp"),
        packageRow("ImageVbeerdoos", 9750, 6120, 1545, 1650, "vormen_pakje_beerdoos"),
        packageRow("ImageVtas", 7950, 6120, 1320, 1515, "vormen_pakje_tas"),
        packageRow("ImageVmannetje", 11670, 6120, 1155, 1455, "vormen_pakje_mannetje"),
        packageRow("ImageVdobbelst", 6150, 6360, 1290, 1230, "vormen_pakje_dobbelsteen"),
        packageRow("ImageVshirt", 2430, 6120, 1605, 1500, "vormen_pakje_shirt"),
        rewardRow(6720, 1800, 3000, 3090, "vormen_beloning_sint"),
        vormenTitle(),
        presentRow("ImageDobbelst", 11625, 3480, 1290, 1230, "vormen_dobbelsteen"),
        presentRow("ImageSchelp", 9825, 3360, 1260, 1335, "vormen_schelp"),
        presentRow("ImageMannetje", 4185, 3120, 1155, 1455, "vormen_mannetje"),
        presentRow("ImageTas", 5865, 3120, 1320, 1515, "vormen_tas"),
        presentRow("ImageBeerdoos", 2145, 3000, 1545, 1650, "vormen_beerdoos"),
        presentRow("ImageShirt", 7665, 3120, 1605, 1500, "vormen_shirt"),
        vormenPanel(),
    };
    return describeVormen(2, std::move(rows));
}

}  // namespace tuvrel::forms
