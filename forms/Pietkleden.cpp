#include "forms/descriptions.h"
#include "forms/navigation_rows.h"

namespace tuvrel::forms {

// Dress Piet: an undressed Piet in the background at the right, three slots
// over his cap, blouse and trousers, and a wardrobe of nine pieces in three
// columns on the left (caps, blouses, trousers; red-orange, green, blue from
// top to bottom). The blouse slot lies in front of the top of the trousers slot.
FormDescription Pietkleden()
{
    return {
        .name = "Pietkleden",
        .caption = "wat trekt piet vandaag aan?",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeight,
        .background = "pietkleden_background",
        .rows{
            navigationRow("Pietkleden", "knopTerug"),
            labelRow("Label1", 3870, 480, 7575, 735)
                .withCaption("wat trekt piet vandaag aan?")
                .withForeColor(DarkRed)
                .centred()
                .withFont(fonts::comicSans(21.75))
                .opaque()
                .withTabIndex(0),
            imageRow("ImageMutsBlauw", 1320, 6840, 1980, 1050).withPicture("pietkleden_muts_blauw").draggable(),
            imageRow("ImageMutsGroen", 1320, 4740, 1980, 1050).withPicture("pietkleden_muts_groen").draggable(),
            imageRow("ImageMuts", 11160, 3240, 1980, 1050),
            imageRow("ImageMutsRood", 1320, 2520, 1980, 1050).withPicture("pietkleden_muts_rood").draggable(),
            imageRow("ImageBroekBlauw", 6480, 7440, 1500, 1020).withPicture("pietkleden_broek_blauw").draggable(),
            imageRow("ImageBloesBlauw", 3480, 6720, 2730, 1920).withPicture("pietkleden_bloes_blauw").draggable(),
            imageRow("ImageBloesOranje", 3480, 2040, 2790, 1920).withPicture("pietkleden_bloes_oranje").draggable(),
            imageRow("ImageBloes", 10800, 4800, 2730, 1920),
            imageRow("ImageBloesGroen", 3480, 4440, 2730, 1920).withPicture("pietkleden_bloes_groen").draggable(),
            imageRow("ImageBroekRood", 6480, 2760, 1500, 1020).withPicture("pietkleden_broek_rood").draggable(),
            imageRow("imageBroekGroen", 6480, 5160, 1500, 1020).withPicture("pietkleden_broek_groen").draggable(),
            imageRow("ImageBroek", 11400, 6600, 1500, 1020),
        },
    };
}

}  // namespace tuvrel::forms
