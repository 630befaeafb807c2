#include "forms/descriptions.h"
#include "forms/plaatjeindezak_layout.h"

namespace tuvrel::forms {

// Level 1: Sint's things with a Christmas tree, Piet's and Sint's things with
// an umbrella, shoes for presents with an inline skate.
FormDescription Plaatjeindezak1()
{
    return describePlaatjeindezak({
        .level = 1,
        .caption = " één plaatje in de zak 1.",
        .sacks{"ImageZak1", "ImageZak2", "ImageZak3"},
        .marks{
            rightMark("ImageGoed1", 11445, 2640),
            wrongMark("ImageFout1", 11400, 2640),
            rightMark("ImageGoed2", 11445, 4920),
            wrongMark("ImageFout2", 11400, 4920),
            rightMark("ImageGoed3", 11400, 7080),
            wrongMark("ImageFout3", 11400, 7080),
        },
        .pictures{
            rowPicture("ImageMijter", 2955, 1905, 1350, 1350, "zak1_1_mijter"),
            rowPicture("ImageKaars", 5040, 1905, 1050, 1380, "zak1_1_kerstboom"),
            rowPicture("ImageBoek", 6720, 1905, 1350, 1350, "zak1_1_boek"),
            rowPicture("ImageStaf", 8685, 1905, 1350, 1350, "zak1_1_staf"),
            rowPicture("ImageMuts", 2880, 4560, 1440, 750, "zak1_2_muts"),
            rowPicture("ImageZak", 4875, 4320, 1290, 1365, "zak1_2_zak"),
            rowPicture("ImageParaplu", 6795, 4185, 1320, 1425, "zak1_2_paraplu"),
            rowPicture("ImageRoe", 8400, 4200, 1455, 1260, "zak1_2_schoorsteen"),
            rowPicture("ImageSkeeler", 2955, 6555, 1350, 1350, "zak1_3_skeeler"),
            rowPicture("ImageSchoen", 4920, 6465, 1335, 1185, "zak1_3_schoen"),
            rowPicture("ImageSlof", 6840, 6465, 1425, 1380, "zak1_3_slof"),
            rowPicture("ImageKlomp", 8520, 6600, 1350, 1080, "zak1_3_klomp"),
        },
        .rows{"knopOpnieuw", "knopVerder", "knopTerug",    "Label2",     "Shape3",     "Shape2",      "Shape1",
              "Shape5",      "Shape4",     "Shape8",       "ImageGoed3", "ImageGoed2", "ImageGoed1",  "ImageFout2",
              "ImageFout3",  "Label1",     "ImageSkeeler", "ImageKlomp", "ImageSlof",  "ImageSchoen", "ImageParaplu",
              "ImageRoe",    "ImageZak",   "ImageMuts",    "ImageKaars", "ImageStaf",  "ImageMijter", "ImageBoek",
              "ImageZak3",   "ImageZak2",  "ImageFout1",   "ImageZak1",  "Tip"},
    });
}

}  // namespace tuvrel::forms
