#pragma once
// The six puzzle screens share one layout: a 2 x 2 frame of slots above a tray
// of four pieces. Each differs in its data: caption, frame colour, the order of
// the pieces in the tray, where the tray frames and imgLeeg lie, and the order
// of the rows.
#include "runtime/form_description.h"

#include <array>
#include <string>
#include <vector>

namespace tuvrel::forms {

struct PuzzelLayout {
    int number;  // 1 to 6: the form PuzzelN, pictures puzzelN_1 to puzzelN_4
    std::string caption;
    BgrColor frameColor;
    std::array<int, 4> tray;            // piece numbers, left to right
    std::array<int, 4> trayFrameLefts;  // Left of Shape2, Shape3, Shape4, Shape5 (twips)
    int leegLeft, leegTop;              // imgLeeg (twips)
    std::vector<std::string> rows;      // row names, front first
};

FormDescription describePuzzel(const PuzzelLayout& layout);

// The tray's four places, left to right (twips).
inline constexpr std::array<int, 4> TrayLefts{2760, 5280, 7800, 10320};

}  // namespace tuvrel::forms
