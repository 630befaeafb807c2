// The sudoku boards, as the program registers them (games/common/game_family.h).
#include "forms/descriptions.h"
#include "games/common/game_family.h"
#include "games/sudoku/sudoku.h"

namespace tuvrel {

GameFamily sudokuFamily()
{
    return {.startButton = "knopSudoku",
            .forms = {sudokuClass(forms::Sudoku1(), 1), sudokuClass(forms::Sudoku2(), 2),
                      sudokuClass(forms::Sudoku3(), 3), sudokuClass(forms::Sudoku4(), 4),
                      sudokuClass(forms::Sudoku5(), 5)}};
}

}  // namespace tuvrel
