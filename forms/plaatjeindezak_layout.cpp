#include "forms/plaatjeindezak_layout.h"

#include "forms/descriptions.h"
#include "forms/navigation_rows.h"
#include "forms/row_order.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <algorithm>

namespace tuvrel::forms {

namespace {
constexpr std::array<int, 3> RowFrameTops{1725, 4005, 6255};
constexpr std::array<int, 3> SackTops{1800, 4080, 6360};

// The frames around the pictures and around the sack of each row, top to bottom.
struct Frame {
    const char* name;
    int left, width, row;
};
constexpr std::array<Frame, 6> Frames{{
    {"Shape1", 2550, 7695, 0},
    {"Shape5", 10230, 2535, 0},
    {"Shape3", 2550, 7695, 1},
    {"Shape2", 10230, 2535, 1},
    {"Shape8", 2550, 7695, 2},
    {"Shape4", 10230, 2535, 2},
}};

}  // namespace

ControlDescription rowPicture(std::string name, int left, int top, int width, int height, std::string asset)
{
    return imageRow(std::move(name), left, top, width, height).withPicture(std::move(asset)).draggable();
}

ControlDescription rightMark(std::string name, int left, int top)
{
    return imageRow(std::move(name), left, top, 480, 480).withPicture("smiley_icon").hidden();
}

ControlDescription largeRightMark(std::string name, int left, int top)
{
    return imageRow(std::move(name), left, top, 540, 540).withPicture("smiley_small").hidden();
}

ControlDescription wrongMark(std::string name, int left, int top)
{
    return imageRow(std::move(name), left, top, 540, 540).withPicture("sad_face").hidden().withToolTip("nog een keer");
}

FormDescription describePlaatjeindezak(const PlaatjeindezakLayout& layout)
{
    const std::string form = numbered("Plaatjeindezak", layout.level);
    std::vector<ControlDescription> rows = layout.pictures;
    rows.insert(rows.end(), layout.marks.begin(), layout.marks.end());
    for (size_t i = 0; i < layout.sacks.size(); ++i)
        rows.push_back(imageRow(layout.sacks[i], 10980, SackTops.at(i), 1260, 1575).withPicture("sack"));
    for (const Frame& frame : Frames)
        rows.push_back(shapeRow(frame.name, frame.left, RowFrameTops.at(size_t(frame.row)), frame.width, 1815));
    rows.push_back(labelRow("Label1", 630, 390, 12135, 855)
                       .withCaption("één plaatje in de zak")
                       .withForeColor(DarkRed)
                       .withFont(fonts::comicSans(21.75))
                       .centred()
                       .withTabIndex(0));
    rows.push_back(labelRow("Label2", 9120, 360, 735, 855)
                       .withCaption(std::to_string(layout.level) + ".")
                       .withForeColor(DarkRed)
                       .withFont(fonts::comicSans(21.75))
                       .withTabIndex(3));
    rows.push_back(menuRow("Tip", "Tip"));
    for (const NavigationButton& nav : navigationButtons())
        if (nav.form == form)
            rows.push_back(navigationRow(form, nav.name));
    FormDescription d{
        .name = form, .caption = layout.caption, .clientWidth = ClientWidth, .clientHeight = ClientHeightWithMenu};
    d.rows = inRowOrder(std::move(rows), layout.rows, form);
    return d;
}

}  // namespace tuvrel::forms
