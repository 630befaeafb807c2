#include "forms/descriptions.h"
#include "forms/puzzel_layout.h"

namespace tuvrel::forms {

// Puzzle 5: the frame is teal.
FormDescription Puzzel5()
{
    return describePuzzel({
        .number = 5,
        .caption = "puzzel nacht",
        .frameColor = 0x00808000,
        .tray{3, 2, 4, 1},
        .trayFrameLefts{10320, 2760, 5280, 7800},
        .leegLeft = 1680,
        .leegTop = 2280,
        .rows{"knopOpnieuw", "knopRechts", "knopTerug", "knopLinks", "imgLeeg", "Shape5", "Shape4", "Shape3", "Shape2",
              "img4", "Shape1", "Image2", "Image1", "Image3", "Image4", "img2", "img1", "img3"},
    });
}

}  // namespace tuvrel::forms
