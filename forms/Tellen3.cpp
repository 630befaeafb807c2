#include "forms/descriptions.h"
#include "forms/navigation_rows.h"
#include "forms/row_order.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <array>
#include <string>
#include <vector>

namespace tuvrel::forms {

namespace {

constexpr BgrColor PaleYellow = 0x00C0FFFF;
constexpr BgrColor White = 0x00FFFFFF;
constexpr BgrColor Black = 0x00000000;
constexpr int PictureSize = 1500;  // 100 pixels: the pictures, the slots and the hints

// Twelve number cards in three rows of four: a red strip with the digit and a
// white square with the slot beside it.
struct Card {
    int row, column;  // 1-based
    int digit;
    const char* strip;
    const char* square;
    const char* label;
    const char* slot;
};
constexpr std::array<Card, 12> Cards{{
    {1, 1, 3, "Shape13", "Shape14", "Label3", "Image3b"},
    {1, 2, 1, "Shape1", "Shape2", "Label2", "Image1a"},
    {1, 3, 3, "Shape11", "Shape12", "Label1", "Image3a"},
    {1, 4, 5, "Shape23", "Shape24", "Label10", "Image5b"},
    {2, 1, 5, "Shape9", "Shape10", "Label7", "Image5a"},
    {2, 2, 2, "Shape21", "Shape22", "Label11", "Image2c"},
    {2, 3, 4, "Shape3", "Shape4", "Label4", "Image4a"},
    {2, 4, 2, "Shape5", "Shape6", "Label6", "Image2a"},
    {3, 1, 4, "Shape7", "Shape8", "Label5", "Image4b"},
    {3, 2, 3, "Shape19", "Shape20", "Label12", "Image3c"},
    {3, 3, 2, "Shape17", "Shape18", "Label8", "Image2b"},
    {3, 4, 1, "Shape15", "Shape16", "Label9", "Image1b"},
}};
constexpr std::array<int, 4> CardLefts{2040, 4920, 7800, 10680};
constexpr std::array<int, 3> CardTops{240, 2160, 4080};

// The pictures to drag, each under an outline frame of its own place and size.
struct GroupPicture {
    const char* name;
    int left, top;
    const char* frame;
    const char* asset;
};
constexpr std::array<GroupPicture, 12> Pictures{{
    {"Img1a", 2760, 8160, "Shape29", "tellen_een_cadeau"},
    {"Img1b", 11520, 8040, "Shape35", "tellen_een_muts"},
    {"Img2a", 1680, 6240, "Shape25", "tellen_twee_boten"},
    {"Img2b", 9600, 6240, "Shape34", "tellen_twee_schoenen"},
    {"Img2c", 13200, 6120, "Shape30", "tellen_twee_letters"},
    {"Img3a", 3600, 6120, "Shape26", "tellen_drie_hartjes"},
    {"Img3b", 5640, 6360, "Shape27", "tellen_drie_pepernoten"},
    {"Img3c", 9720, 7920, "Shape32", "tellen_drie_staven"},
    {"Img4a", 11400, 6240, "Shape31", "tellen_vier_zakken"},
    {"Img4b", 13440, 7920, "Shape36", "tellen_vier_pieten"},
    {"Img5a", 7680, 6960, "Shape28", "tellen_vijf_mijters"},
    {"Img5b", 4560, 8040, "Shape33", "tellen_vijf_cadeaus"},
}};

// The balls a slot of each digit shows after a wrong drop; hidden themselves.
struct Hint {
    const char* name;
    int left, top;
    const char* asset;
};
constexpr std::array<Hint, 5> Hints{{
    {"ImageFout1", 10800, 2280, "tellen_een_bal"},
    {"ImageFout2", 2160, 4200, "tellen_twee_ballen"},
    {"ImageFout3", 7920, 4200, "tellen_drie_ballen"},
    {"ImageFout4", 11760, 360, "tellen_vier_ballen"},
    {"ImageFout5", 2880, 360, "tellen_vijf_ballen"},
}};

// Front first: the drawing and hit order.
const std::vector<std::string> RowOrder{
    "knopOpnieuw", "knopVorige", "knopTerug", "Shape36",    "Shape35",    "Shape34",    "Shape33",    "Shape32",
    "Shape31",     "Shape30",    "Shape29",   "Shape28",    "Shape27",    "Shape26",    "Shape25",    "Image5b",
    "Image5a",     "Image4b",    "Image4a",   "Image3c",    "Image3b",    "Image3a",    "Image1b",    "Image1a",
    "Image2c",     "Image2b",    "Image2a",   "Img2c",      "Img3b",      "Img4b",      "Img3c",      "Img4a",
    "Img5b",       "Img5a",      "Label12",   "Label11",    "Label10",    "Label9",     "Label8",     "Label7",
    "Label6",      "Label5",     "Label4",    "Label3",     "Label2",     "Img2a",      "Img1b",      "Img2b",
    "Img3a",       "Img1a",      "Label1",    "Shape24",    "Shape23",    "Shape22",    "Shape21",    "Shape20",
    "Shape19",     "Shape18",    "Shape17",   "Shape16",    "Shape15",    "Shape14",    "Shape13",    "Shape10",
    "Shape9",      "Shape8",     "Shape7",    "Shape6",     "Shape5",     "Shape4",     "Shape3",     "Shape2",
    "Shape1",      "Shape12",    "Shape11",   "ImageFout1", "ImageFout2", "ImageFout3", "ImageFout4", "ImageFout5",
};

void addCard(std::vector<ControlDescription>& rows, const Card& c)
{
    const int x = CardLefts.at(size_t(c.column - 1));
    const int y = CardTops.at(size_t(c.row - 1));
    const std::string strip = c.strip;
    const std::string label = c.label;

    ControlDescription stripRow = shapeRow(strip, x, y, 975, 1695).solidFill(DarkRed);
    // Two strips carry a back colour or border of their own; under the solid fill neither shows.
    if (strip == std::string_view("Shape3"))
        stripRow = stripRow.withBackColor(Black).opaque();
    else if (strip == std::string_view("Shape11"))
        stripRow = stripRow.withBorderColor(Black).opaque();
    rows.push_back(stripRow);

    rows.push_back(shapeRow(c.square, x + 960, y, 1695, 1695).solidFill(White));

    // Label4 sits a little lower and is square.
    const bool square = label == std::string_view("Label4");
    rows.push_back(labelRow(label, x + 120, y + (square ? 480 : 360), 735, square ? 735 : 855)
                       .withCaption(std::to_string(c.digit))
                       .withBackColor(DarkRed)
                       .withForeColor(PaleYellow)
                       .withFont(fonts::arial(36))
                       .centred()
                       .withTabIndex(numberAfter(label, 5) - 1));

    rows.push_back(imageRow(c.slot, x + 1080, y + 120, PictureSize, PictureSize));
}

}  // namespace

// Dragging pictures of one to five things onto the card of their number.
FormDescription Tellen3()
{
    std::vector<ControlDescription> rows;
    for (const char* button : {"knopOpnieuw", "knopVorige", "knopTerug"})
        rows.push_back(navigationRow("Tellen3", button));
    for (const Card& c : Cards)
        addCard(rows, c);
    for (const GroupPicture& p : Pictures) {
        rows.push_back(imageRow(p.name, p.left, p.top, PictureSize, PictureSize).withPicture(p.asset).draggable());
        rows.push_back(shapeRow(p.frame, p.left, p.top, PictureSize, PictureSize));
    }
    for (const Hint& h : Hints)
        rows.push_back(imageRow(h.name, h.left, h.top, PictureSize, PictureSize).withPicture(h.asset).hidden());

    FormDescription d{.name = "Tellen3",
                      .caption = "sleep de plaatjes naar de cijfers",
                      .clientWidth = ClientWidth,
                      .clientHeight = ClientHeight};
    d.rows = inRowOrder(std::move(rows), RowOrder, d.name);
    return d;
}

}  // namespace tuvrel::forms
