// What always holds on a sudoku board: the smiley shows only on a board whose
// cells all hold their own pieces, and then the cells are locked; a cell shows
// nothing, the blank, a piece or (board 3) the draggable given; the pieces,
// the givens and the blank stay as the board was built.
#include "forms/sudoku_layout.h"
#include "tests/support/invariants.h"

#include <algorithm>

namespace tuvrel::test {

namespace {

using forms::SudokuBoard;
using forms::SudokuSquare;

const SudokuBoard& boardOf(const Form& f)
{
    return forms::sudokuBoard(numberAfter(f.name(), 6));
}

template <class Visit>
void forEachSquare(const SudokuBoard& b, SudokuSquare::Kind kind, Visit visit)
{
    for (const auto& row : b.grid)
        for (const SudokuSquare& s : row)
            if (s.kind == kind)
                visit(s);
}

const ControlDescription* rowOf(const Form& f, const std::string& name)
{
    for (const ControlDescription& row : f.description().rows)
        if (row.name == name)
            return &row;
    return nullptr;
}

Rect describedRect(const ControlDescription& row)
{
    return {toPixels(row.left), toPixels(row.top), toPixels(row.width), toPixels(row.height)};
}

template <class T>
bool contains(const std::vector<T>& items, const T& item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace

InvariantSet sudokuInvariants()
{
    InvariantSet set;
    for (int n = 1; n <= 5; ++n)
        set.forms.push_back(numbered("Sudoku", n));
    set.invariants = {
        {"the smiley replaces \"?\" only when every cell holds its own piece; then the cells are locked, "
         "otherwise all are open",
         [](const Form& f) {
             const bool solved = f.button("knopSmile").visible();
             if (solved == f.button("knopGoed").visible())
                 return says("knopSmile visible ", solved, ", knopGoed visible ", f.button("knopGoed").visible());
             std::string wrong;
             forEachSquare(boardOf(f), SudokuSquare::Kind::Cell, [&](const SudokuSquare& s) {
                 const Image& c = f.image(s.name);
                 if (c.enabled() == solved)
                     wrong = says(s.name, " enabled ", c.enabled(), " on a board ", solved ? "solved" : "in play");
                 else if (solved && !(c.picture() == f.image(forms::sudokuPieceName(s.piece)).picture()))
                     wrong = says(s.name, " does not hold its piece on a solved board");
             });
             return wrong;
         }},
        {"a cell shows nothing, the blank, a piece or the draggable given, as large as its picture",
         [](const Form& f) {
             const SudokuBoard& b = boardOf(f);
             std::vector<Picture> allowed{Picture(), f.image("imgWit").picture()};
             std::vector<Size> pieceSizes;
             for (int k = 1; k <= 4; ++k) {
                 allowed.push_back(f.image(forms::sudokuPieceName(k)).picture());
                 pieceSizes.push_back(f.image(forms::sudokuPieceName(k)).pixelRect().size());
             }
             forEachSquare(b, SudokuSquare::Kind::Given, [&](const SudokuSquare& s) {
                 if (s.draggable)
                     allowed.push_back(f.image(s.name).picture());
             });
             std::string wrong;
             forEachSquare(b, SudokuSquare::Kind::Cell, [&](const SudokuSquare& s) {
                 const Image& c = f.image(s.name);
                 const Rect described = describedRect(*rowOf(f, s.name));
                 if (!contains(allowed, c.picture()))
                     wrong = s.name + " shows a picture that no piece of the board gave it";
                 else if (c.pixelRect().topLeft() != described.topLeft())
                     wrong = s.name + " has moved";
                 else if (!c.picture().isEmpty() && c.pixelRect().size() != c.picture().size())
                     wrong = s.name + " is not the size of its picture";
                 // An emptied cell keeps the size of the last picture it showed (board 4's blank is empty).
                 else if (c.picture().isEmpty() && c.pixelRect().size() != described.size() &&
                          !contains(pieceSizes, c.pixelRect().size()))
                     wrong = s.name + " is empty at a size no picture gave it";
             });
             return wrong;
         }},
        {"the pieces, the givens and the blank stay as built, each with a picture object of its own",
         [](const Form& f) {
             const SudokuBoard& b = boardOf(f);
             std::vector<std::string> fixed;
             for (int k = 1; k <= 4; ++k)
                 fixed.push_back(forms::sudokuPieceName(k));
             forEachSquare(b, SudokuSquare::Kind::Given, [&](const SudokuSquare& s) { fixed.push_back(s.name); });
             std::vector<Picture> seen;
             for (const std::string& name : fixed) {
                 const Image& i = f.image(name);
                 if (!i.visible() || !i.enabled() || i.picture().isEmpty())
                     return name + " is hidden, disabled or empty";
                 if (i.pixelRect() != describedRect(*rowOf(f, name)))
                     return name + " has moved or changed its size";
                 if (contains(seen, i.picture()))
                     return name + " shares its picture object with another piece or given";
                 seen.push_back(i.picture());
             }
             const Image& blank = f.image("imgWit");
             if (blank.visible() || blank.picture().isEmpty() != !b.blankPicture || contains(seen, blank.picture()))
                 return std::string("imgWit is shown or holds another picture than its blank");
             return std::string();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
