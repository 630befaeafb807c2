#include "forms/descriptions.h"

namespace tuvrel::forms {

// The start screen: the title written twice (dark red in front of a light
// orange shadow), "voor groep 1 en 2", and on an orange-brown panel the seven
// game buttons and the stop button.
FormDescription Start()
{
    return {
        .name = "Start",
        .caption = "Start",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeight,
        .rows{
            buttonRow("knopSpel", 10440, 6360, 2295, 2295)
                .graphical()
                .withTabIndex(6)
                .withToolTip("groepjes van 4")
                .withPicture("start_spel"),
            buttonRow("knopSudoku", 7800, 6360, 2295, 2295)
                .graphical()
                .withTabIndex(5)
                .withToolTip("sudoku")
                .withPicture("start_sudoku"),
            buttonRow("KnopTellen1", 5160, 6360, 2295, 2295)
                .graphical()
                .withTabIndex(4)
                .withToolTip("tellen")
                .withPicture("start_tellen"),
            buttonRow("knopVormen", 7800, 3480, 2295, 2295)
                .graphical()
                .withTabIndex(2)
                .withToolTip("vormen")
                .withPicture("piggy_bank"),
            buttonRow("knopPuzzels", 10440, 3480, 2295, 2295)
                .graphical()
                .withTabIndex(3)
                .withToolTip("puzzeltjes")
                .withPicture("start_puzzels"),
            buttonRow("knopPiet", 2520, 3480, 2295, 2295)
                .graphical()
                .withTabIndex(0)
                .withToolTip("piet aankleden")
                .withPicture("start_piet"),
            buttonRow("knopStop", 2520, 7560, 1335, 1095).graphical().withTabIndex(7).withPicture("start_stop"),
            buttonRow("knopZak", 5160, 3480, 2295, 2295)
                .graphical()
                .withTabIndex(1)
                .withToolTip("welke hoort niet in de rij")
                .withPicture("start_zak"),
            labelRow("Label4", 6090, 9480, 3135, 375)
                .withCaption("www.tuvrel.example")
                .centred()
                .withFont(fonts::msSansSerif(12))
                .withTabIndex(11),
            shapeRow("Shape1", 1920, 3000, 11415, 6135).withBackColor(0x000040C0).withBorderColor(0x000040C0).opaque(),
            labelRow("Label2", 5190, 1920, 4935, 615)
                .withCaption("voor groep 1 en 2")
                .centred()
                .withFont(fonts::comicSans(18))
                .withTabIndex(9),
            labelRow("Label1", 2280, 0, 10815, 2055)
                .withCaption("sinterklaas")
                .withForeColor(DarkRed)
                .transparent()
                .centred()
                .withFont(fonts::comicSans(63.75))
                .withTabIndex(8),
            labelRow("Label3", 2250, 0, 10695, 1935)
                .withCaption("sinterklaas")
                .withForeColor(0x0080C0FF)
                .transparent()
                .centred()
                .withFont(fonts::comicSans(63.75))
                .withTabIndex(10),
        },
    };
}

}  // namespace tuvrel::forms
