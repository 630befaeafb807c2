#include "forms/plaatjeindezak_layout.h"

#include "forms/descriptions.h"
#include "forms/navigation_rows.h"
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

const ControlDescription* findRow(const std::vector<ControlDescription>& rows, const std::string& name)
{
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const ControlDescription& r) { return r.name == name; });
    return it == rows.end() ? nullptr : &*it;
}
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
    for (const auto* given : {&layout.pictures, &layout.marks})
        for (const ControlDescription& row : *given)
            if (std::find(layout.rows.begin(), layout.rows.end(), row.name) == layout.rows.end())
                throw RuntimeError(form + ": " + row.name + " has no place in the order of the rows");
    FormDescription d{
        .name = form, .caption = layout.caption, .clientWidth = ClientWidth, .clientHeight = ClientHeightWithMenu};
    for (const std::string& name : layout.rows) {
        const auto frame = std::find_if(Frames.begin(), Frames.end(),
                                        [&](const Frame& f) { return name == std::string_view(f.name); });
        const auto sack = std::find(layout.sacks.begin(), layout.sacks.end(), name);
        if (const ControlDescription* row = findRow(layout.pictures, name)) {
            d.rows.push_back(*row);
        } else if (const ControlDescription* mark = findRow(layout.marks, name)) {
            d.rows.push_back(*mark);
        } else if (sack != layout.sacks.end()) {
            d.rows.push_back(imageRow(name, 10980, SackTops.at(size_t(sack - layout.sacks.begin())), 1260, 1575)
                                 .withPicture("sack"));
        } else if (frame != Frames.end()) {
            d.rows.push_back(shapeRow(name, frame->left, RowFrameTops.at(size_t(frame->row)), frame->width, 1815));
        } else if (name == std::string_view("Label1")) {
            d.rows.push_back(labelRow(name, 630, 390, 12135, 855)
                                 .withCaption("één plaatje in de zak")
                                 .withForeColor(DarkRed)
                                 .withFont(fonts::comicSans(21.75))
                                 .centred()
                                 .withTabIndex(0));
        } else if (name == std::string_view("Label2")) {
            d.rows.push_back(labelRow(name, 9120, 360, 735, 855)
                                 .withCaption(std::to_string(layout.level) + ".")
                                 .withForeColor(DarkRed)
                                 .withFont(fonts::comicSans(21.75))
                                 .withTabIndex(3));
        } else if (name == std::string_view("Tip")) {
            d.rows.push_back(menuRow(name, "Tip"));
        } else {
            d.rows.push_back(navigationRow(form, name));  // throws for a name that is nothing
        }
    }
    return d;
}

}  // namespace tuvrel::forms
