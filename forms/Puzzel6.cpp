#include "forms/descriptions.h"
#include "forms/puzzel_layout.h"

namespace tuvrel::forms {

// Puzzle 6: the frame is dark red.
FormDescription Puzzel6()
{
    return describePuzzel({
        .number = 6,
        .caption = "puzzel sint",
        .frameColor = 0x00000080,
        .tray{3, 2, 4, 1},
        .trayFrameLefts{10320, 2760, 5280, 7800},
        .leegLeft = 1680,
        .leegTop = 2160,
        .rows{"knopOpnieuw", "knopVorige", "knopTerug", "imgLeeg", "Shape5", "Shape4", "Shape3", "Shape2", "Image4",
              "img4", "Image3", "Image1", "Image2", "img2", "img1", "img3", "Shape1"},
    });
}

}  // namespace tuvrel::forms
