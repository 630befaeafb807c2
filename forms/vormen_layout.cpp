#include "forms/vormen_layout.h"

#include "runtime/text.h"

namespace tuvrel::forms {

namespace {
constexpr BgrColor DarkRed = 0x000000C0;
constexpr BgrColor DarkGrey = 0x00404040;
}  // namespace

FormDescription describeVormen(int level, std::vector<ControlDescription> rows)
{
    return {
        .name = numbered("Vormen", level),
        .caption = "in welk pakje zat het cadeau?  " + std::to_string(level) + ".",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeight,
        .rows = std::move(rows),
    };
}

ControlDescription vormenTitle()
{
    return labelRow("Label1", 2070, 480, 11175, 855)
        .withCaption("in welk pakje zat het cadeau?")
        .withForeColor(DarkRed)
        .withFont(fonts::comicSans(21.75))
        .centred()
        .withTabIndex(2);
}

ControlDescription vormenLevel(int level)
{
    return labelRow("Label2", 10920, 480, 735, 855)
        .withCaption(std::to_string(level) + ".")
        .withForeColor(DarkRed)
        .withFont(fonts::comicSans(21.75))
        .withTabIndex(3);
}

ControlDescription vormenPanel()
{
    return shapeRow("Shape1", 2070, 5760, 11175, 2295).withBackColor(DarkGrey).opaque();
}

ControlDescription presentRow(std::string name, int left, int top, int width, int height, std::string picture)
{
    return imageRow(std::move(name), left, top, width, height).withPicture(std::move(picture)).draggable();
}

ControlDescription packageRow(std::string name, int left, int top, int width, int height, std::string picture)
{
    return imageRow(std::move(name), left, top, width, height).withPicture(std::move(picture));
}

ControlDescription rewardRow(int left, int top, int width, int height, std::string picture)
{
    return imageRow("ImageGoed", left, top, width, height).withPicture(std::move(picture)).hidden();
}

}  // namespace tuvrel::forms
