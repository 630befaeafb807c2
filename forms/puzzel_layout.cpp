#include "forms/puzzel_layout.h"

#include "menu/navigation.h"
#include "runtime/runtime_error.h"

namespace tuvrel::forms {

namespace {
constexpr int SlotSize = 2295;
constexpr int TrayTop = 6120;
// Image1 top left, Image2 top right, Image3 bottom left, Image4 bottom right.
constexpr std::array<std::array<int, 2>, 4> SlotPlaces{{{5370, 720}, {7650, 720}, {5370, 3000}, {7650, 3000}}};
}  // namespace

FormDescription describePuzzel(const PuzzelLayout& layout)
{
    const QString form = QStringLiteral("Puzzel%1").arg(layout.number);
    FormDescription d{
        .name = form, .caption = layout.caption, .clientWidth = ClientWidth, .clientHeight = ClientHeight};
    for (const QString& name : layout.rows) {
        if (name == QLatin1String("imgLeeg")) {
            d.rows.push_back(imageRow(name, layout.leegLeft, layout.leegTop, 1815, 1815));
        } else if (name == QLatin1String("Shape1")) {
            d.rows.push_back(
                shapeRow(name, 5250, 600, 4815, 4815).withBorderWidth(6).withBorderColor(layout.frameColor));
        } else if (name.startsWith(QLatin1String("Shape"))) {
            const int k = name.mid(5).toInt();  // 2 to 5
            d.rows.push_back(shapeRow(name, layout.trayFrameLefts.at(size_t(k - 2)), TrayTop, SlotSize, SlotSize));
        } else if (name.startsWith(QLatin1String("Image"))) {
            const int k = name.mid(5).toInt();
            const auto& at = SlotPlaces.at(size_t(k - 1));
            d.rows.push_back(imageRow(name, at[0], at[1], SlotSize, SlotSize));
        } else if (name.startsWith(QLatin1String("img"))) {
            const int k = name.mid(3).toInt();
            const auto place = std::find(layout.tray.begin(), layout.tray.end(), k) - layout.tray.begin();
            d.rows.push_back(imageRow(name, TrayLefts.at(size_t(place)), TrayTop, SlotSize, SlotSize)
                                 .withPicture(QStringLiteral("puzzel%1_%2").arg(layout.number).arg(k).toStdString())
                                 .draggable());
        } else {
            d.rows.push_back(navigationRow(form, name));
        }
    }
    return d;
}

}  // namespace tuvrel::forms
