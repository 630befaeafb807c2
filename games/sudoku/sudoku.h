#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// Sudoku board n (1 to 5), bound onto its description (Sudoku1 to Sudoku5);
// any other board, or another board's form, is a RuntimeError. A piece dropped on a cell shows there, a click
// blanks a cell, "?" blanks every cell that does not hold its own piece and,
// when none had to be blanked, shows the smiley and locks the cells; the
// smiley starts the same board afresh.
FormClass sudokuClass(FormDescription description, int number);

}  // namespace tuvrel
