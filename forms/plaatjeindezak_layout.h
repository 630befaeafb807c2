#pragma once
// The two levels of "één plaatje in de zak" share one layout: a title, the
// level number, three rows of four pictures each in a frame, and beside each
// row a framed sack carrying a smiling and a sad face. Each level differs in
// its pictures, the names of its sacks and marks, where the marks lie, and
// the order of the rows.
#include "runtime/form_description.h"

#include <array>
#include <string>
#include <vector>

namespace tuvrel::forms {

struct PlaatjeindezakLayout {
    int level;  // 1 or 2: the form PlaatjeindezakN
    std::string caption;
    std::array<std::string, 3> sacks;          // top to bottom
    std::vector<ControlDescription> marks;     // right and wrong marks with their places
    std::vector<ControlDescription> pictures;  // the twelve row pictures
    std::vector<std::string> rows;             // row names, front first; "Tip" is the menu item
};

FormDescription describePlaatjeindezak(const PlaatjeindezakLayout& layout);

// A picture of a row, at its place and exactly its picture's size, dragged automatically.
ControlDescription rowPicture(std::string name, int left, int top, int width, int height, std::string asset);
// The smiling face on a sack: the 32 x 32 icon, hidden at load.
ControlDescription rightMark(std::string name, int left, int top);
// The same face as a 36 x 36 picture, hidden at load.
ControlDescription largeRightMark(std::string name, int left, int top);
// The sad face on a sack, hidden at load; clicking it gives the row another try.
ControlDescription wrongMark(std::string name, int left, int top);

}  // namespace tuvrel::forms
