#include "forms/descriptions.h"
#include "forms/navigation_rows.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <array>
#include <string>

namespace tuvrel::forms {

namespace {

// Cell n (1 to 16, row by row from the top left): its image in front of its square.
constexpr int CellStep = 1440;
constexpr int BoardLeft = 4680;
constexpr int BoardTop = 2160;
constexpr int SquareSize = 1455;

int cellLeft(int n)
{
    return BoardLeft + CellStep * ((n - 1) % 4);
}
int cellTop(int n)
{
    return BoardTop + CellStep * ((n - 1) / 4);
}

// Five of the cell images are a little larger than the others.
int cellImageSize(int n)
{
    return n == 1 || n == 4 || n == 8 || n == 10 || n == 13 ? 1470 : SquareSize;
}

ControlDescription cellImage(int n)
{
    return imageRow(numbered("Image", n), cellLeft(n), cellTop(n), cellImageSize(n), cellImageSize(n));
}

ControlDescription cellSquare(int n)
{
    return shapeRow(numbered("Shape", n), cellLeft(n), cellTop(n), SquareSize, SquareSize)
        .solidFill(0x00FFFFFF)
        .withBorderWidth(2);
}

// The legend above the board: the five figures that count as a group, drawn
// with small empty squares (Shape17 to Shape36).
struct LegendSquare {
    int shape;
    int left, top;
};
constexpr std::array<LegendSquare, 20> Legend{{
    // rising diagonal
    {33, 4680, 1200},
    {34, 4920, 960},
    {35, 5160, 720},
    {36, 5400, 480},
    // 2 x 2 square
    {17, 6240, 720},
    {19, 6480, 720},
    {18, 6240, 960},
    {20, 6480, 960},
    // row
    {24, 7200, 720},
    {23, 7440, 720},
    {22, 7680, 720},
    {21, 7920, 720},
    // column
    {28, 8520, 480},
    {27, 8520, 720},
    {26, 8520, 960},
    {25, 8520, 1200},
    // falling diagonal
    {32, 9360, 480},
    {31, 9600, 720},
    {30, 9840, 960},
    {29, 10080, 1200},
}};

ControlDescription legendSquare(int shape)
{
    for (const LegendSquare& s : Legend)
        if (s.shape == shape)
            return shapeRow(numbered("Shape", shape), s.left, s.top, 255, 255);
    throw RuntimeError("Shape" + std::to_string(shape) + " is not in the legend of Spel");
}

}  // namespace

// Rows or groups of four: a 4 x 4 board between Sint's mitre (left) and Piet's
// head (right), each with its counter below it, and the legend of the groups above.
FormDescription Spel()
{
    FormDescription d{
        .name = "Spel",
        .caption = "rijtje of groepje van 4",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeightWithMenu,
    };
    auto& rows = d.rows;
    rows.push_back(navigationRow(d.name, "knopTerug"));
    rows.push_back(navigationRow(d.name, "knopOpnieuw"));
    rows.push_back(
        labelRow("lblTellerPiet", 11400, 5760, 495, 375).withCaption("0").centred().withFont(fonts::msSansSerif(13.5)));
    rows.push_back(
        labelRow("lblTellerSint", 3240, 5640, 495, 375).withCaption("0").centred().withFont(fonts::msSansSerif(13.5)));
    for (int shape = 36; shape >= 17; --shape)
        rows.push_back(legendSquare(shape));
    rows.push_back(imageRow("ImgLeeg", 2520, 2400, 1470, 1470).withPicture("spel_leeg"));
    rows.push_back(imageRow("ImgPiet", 10920, 4320, 1470, 1470).withPicture("spel_piet").draggable());
    rows.push_back(imageRow("ImgSint", 2760, 4320, 1470, 1470).withPicture("spel_mitre").draggable());
    for (int n = 16; n >= 1; --n)
        rows.push_back(cellImage(n));
    for (int n : {4, 3, 2, 8, 7, 6, 5, 16, 15, 14, 13, 12, 11, 10, 9, 1})
        rows.push_back(cellSquare(n));
    rows.push_back(menuRow("Help", "Help"));
    return d;
}

}  // namespace tuvrel::forms
