#include "forms/descriptions.h"
#include "forms/sudoku_layout.h"

namespace tuvrel::forms {

// Board 4: the blue present, a pepernoot, the horse and the round mitre.
// Its cells are smaller (Img1k excepted), its blank holds no picture at all and
// its smiley is the larger one.
SudokuBoard sudokuBoard4()
{
    return {
        .number = 4,
        .caption = "sudoku 4.",
        .titleLabel = "Label4",
        .numberLabel = "Label3",
        .columnLefts{5400, 6600, 7800, 9000},
        .cellSize = 930,
        .pieces{{
            {5280, "sudoku_present_blue", 58},
            {6600, "sudoku_pepernoot", 56},
            {7800, "sudoku_horse", 58},
            {9120, "sudoku_mitre_round", 58},
        }},
        .grid{{
            {cell("Img1a", 3), cell("Img1b", 2), cell("Img1c", 1), given("Image1", 4)},
            {cell("Img1d", 4), cell("Img1k", 1).withSize(975), given("Image5", 2), cell("Img1e", 3)},
            {cell("Img1f", 2), given("Image6", 3), given("Image2", 4), cell("Img1g", 1)},
            {given("Image3", 1), cell("Img1h", 4), cell("Img1i", 3), cell("Img1j", 2)},
        }},
        .blankLeft = 3120,
        .blankTop = 3360,
        .blankPicture = std::nullopt,
        .smileyPicture = "smiley_small",
        .frame = "Shape18",
        .verticalLine = "Line1",
        .horizontalLine = "Line2",
        .squares{"Shape19", "Shape20", "Shape23", "Shape22", "Shape21", "Shape24", "Shape25", "Shape26", "Shape30",
                 "Shape29", "Shape28", "Shape27", "Shape31", "Shape32", "Shape33", "Shape34"},
    };
}

FormDescription Sudoku4()
{
    return describeSudoku(sudokuBoard4());
}

}  // namespace tuvrel::forms
