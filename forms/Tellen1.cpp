#include "forms/descriptions.h"
#include "forms/navigation_rows.h"

namespace tuvrel::forms {

namespace {

constexpr BgrColor LightOrange = 0x0080C0FF;
constexpr BgrColor DotColour = 0x000040C0;

// A figure of the field: visible, clickable, as large as its picture.
ControlDescription figure(std::string name, int left, int top, int width, int height, std::string picture)
{
    return imageRow(std::move(name), left, top, width, height).withPicture(std::move(picture));
}

// A dot on a card's upper panel, lit when its own figure has been counted.
ControlDescription dot(std::string name, int left, int top)
{
    return shapeRow(std::move(name), left, top, 255, 255)
        .withBackColor(DotColour)
        .withBorderColor(DotColour)
        .opaque()
        .hidden();
}

ControlDescription upperPanel(std::string name, int left)
{
    return shapeRow(std::move(name), left, 5910, 1575, 975).withBackColor(LightOrange).opaque();
}

ControlDescription lowerPanel(std::string name, int left)
{
    return shapeRow(std::move(name), left, 6870, 1575, 1095);
}

ControlDescription counter(std::string name, int left, int tabIndex)
{
    return labelRow(std::move(name), left, 7110, 615, 615)
        .withCaption("0")
        .withFont(fonts::comicSans(18))
        .centred()
        .withTabIndex(tabIndex);
}

}  // namespace

// Counting by clicking: fifteen figures of five kinds in a framed field, and
// below it a card per kind with its dots, its counter and its picture.
FormDescription Tellen1()
{
    return {
        .name = "Tellen1",
        .caption = "tellen",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeight,
        .rows{
            navigationRow("Tellen1", "knopOpnieuw"),
            navigationRow("Tellen1", "knopVerder"),
            navigationRow("Tellen1", "knopTerug"),
            labelRow("Label2", 4680, 1320, 5895, 375)
                .withCaption("Klik alleen de figuurtjes aan. Ze worden vanzelf geteld.")
                .withFont(fonts::arial(12))
                .centred()
                .withTabIndex(8),
            shapeRow("Shape11", 2280, 2280, 10815, 3255),
            labelRow("Label1", 6750, 480, 1815, 735)
                .withCaption("tellen")
                .withForeColor(DarkRed)
                .withFont(fonts::comicSans(21.75))
                .centred()
                .withTabIndex(7),

            dot("S1", 8910, 6030),
            dot("S2", 9270, 6030),
            dot("P1", 10710, 6030),
            dot("P2", 11070, 6030),
            dot("P3", 11430, 6030),
            dot("Za3", 7110, 6510),
            dot("Za1", 7110, 6030),
            dot("Za2", 7470, 6030),
            dot("Za4", 7470, 6510),
            dot("Pa1", 5310, 6030),
            dot("Pe4", 3870, 6510),
            dot("Pe3", 4230, 6030),
            dot("Pe2", 3870, 6030),
            dot("Pe1", 3510, 6030),
            dot("Pe5", 3510, 6510),

            upperPanel("Shape10", 8790),
            upperPanel("Shape9", 10590),
            upperPanel("Shape8", 6990),
            upperPanel("Shape7", 5190),
            upperPanel("Shape6", 3390),
            lowerPanel("Shape5", 10590),
            lowerPanel("Shape4", 8790),
            lowerPanel("Shape3", 6990),
            lowerPanel("Shape2", 5190),
            lowerPanel("Shape1", 3390),

            figure("ImgSint2", 9990, 3990, 540, 870, "tellen_sint"),
            figure("ImgZak4", 3870, 4470, 720, 720, "tellen_zak"),
            figure("ImgZak3", 7830, 2670, 720, 720, "tellen_zak"),
            figure("ImgZak2", 6630, 4230, 720, 720, "tellen_zak"),
            figure("ImgPiet3", 9390, 2910, 825, 825, "tellen_piet"),
            figure("ImgPiet2", 2670, 4110, 825, 825, "tellen_piet"),
            figure("ImgPepernoot3", 3870, 3150, 600, 630, "tellen_pepernoot"),
            figure("ImgPepernoot4", 10830, 2670, 600, 630, "tellen_pepernoot"),
            figure("ImgPepernoot5", 8190, 4230, 600, 630, "tellen_pepernoot"),
            figure("ImgPepernoot2", 11550, 4350, 600, 630, "tellen_pepernoot"),
            figure("ImgPepernoot1", 2670, 2790, 600, 630, "tellen_pepernoot"),
            figure("ImgSint1", 5070, 2910, 540, 870, "tellen_sint"),
            figure("ImgPiet1", 6360, 2910, 825, 825, "tellen_piet"),
            figure("ImgZak1", 11910, 3270, 720, 720, "tellen_zak"),
            figure("imgPakje1", 5190, 4230, 705, 855, "tellen_pakje"),

            counter("lblTellerSint", 8910, 5),
            counter("lblTellerPiet", 10710, 4),
            imageRow("ImageSint", 9720, 6990, 540, 870).withPicture("tellen_sint"),
            imageRow("Image4", 11310, 7110, 825, 825).withPicture("tellen_piet"),
            counter("lblTellerZak", 7110, 3),
            imageRow("ImageZak", 7710, 7110, 720, 720).withPicture("tellen_zak"),
            counter("lblTellerPakje", 5310, 2),
            imageRow("ImagePepernoot", 4110, 7110, 600, 630).withPicture("tellen_pepernoot"),
            counter("lblTellerPepernoot", 3510, 1),
            imageRow("ImagePakje", 5910, 6990, 705, 855).withPicture("tellen_pakje"),
        },
    };
}

}  // namespace tuvrel::forms
