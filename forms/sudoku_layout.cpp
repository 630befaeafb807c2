#include "forms/sudoku_layout.h"

#include "forms/descriptions.h"
#include "forms/navigation_rows.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <algorithm>
#include <set>

namespace tuvrel::forms {

namespace {

constexpr BgrColor White = 0x00FFFFFF;

ControlDescription squareRow(const SudokuBoard& b, int r, int c)
{
    const SudokuSquare& s = b.grid.at(size_t(r)).at(size_t(c));
    const int left = s.left.value_or(b.columnLefts.at(size_t(c)));
    const int top = s.top.value_or(SudokuRowTops.at(size_t(r)));
    if (s.isCell()) {
        const int size = s.size.value_or(b.cellSize);
        return imageRow(s.name, left, top, size, size);
    }
    const SudokuPiece& shown = b.pieces.at(size_t(s.piece - 1));
    const int size = shown.pixels * TwipsPerPixel;
    ControlDescription row = imageRow(s.name, left, top, size, size).withPicture(shown.picture);
    return s.draggable ? row.draggable() : row;
}

}  // namespace

// Rows front first: the buttons (always in front), the titles with the number
// in front of "sudoku", the cells, givens and pieces, the hidden blank, then
// the frame and the block lines, and last the sixteen squares beneath
// everything else.
FormDescription describeSudoku(const SudokuBoard& b)
{
    const std::string form = numbered("Sudoku", b.number);
    FormDescription d{.name = form, .caption = b.caption, .clientWidth = ClientWidth, .clientHeight = ClientHeight};

    const NavigationButton* smile = findNavigationButton(form, "knopSmile");
    if (!smile)
        throw RuntimeError("no restart button for " + form);
    std::set<int> tabIndices{0, smile->tabIndex};
    d.rows.push_back(
        buttonRow("knopGoed", 7200, 8280, 975, 855).withCaption("?").withFont(fonts::msSansSerif(24)).withTabIndex(0));
    d.rows.push_back(buttonRow("knopSmile", b.smileyLeft, b.smileyTop, b.smileyWidth, b.smileyHeight)
                         .graphical()
                         .withPicture(b.smileyPicture)
                         .hidden()
                         .withTabIndex(smile->tabIndex));
    for (const NavigationButton& nav : navigationButtons()) {
        if (form != std::string_view(nav.form) || nav.kind == NavigationKind::Restart)
            continue;
        d.rows.push_back(navigationRow(form, std::string(nav.name)));
        tabIndices.insert(nav.tabIndex);
    }

    // The labels never take the focus; they take the first two TabIndex values no button has.
    std::array<int, 2> labelTabs{};
    for (int i = 0, next = 0; i < 2; ++next)
        if (!tabIndices.contains(next))
            labelTabs.at(size_t(i++)) = next;
    const FontSpec titleFont = fonts::comicSans(21.75);
    d.rows.push_back(labelRow(b.numberLabel, 8520, 480, 615, 855)
                         .withCaption(std::to_string(b.number) + ".")
                         .withFont(titleFont)
                         .withForeColor(DarkRed)
                         .withTabIndex(labelTabs[0]));
    d.rows.push_back(labelRow(b.titleLabel, 4950, 480, 4695, 855)
                         .withCaption("sudoku")
                         .centred()
                         .withFont(titleFont)
                         .withForeColor(DarkRed)
                         .withTabIndex(labelTabs[1]));

    // Cells in letter order, then the givens, then the pieces.
    std::vector<ControlDescription> cells, givens;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            (b.grid.at(size_t(r)).at(size_t(c)).isCell() ? cells : givens).push_back(squareRow(b, r, c));
    std::sort(cells.begin(), cells.end(),
              [](const ControlDescription& x, const ControlDescription& y) { return x.name < y.name; });
    d.rows.insert(d.rows.end(), cells.begin(), cells.end());
    d.rows.insert(d.rows.end(), givens.begin(), givens.end());
    for (int k = 1; k <= 4; ++k) {
        const SudokuPiece& p = b.pieces.at(size_t(k - 1));
        const int size = p.pixels * TwipsPerPixel;
        d.rows.push_back(
            imageRow(sudokuPieceName(k), p.left, SudokuPieceTop, size, size).withPicture(p.picture).draggable());
    }

    ControlDescription blank = imageRow("imgWit", b.blankLeft, b.blankTop, 930, 930).hidden();
    d.rows.push_back(b.blankPicture ? blank.withPicture(*b.blankPicture) : blank);

    const int gridSide = 4 * SudokuSquarePitch + 15;
    const int gridRight = SudokuGridLeft + 4 * SudokuSquarePitch;
    const int gridBottom = SudokuGridTop + 4 * SudokuSquarePitch;
    d.rows.push_back(shapeRow(b.frame, SudokuGridLeft, SudokuGridTop, gridSide, gridSide).withBorderWidth(4));
    d.rows.push_back(lineRow(b.verticalLine, SudokuGridLeft + 2 * SudokuSquarePitch, SudokuGridTop,
                             SudokuGridLeft + 2 * SudokuSquarePitch, gridBottom)
                         .withBorderWidth(4));
    d.rows.push_back(lineRow(b.horizontalLine, SudokuGridLeft, SudokuGridTop + 2 * SudokuSquarePitch, gridRight,
                             SudokuGridTop + 2 * SudokuSquarePitch)
                         .withBorderWidth(4));
    for (int i = 0; i < 16; ++i)
        d.rows.push_back(shapeRow(b.squares.at(size_t(i)), SudokuGridLeft + SudokuSquarePitch * (i % 4),
                                  SudokuGridTop + SudokuSquarePitch * (i / 4), SudokuSquareSize, SudokuSquareSize)
                             .withBackColor(White)
                             .opaque());
    return d;
}

const SudokuBoard& sudokuBoard(int number)
{
    static const std::array<SudokuBoard, 5> boards{sudokuBoard1(), sudokuBoard2(), sudokuBoard3(), sudokuBoard4(),
                                                   sudokuBoard5()};
    if (number < 1 || number > 5)
        throw RuntimeError("there is no sudoku board " + std::to_string(number));
    return boards.at(size_t(number - 1));
}

}  // namespace tuvrel::forms
