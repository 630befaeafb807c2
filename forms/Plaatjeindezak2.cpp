#include "forms/descriptions.h"
#include "forms/plaatjeindezak_layout.h"

namespace tuvrel::forms {

// Level 2: Sint's boat, Piet and Sint's horse with a tractor; sweets of the
// feast with a sprinkled rusk; Sint's horse, Sint and a present with a
// Christmas bauble. The middle row's sack and marks are numbered 4.
FormDescription Plaatjeindezak2()
{
    return describePlaatjeindezak({
        .level = 2,
        .caption = " één plaatje in de zak 2.",
        .sacks{"ImageZak1", "ImageZak4", "ImageZak3"},
        .marks{
            rightMark("ImageGoed1", 11400, 2520),
            wrongMark("ImageFout1", 11400, 2520),
            rightMark("ImageGoed4", 11400, 4920),
            wrongMark("ImageFout4", 11400, 4920),
            largeRightMark("ImageGoed3", 11400, 7080),
            wrongMark("ImageFout3", 11400, 7080),
        },
        .pictures{
            rowPicture("ImageBoot", 2730, 1965, 1350, 1350, "zak2_1_boot"),
            rowPicture("ImagePiet", 4530, 2160, 1230, 1005, "zak2_1_piet"),
            rowPicture("ImageSint", 6360, 1920, 1455, 1515, "zak2_1_sint_paard"),
            rowPicture("ImageTractor", 8430, 1965, 1350, 1350, "zak2_1_tractor"),
            rowPicture("ImageSpeculaas", 2880, 4200, 1605, 1455, "zak2_2_speculaas"),
            rowPicture("ImageIJs", 4920, 4320, 1470, 1305, "zak2_2_beschuit"),
            rowPicture("ImageLetter", 6840, 4275, 945, 1350, "zak2_2_snoepzak"),
            rowPicture("ImagePepernoten", 8460, 4260, 1350, 1350, "zak2_2_pepernoten"),
            rowPicture("ImagePaard", 3000, 6480, 1350, 1350, "zak2_3_paard"),
            rowPicture("ImageSchoorst", 4920, 6480, 1185, 1440, "zak2_3_sint"),
            rowPicture("ImageNest", 6750, 6525, 1080, 1335, "zak2_3_kerstbal"),
            rowPicture("ImagePak", 8580, 6675, 1245, 1050, "zak2_3_cadeau"),
        },
        .rows{"knopOpnieuw", "Command4",    "knopTerug",       "Label2",
              "Shape3",      "Shape2",      "Shape1",          "Shape5",
              "Shape4",      "Shape8",      "ImageNest",       "ImageSchoorst",
              "ImagePak",    "ImagePaard",  "ImageBoot",       "ImageTractor",
              "ImageSint",   "ImagePiet",   "ImageGoed4",      "ImageGoed3",
              "ImageGoed1",  "ImageFout4",  "ImageFout3",      "Label1",
              "ImageIJs",    "ImageLetter", "ImagePepernoten", "ImageSpeculaas",
              "ImageFout1",  "ImageZak1",   "ImageZak4",       "ImageZak3",
              "Tip"},
    });
}

}  // namespace tuvrel::forms
