#include "forms/descriptions.h"
#include "forms/sudoku_layout.h"

namespace tuvrel::forms {

// Board 2: the steamboat, the sack, Sint on his horse and the blue present.
// The given in the top right corner sits a little lower; the smiley button is square.
SudokuBoard sudokuBoard2()
{
    return {
        .number = 2,
        .caption = "sudoku 2.",
        .titleLabel = "Label1",
        .numberLabel = "Label2",
        .columnLefts{5400, 6600, 7800, 9000},
        .cellSize = 975,
        .pieces{{
            {5400, "sudoku_steamboat", 58},
            {6600, "sudoku_sack", 58},
            {7800, "sudoku_rider", 58},
            {9000, "sudoku_present_blue", 58},
        }},
        .grid{{
            {cell("Img1a", 3), cell("Img1b", 2), cell("Img1c", 1), given("Image1", 4).withTop(3360)},
            {cell("Img1d", 4), given("Image4", 1), cell("Img1j", 2), cell("Img1e", 3)},
            {cell("Img1f", 2), given("Image2", 3), given("Image6", 4), cell("Img1g", 1)},
            {given("Image8", 1), cell("Img1h", 4), cell("Img1i", 3), given("Image3", 2)},
        }},
        .blankLeft = 1800,
        .blankTop = 2760,
        .blankPicture = "white_square",
        .smileyPicture = "smiley",
        .smileyLeft = 7320,
        .smileyWidth = 855,
        .frame = "Shape18",
        .verticalLine = "Line4",
        .horizontalLine = "Line2",
        .squares{"Shape1", "Shape2", "Shape6", "Shape5", "Shape4", "Shape7", "Shape8", "Shape17", "Shape9", "Shape10",
                 "Shape11", "Shape12", "Shape13", "Shape16", "Shape14", "Shape15"},
    };
}

FormDescription Sudoku2()
{
    return describeSudoku(sudokuBoard2());
}

}  // namespace tuvrel::forms
