#include "forms/descriptions.h"
#include "forms/sudoku_layout.h"

namespace tuvrel::forms {

// Board 3: Piet with a blue cap, Sint's book, the striped present and a
// pepernoot. The piece row reads Img1, Img2, Img4, Img3. The given book
// (Image1) can be dragged like a piece, but a cell it fills holds no piece.
SudokuBoard sudokuBoard3()
{
    return {
        .number = 3,
        .caption = "sudoku 3. ",
        .titleLabel = "Label1",
        .numberLabel = "Label3",
        .columnLefts{5400, 6600, 7800, 9000},
        .cellSize = 975,
        .pieces{{
            {5400, "sudoku_piet_blue_cap", 58},
            {6600, "sudoku_book", 58},
            {9000, "sudoku_pepernoot", 56},
            {7920, "sudoku_present_striped", 58},
        }},
        .grid{{
            {cell("Img1a", 2), given("Image11", 4), cell("Img1c", 3), cell("Img1d", 1)},
            {given("Image10", 3), cell("Img1e", 1), cell("Img1f", 2), cell("Img1b", 4)},
            {cell("Img1g", 4), cell("Img1h", 3), given("Image2", 1).withLeft(7920),
             given("Image1", 2).withTop(5760).dragged()},
            {given("Image3", 1), cell("Img1i", 2), cell("Img1j", 4), cell("Img1k", 3)},
        }},
        .blankLeft = 2520,
        .blankTop = 3240,
        .blankPicture = "white_square",
        .smileyPicture = "smiley",
        .frame = "Shape1",
        .verticalLine = "Line4",
        .horizontalLine = "Line2",
        .squares{"Shape20", "Shape19", "Shape18", "Shape15", "Shape24", "Shape23", "Shape22", "Shape21", "Shape28",
                 "Shape27", "Shape26", "Shape25", "Shape32", "Shape31", "Shape30", "Shape29"},
    };
}

FormDescription Sudoku3()
{
    return describeSudoku(sudokuBoard3());
}

}  // namespace tuvrel::forms
