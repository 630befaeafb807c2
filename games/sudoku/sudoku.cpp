#include "games/sudoku/sudoku.h"

#include "forms/descriptions.h"
#include "forms/sudoku_layout.h"
#include "menu/navigation.h"
#include "runtime/form.h"
#include "runtime/text.h"

#include <array>
#include <utility>
#include <vector>

namespace tuvrel {

namespace {

// A cell and the piece it expects.
using Cells = std::vector<std::pair<std::string, std::string>>;

Cells cellsOf(int number)
{
    Cells cells;
    for (const auto& row : forms::sudokuBoard(number).grid)
        for (const forms::SudokuSquare& s : row)
            if (s.isCell())
                cells.emplace_back(s.name, forms::sudokuPieceName(s.piece));
    return cells;
}

void dropOnCell(Form& form, const std::string& cell, Image& source)
{
    form.image(cell).setPicture(source.picture());
}

void clickOnCell(Form& form, const std::string& cell)
{
    form.image(cell).setPicture(form.image("imgWit").picture());
}

bool holdsItsPiece(const Form& form, const std::pair<std::string, std::string>& cell)
{
    return form.image(cell.first).picture() == form.image(cell.second).picture();
}

// Right or wrong goes by picture identity: a cell is right only when it holds
// the very picture object of its piece, not a given's copy of the same image.
void check(Form& form, const Cells& cells)
{
    const Picture& blank = form.image("imgWit").picture();
    for (const auto& cell : cells)
        if (!holdsItsPiece(form, cell))
            form.image(cell.first).setPicture(blank);
    for (const auto& cell : cells)
        if (!holdsItsPiece(form, cell))
            return;
    form.button("knopSmile").setVisible(true);
    form.button("knopGoed").setVisible(false);
    for (const auto& cell : cells)
        form.image(cell.first).setEnabled(false);
}

}  // namespace

FormClass sudokuClass(int number)
{
    FormClass sudoku(forms::describe(numbered("Sudoku", number)));
    const Cells cells = cellsOf(number);
    for (const auto& entry : cells) {
        const std::string cell = entry.first;
        sudoku.onDragDrop(cell, [cell](Form& f, Image& source) { dropOnCell(f, cell, source); });
        sudoku.onClick(cell, [cell](Form& f) { clickOnCell(f, cell); });
    }
    sudoku.onClick("knopGoed", [cells](Form& f) { check(f, cells); });
    bindNavigation(sudoku);  // knopSmile restarts the board
    return sudoku;
}

}  // namespace tuvrel
