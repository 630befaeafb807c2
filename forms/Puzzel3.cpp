#include "forms/descriptions.h"
#include "forms/puzzel_layout.h"

namespace tuvrel::forms {

// Puzzle 3: the frame is dark olive.
FormDescription Puzzel3()
{
    return describePuzzel({
        .number = 3,
        .caption = "puzzel zak",
        .frameColor = 0x00004040,
        .tray{2, 3, 1, 4},
        .trayFrameLefts{10320, 2760, 5280, 7800},
        .leegLeft = 1920,
        .leegTop = 2280,
        .rows{"knopOpnieuw", "Command1", "knopLinks", "knopRechts", "imgLeeg", "Shape5", "Shape4", "Shape3", "Shape2",
              "img4", "Shape1", "Image2", "Image1", "Image3", "Image4", "img2", "img1", "img3"},
    });
}

}  // namespace tuvrel::forms
