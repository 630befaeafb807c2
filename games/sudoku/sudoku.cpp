#include "games/sudoku/sudoku.h"

#include "forms/sudoku_layout.h"
#include "games/common/navigation.h"
#include "runtime/form.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tuvrel {

namespace {

// A cell and the piece it expects.
struct Cell {
    std::string name;
    ImageHandle cell;
    ImageHandle piece;
};

// The controls the handlers use, resolved once.
struct Board {
    std::vector<Cell> cells;
    ImageHandle blank;  // imgWit: the picture a cleared cell shows
    ButtonHandle smile, check;
};

Board boardOf(const FormClass& sudoku, int number)
{
    Board b;
    for (const auto& row : forms::sudokuBoard(number).grid)
        for (const forms::SudokuSquare& s : row)
            if (s.isCell())
                b.cells.push_back({s.name, sudoku.image(s.name), sudoku.image(forms::sudokuPieceName(s.piece))});
    b.blank = sudoku.image("imgWit");
    b.smile = sudoku.button("knopSmile");
    b.check = sudoku.button("knopGoed");
    return b;
}

bool holdsItsPiece(const Form& form, const Cell& cell)
{
    return form[cell.cell].picture() == form[cell.piece].picture();
}

// Right or wrong goes by picture identity: a cell is right only when it holds
// the very picture object of its piece, not a given's copy of the same image.
void check(Form& form, const Board& b)
{
    const Picture& blank = form[b.blank].picture();
    for (const Cell& cell : b.cells)
        if (!holdsItsPiece(form, cell))
            form[cell.cell].setPicture(blank);
    for (const Cell& cell : b.cells)
        if (!holdsItsPiece(form, cell))
            return;
    form[b.smile].setVisible(true);
    form[b.check].setVisible(false);
    for (const Cell& cell : b.cells)
        form[cell.cell].setEnabled(false);
}

}  // namespace

FormClass sudokuClass(FormDescription description, int number)
{
    // Every board names its cells alike: only the name tells another board's form.
    if (!equalsIgnoringCase(description.name, numbered("Sudoku", number)))
        throw RuntimeError("the handlers of sudoku board " + std::to_string(number) + " are not for the form " +
                           description.name);
    FormClass sudoku(std::move(description));
    const Board b = boardOf(sudoku, number);
    for (const Cell& cell : b.cells) {
        const ImageHandle handle = cell.cell, blank = b.blank;
        sudoku.onDragDrop(cell.name, [handle](Form& f, Image& source) { f[handle].setPicture(source.picture()); });
        sudoku.onClick(cell.name, [handle, blank](Form& f) { f[handle].setPicture(f[blank].picture()); });
    }
    sudoku.onClick("knopGoed", [b](Form& f) { check(f, b); });
    bindNavigation(sudoku);  // knopSmile restarts the board
    return sudoku;
}

}  // namespace tuvrel
