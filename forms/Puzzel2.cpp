#include "forms/descriptions.h"
#include "forms/puzzel_layout.h"

namespace tuvrel::forms {

// Puzzle 2: the frame is green.
FormDescription Puzzel2()
{
    return describePuzzel({
        .number = 2,
        .caption = "puzzel schoen",
        .frameColor = 0x0000C000,
        .tray{2, 3, 1, 4},
        .trayFrameLefts{10320, 5280, 2760, 7800},
        .leegLeft = 2040,
        .leegTop = 2280,
        .rows{"knopOpnieuw", "Command1", "Command4", "knopRechts", "imgLeeg", "Shape5", "Shape4", "Shape3", "Shape2",
              "Image4", "img4", "Image3", "Image1", "Image2", "img2", "img1", "img3", "Shape1"},
    });
}

}  // namespace tuvrel::forms
