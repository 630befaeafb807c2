#include "forms/descriptions.h"
#include "forms/puzzel_layout.h"

namespace tuvrel::forms {

// Puzzle 4: the frame is dark blue.
FormDescription Puzzel4()
{
    return describePuzzel({
        .number = 4,
        .caption = "puzzel mijter",
        .frameColor = 0x00C00000,
        .tray{4, 1, 3, 2},
        .trayFrameLefts{10320, 2760, 5280, 7800},
        .leegLeft = 2040,
        .leegTop = 2280,
        .rows{"knopOpnieuw", "knopRechts", "knopTerug", "knopLinks", "imgLeeg", "Shape5", "Shape4", "Shape3", "Shape2",
              "img4", "Shape1", "Image2", "Image1", "Image3", "Image4", "img2", "img1", "img3"},
    });
}

}  // namespace tuvrel::forms
