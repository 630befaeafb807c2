// What always holds on a sudoku board: the smiley shows only on a board whose
// cells all hold their own pieces, and then the cells are locked; a cell shows
// nothing, the blank, a piece or (board 3) the draggable given; the pieces,
// the givens and the blank stay as the board was built.
#include "forms/sudoku_layout.h"
#include "tests/support/invariants.h"

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

QRect describedRect(const ControlDescription& row)
{
    return QRect(toPixels(row.left), toPixels(row.top), toPixels(row.width), toPixels(row.height));
}

}  // namespace

InvariantSet sudokuInvariants()
{
    InvariantSet set;
    for (int n = 1; n <= 5; ++n)
        set.forms << QStringLiteral("Sudoku%1").arg(n);
    set.invariants = {
        {"the smiley replaces \"?\" only when every cell holds its own piece; then the cells are locked, "
         "otherwise all are open",
         [](const Form& f) {
             const bool solved = f.button("knopSmile").visible();
             if (solved == f.button("knopGoed").visible())
                 return QStringLiteral("knopSmile visible %1, knopGoed visible %2")
                     .arg(solved)
                     .arg(f.button("knopGoed").visible());
             QString wrong;
             forEachSquare(boardOf(f), SudokuSquare::Kind::Cell, [&](const SudokuSquare& s) {
                 const Image& c = f.image(s.name);
                 if (c.enabled() == solved)
                     wrong = QStringLiteral("%1 enabled %2 on a board %3")
                                 .arg(qs(s.name))
                                 .arg(c.enabled())
                                 .arg(QLatin1String(solved ? "solved" : "in play"));
                 else if (solved && !(c.picture() == f.image(forms::sudokuPieceName(s.piece)).picture()))
                     wrong = QStringLiteral("%1 does not hold its piece on a solved board").arg(qs(s.name));
             });
             return wrong;
         }},
        {"a cell shows nothing, the blank, a piece or the draggable given, as large as its picture",
         [](const Form& f) {
             const SudokuBoard& b = boardOf(f);
             QList<Picture> allowed{Picture(), f.image("imgWit").picture()};
             QList<QSize> pieceSizes;
             for (int k = 1; k <= 4; ++k) {
                 allowed << f.image(forms::sudokuPieceName(k)).picture();
                 pieceSizes << toQt(f.image(forms::sudokuPieceName(k)).pixelRect().size());
             }
             forEachSquare(b, SudokuSquare::Kind::Given, [&](const SudokuSquare& s) {
                 if (s.draggable)
                     allowed << f.image(s.name).picture();
             });
             QString wrong;
             forEachSquare(b, SudokuSquare::Kind::Cell, [&](const SudokuSquare& s) {
                 const Image& c = f.image(s.name);
                 const QRect described = describedRect(*rowOf(f, s.name));
                 if (!allowed.contains(c.picture()))
                     wrong = qs(s.name) + QStringLiteral(" shows a picture that no piece of the board gave it");
                 else if (c.pixelRect().topLeft() != described.topLeft())
                     wrong = qs(s.name) + QStringLiteral(" has moved");
                 else if (!c.picture().isEmpty() && c.pixelRect().size() != c.picture().size())
                     wrong = qs(s.name) + QStringLiteral(" is not the size of its picture");
                 // An emptied cell keeps the size of the last picture it showed (board 4's blank is empty).
                 else if (c.picture().isEmpty() && c.pixelRect().size() != described.size() &&
                          !pieceSizes.contains(toQt(c.pixelRect().size())))
                     wrong = qs(s.name) + QStringLiteral(" is empty at a size no picture gave it");
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
             QList<Picture> seen;
             for (const std::string& name : fixed) {
                 const Image& i = f.image(name);
                 if (!i.visible() || !i.enabled() || i.picture().isEmpty())
                     return qs(name) + QStringLiteral(" is hidden, disabled or empty");
                 if (i.pixelRect() != describedRect(*rowOf(f, name)))
                     return qs(name) + QStringLiteral(" has moved or changed its size");
                 if (seen.contains(i.picture()))
                     return qs(name) + QStringLiteral(" shares its picture object with another piece or given");
                 seen << i.picture();
             }
             const Image& blank = f.image("imgWit");
             if (blank.visible() || blank.picture().isEmpty() != !b.blankPicture || seen.contains(blank.picture()))
                 return QStringLiteral("imgWit is shown or holds another picture than its blank");
             return QString();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
