#pragma once
#include "runtime/form_class.h"

#include <array>

namespace tuvrel {

// One row of "één plaatje in de zak": four pictures, one of which does not
// belong, and the sack beside them with its smiling (right) and sad (wrong) face.
struct SackRow {
    std::array<const char*, 4> pictures;  // left to right
    int odd;                              // index into pictures
    const char* sack;
    const char* right;
    const char* wrong;
};

// The three rows of level 1 or 2, top to bottom; any other level is a
// RuntimeError.
const std::array<SackRow, 3>& sackRows(int level);

// Level 1 or 2, bound onto its description (Plaatjeindezak1, Plaatjeindezak2):
// the odd picture dropped into its row's sack solves the row; any other
// picture vanishes and blocks the row until its sad face is clicked. The menu
// item Tip says so.
FormClass plaatjeindezakClass(FormDescription description, int level);

}  // namespace tuvrel
