#include "forms/puzzel_layout.h"

#include "forms/navigation_rows.h"
#include "forms/row_order.h"
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
    std::vector<ControlDescription> rows;
    rows.push_back(imageRow("imgLeeg", layout.leegLeft, layout.leegTop, 1815, 1815));
    rows.push_back(shapeRow("Shape1", 5250, 600, 4815, 4815).withBorderWidth(6).withBorderColor(layout.frameColor));
    for (int k = 1; k <= 4; ++k) {
        // The tray's frames (Shape2 to Shape5), the slots of the frame, the quarters in the tray.
        rows.push_back(
            shapeRow(numbered("Shape", k + 1), layout.trayFrameLefts.at(size_t(k - 1)), TrayTop, SlotSize, SlotSize));
        const auto& at = SlotPlaces.at(size_t(k - 1));
        rows.push_back(imageRow(numbered("Image", k), at[0], at[1], SlotSize, SlotSize));
        const auto place = std::find(layout.tray.begin(), layout.tray.end(), k) - layout.tray.begin();
        rows.push_back(imageRow(numbered("img", k), TrayLefts.at(size_t(place)), TrayTop, SlotSize, SlotSize)
                           .withPicture("puzzel" + std::to_string(layout.number) + "_" + std::to_string(k))
                           .draggable());
    }
    for (const NavigationButton& nav : navigationButtons())
        if (nav.form == form)
            rows.push_back(navigationRow(form, nav.name));
    FormDescription d{
        .name = form, .caption = layout.caption, .clientWidth = ClientWidth, .clientHeight = ClientHeight};
    d.rows = inRowOrder(std::move(rows), layout.rows, form);
    return d;
}

}  // namespace tuvrel::forms
