#include "forms/puzzel_layout.h"

#include "forms/navigation_rows.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace tuvrel::forms {

namespace {
constexpr int SlotSize = 2295;
constexpr int TrayTop = 6120;
// Image1 top left, Image2 top right, Image3 bottom left, Image4 bottom right.
constexpr std::array<std::array<int, 2>, 4> SlotPlaces{{{5370, 720}, {7650, 720}, {5370, 3000}, {7650, 3000}}};
}  // namespace

FormDescription describePuzzel(const PuzzelLayout& layout)
{
    const std::string form = numbered("Puzzel", layout.number);
    FormDescription d{
        .name = form, .caption = layout.caption, .clientWidth = ClientWidth, .clientHeight = ClientHeight};
    for (const std::string& name : layout.rows) {
        if (name == std::string_view("imgLeeg")) {
            d.rows.push_back(imageRow(name, layout.leegLeft, layout.leegTop, 1815, 1815));
        } else if (name == std::string_view("Shape1")) {
            d.rows.push_back(
                shapeRow(name, 5250, 600, 4815, 4815).withBorderWidth(6).withBorderColor(layout.frameColor));
        } else if (name.starts_with("Shape")) {
            const int k = numberAfter(name, 5);  // 2 to 5
            d.rows.push_back(shapeRow(name, layout.trayFrameLefts.at(size_t(k - 2)), TrayTop, SlotSize, SlotSize));
        } else if (name.starts_with("Image")) {
            const int k = numberAfter(name, 5);
            const auto& at = SlotPlaces.at(size_t(k - 1));
            d.rows.push_back(imageRow(name, at[0], at[1], SlotSize, SlotSize));
        } else if (name.starts_with("img")) {
            const int k = numberAfter(name, 3);
            const auto place = std::find(layout.tray.begin(), layout.tray.end(), k) - layout.tray.begin();
            d.rows.push_back(imageRow(name, TrayLefts.at(size_t(place)), TrayTop, SlotSize, SlotSize)
                                 .withPicture("puzzel" + std::to_string(layout.number) + "_" + std::to_string(k))
                                 .draggable());
        } else {
            d.rows.push_back(navigationRow(form, name));
        }
    }
    return d;
}

}  // namespace tuvrel::forms
