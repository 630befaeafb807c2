#include "forms/descriptions.h"
#include "forms/sudoku_layout.h"

namespace tuvrel::forms {

// Board 1: Piet with a green cap, the pointed mitre, Sint's staff and the shoe.
SudokuBoard sudokuBoard1()
{
    return {
        .number = 1,
        .caption = "sudoku 1. ",
        .titleLabel = "Label1",
        .numberLabel = "Label2",
        .columnLefts{5400, 6570, 7770, 8970},
        .cellSize = 975,
        .pieces{{
            {5400, "sudoku_piet_green_cap", 58},
            {6720, "sudoku_mitre", 58},
            {7800, "sudoku_staff", 62},
            {9000, "sudoku_shoe_present", 62},
        }},
        .grid{{
            {given("Image2", 3), cell("Img1a", 2), given("Image4", 4), cell("Img1b", 1)},
            {cell("Img1c", 4), given("Image1", 1), cell("Img1d", 2), cell("Img1e", 3)},
            {cell("Img1f", 1), cell("Img1g", 4), given("Image3", 3), given("Image6", 2)},
            {given("Image5", 2), cell("Img1h", 3), cell("Img1i", 1), cell("Img1j", 4)},
        }},
        .blankLeft = 2160,
        .blankTop = 480,
        .blankPicture = "white_square",
        .smileyPicture = "smiley",
        .frame = "Shape18",
        .verticalLine = "Line4",
        .horizontalLine = "Line2",
        .squares{"Shape1", "Shape2", "Shape4", "Shape5", "Shape6", "Shape7", "Shape8", "Shape17", "Shape9", "Shape10",
                 "Shape11", "Shape12", "Shape13", "Shape16", "Shape14", "Shape15"},
    };
}

FormDescription Sudoku1()
{
    return describeSudoku(sudokuBoard1());
}

}  // namespace tuvrel::forms
