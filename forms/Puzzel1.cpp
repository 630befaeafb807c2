#include "forms/descriptions.h"
#include "forms/puzzel_layout.h"

namespace tuvrel::forms {

// Puzzle 1: the frame is orange-brown.
FormDescription Puzzel1()
{
    return describePuzzel({
        .number = 1,
        .caption = "puzzel piet",
        .frameColor = 0x000040C0,
        .tray{2, 4, 3, 1},
        .trayFrameLefts{10320, 7800, 2760, 5280},
        .leegLeft = 1560,
        .leegTop = 1680,
        .rows{"knopOpnieuw", "Command1", "knopRechts", "imgLeeg", "Shape5", "Shape4", "Shape3", "Shape2", "Image4",
              "Image3", "Image2", "Image1", "Shape1", "img4", "img3", "img2", "img1"},
    });
}

}  // namespace tuvrel::forms
