#pragma once
// The five sudoku boards share one layout: a 4 x 4 grid of white squares with
// a thick frame and two thick lines around its 2 x 2 blocks, a row of four
// pieces above it, the titles, "?" and the hidden smiley. Each board differs
// in its data: caption, labels, pieces, which grid places are given and which
// are cells (with the piece each cell expects), and a few places where it
// departs from the common layout.
#include "runtime/form_description.h"
#include "runtime/text.h"

#include <array>
#include <optional>
#include <string>

namespace tuvrel::forms {

// One place of the grid: a cell the child fills, or a given that already shows
// the image of a piece (in a picture object of its own).
struct SudokuSquare {
    enum class Kind { Cell, Given };
    Kind kind{Kind::Cell};
    std::string name;
    int piece{};                       // a cell: the piece it expects; a given: the piece whose image it shows (1 to 4)
    std::optional<int> left{}, top{};  // where the board moves it off its grid place (twips)
    std::optional<int> size{};         // a cell of another size than the board's cells (twips)
    bool draggable = false;            // a given the child can drag like a piece

    SudokuSquare withLeft(int twips) const
    {
        auto s = *this;
        s.left = twips;
        return s;
    }
    SudokuSquare withTop(int twips) const
    {
        auto s = *this;
        s.top = twips;
        return s;
    }
    SudokuSquare withSize(int twips) const
    {
        auto s = *this;
        s.size = twips;
        return s;
    }
    SudokuSquare dragged() const
    {
        auto s = *this;
        s.draggable = true;
        return s;
    }
    bool isCell() const { return kind == Kind::Cell; }
};

inline SudokuSquare cell(std::string name, int expected)
{
    return {SudokuSquare::Kind::Cell, std::move(name), expected};
}
inline SudokuSquare given(std::string name, int piece)
{
    return {SudokuSquare::Kind::Given, std::move(name), piece};
}

struct SudokuPiece {
    int left;             // twips; every piece has its top at PieceTop
    std::string picture;  // asset
    int pixels;           // the square picture's side
};

struct SudokuBoard {
    int number;  // 1 to 5: the form SudokuN
    std::string caption;
    std::string titleLabel;                           // the label "sudoku"
    std::string numberLabel;                          // the label "N."
    std::array<int, 4> columnLefts;                   // X[1..4], twips
    int cellSize;                                     // twips, square
    std::array<SudokuPiece, 4> pieces;                // Img1 to Img4
    std::array<std::array<SudokuSquare, 4>, 4> grid;  // rows from the top, columns from the left
    int blankLeft, blankTop;
    std::optional<std::string> blankPicture;  // imgWit; none on board 4
    std::string smileyPicture;
    int smileyLeft = 7200, smileyTop = 8280, smileyWidth = 975, smileyHeight = 855;
    std::string frame, verticalLine, horizontalLine;
    std::array<std::string, 16> squares;  // the grid's Shapes, row by row from the top left
};

FormDescription describeSudoku(const SudokuBoard& board);

// The data of board n (1 to 5), kept by the form files Sudoku1.cpp to Sudoku5.cpp.
const SudokuBoard& sudokuBoard(int number);
SudokuBoard sudokuBoard1();
SudokuBoard sudokuBoard2();
SudokuBoard sudokuBoard3();
SudokuBoard sudokuBoard4();
SudokuBoard sudokuBoard5();

inline std::string sudokuPieceName(int k)
{
    return numbered("Img", k);
}

// The common geometry, twips.
inline constexpr int SudokuGridLeft = 5280;
inline constexpr int SudokuGridTop = 3120;
inline constexpr int SudokuSquarePitch = 1200;  // neighbouring squares overlap by 15, so their borders coincide
inline constexpr int SudokuSquareSize = 1215;
inline constexpr std::array<int, 4> SudokuRowTops{3240, 4440, 5640, 6840};
inline constexpr int SudokuPieceTop = 1800;

}  // namespace tuvrel::forms
