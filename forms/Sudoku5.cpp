#include "forms/descriptions.h"
#include "forms/sudoku_layout.h"

namespace tuvrel::forms {

// Board 5: the horse, the chocolate letter, the clog and the blue present;
// twelve cells and four givens. The last board: no way forward.
SudokuBoard sudokuBoard5()
{
    return {
        .number = 5,
        .caption = "sudoku 5.",
        .titleLabel = "Label4",
        .numberLabel = "Label3",
        .columnLefts{5400, 6570, 7770, 8970},
        .cellSize = 930,
        .pieces{{
            {5400, "sudoku_horse", 58},
            {6720, "sudoku_letter_s", 58},
            {7920, "sudoku_clog", 58},
            {9120, "sudoku_present_blue", 58},
        }},
        .grid{{
            {cell("Img1a", 2), given("Image1", 1), cell("Img1b", 3), cell("Img1c", 4)},
            {cell("Img1d", 3), cell("Img1e", 4), given("Image2", 2), cell("Img1f", 1)},
            {cell("Img1g", 4), given("Image3", 3), cell("Img1h", 1), cell("Img1i", 2)},
            {cell("Img1j", 1), cell("Img1k", 2), given("Image4", 4), cell("Img1l", 3)},
        }},
        .blankLeft = 2880,
        .blankTop = 1920,
        .blankPicture = "white_square",
        .smileyPicture = "smiley",
        .frame = "Shape18",
        .verticalLine = "Line4",
        .horizontalLine = "Line2",
        .squares{"Shape1", "Shape2", "Shape6", "Shape5", "Shape4", "Shape7", "Shape8", "Shape17", "Shape9", "Shape10",
                 "Shape11", "Shape12", "Shape13", "Shape16", "Shape14", "Shape15"},
    };
}

FormDescription Sudoku5()
{
    return describeSudoku(sudokuBoard5());
}

}  // namespace tuvrel::forms
