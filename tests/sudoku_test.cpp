// The five picture sudoku boards, through the real windows: drops, clicks,
// the check, the smiley, the layout and the way between the boards.
#include "desktop/picture_pixels.h"
#include "forms/sudoku_layout.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QTest>
#include <functional>

using namespace tuvrel;
using namespace tuvrel::test;
using forms::SudokuBoard;
using forms::SudokuSquare;

namespace {

std::string sudoku(int n)
{
    return numbered("Sudoku", n);
}
std::string piece(int k)
{
    return forms::sudokuPieceName(k);
}
const SudokuBoard& board(int n)
{
    return forms::sudokuBoard(n);
}

struct Place {
    std::string name;
    int piece;        // expected (a cell) or shown (a given)
    int row, column;  // 0 to 3
};

QList<Place> squaresOf(int n, SudokuSquare::Kind kind)
{
    QList<Place> places;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            const SudokuSquare& s = board(n).grid.at(size_t(r)).at(size_t(c));
            if (s.kind == kind)
                places.push_back({s.name, s.piece, r, c});
        }
    return places;
}
QList<Place> cellsOf(int n)
{
    return squaresOf(n, SudokuSquare::Kind::Cell);
}
QList<Place> givensOf(int n)
{
    return squaresOf(n, SudokuSquare::Kind::Given);
}

// Another piece than k.
int otherThan(int k)
{
    return k % 4 + 1;
}

// The grid square at row r, column c, in form pixels.
QRect squareRect(int r, int c)
{
    return QRect(352 + 80 * c, 208 + 80 * r, 81, 81);
}

void fillEveryCell(Form& f, int n)
{
    for (const Place& c : cellsOf(n))
        drag(f, piece(c.piece), c.name);
}

bool holds(const Form& f, std::string_view cell, int k)
{
    return f.image(cell).picture() == f.image(piece(k)).picture();
}

bool solved(const Form& f)
{
    return f.button("knopSmile").visible() && !f.button("knopGoed").visible();
}

const ControlDescription& rowOf(const FormDescription& d, std::string_view name)
{
    for (const ControlDescription& row : d.rows)
        if (row.name == name)
            return row;
    qFatal("%s has no row %s", d.name.c_str(), std::string(name).c_str());
}

// The picture is shown at the image's place where it is opaque; elsewhere the ground shows through.
void verifyShown(const QImage& shown, const Image& image, const QColor& ground)
{
    const QImage picture = pictureImage(image.picture());
    QVERIFY2(!picture.isNull(), image.name().c_str());
    const QPoint at = toQt(image.pixelRect().topLeft());
    for (int y = 2; y < picture.height(); y += 7)
        for (int x = 2; x < picture.width(); x += 7) {
            const QColor want = picture.pixelColor(x, y).alpha() == 255 ? picture.pixelColor(x, y) : ground;
            QVERIFY2(shown.pixelColor(at + QPoint(x, y)).rgb() == want.rgb(),
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(qs(image.name())).arg(x).arg(y)));
        }
}

}  // namespace

class SudokuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

    void addBoards()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 5; ++n)
            QTest::newRow(sudoku(n).c_str()) << n;
    }

    void verifyInvariants()
    {
        const QStringList broken = qs(brokenInvariants(sudokuInvariants(), program->registry()));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup()
    {
        // Whatever a test did, the boards are in a state a child can reach.
        verifyInvariants();
        program.reset();
    }

    // The pieces and givens fill the grid as a sudoku, and the givens leave only one way to fill it.
    void boardIsASudokuWithOneSolution_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("cells");
        QTest::newRow("Sudoku1") << 1 << 10;
        QTest::newRow("Sudoku2") << 2 << 10;
        QTest::newRow("Sudoku3") << 3 << 11;
        QTest::newRow("Sudoku4") << 4 << 11;
        QTest::newRow("Sudoku5") << 5 << 12;
    }
    void boardIsASudokuWithOneSolution()
    {
        QFETCH(int, n);
        QFETCH(int, cells);
        const QList<Place> c = cellsOf(n);
        QCOMPARE(c.size(), cells);
        QStringList names;
        for (const Place& p : c)
            names << qs(p.name);
        names.sort();
        for (int i = 0; i < cells; ++i)  // lettered from a without gaps
            QCOMPARE(names.at(i), QStringLiteral("Img1%1").arg(QChar('a' + i)));

        std::array<std::array<int, 4>, 4> grid{};
        for (const Place& p : c + givensOf(n))
            grid.at(size_t(p.row)).at(size_t(p.column)) = p.piece;
        auto fits = [&](int r, int col, int k) {
            for (int i = 0; i < 4; ++i)
                if ((i != col && grid[size_t(r)][size_t(i)] == k) || (i != r && grid[size_t(i)][size_t(col)] == k))
                    return false;
            for (int br = r / 2 * 2; br < r / 2 * 2 + 2; ++br)
                for (int bc = col / 2 * 2; bc < col / 2 * 2 + 2; ++bc)
                    if ((br != r || bc != col) && grid[size_t(br)][size_t(bc)] == k)
                        return false;
            return true;
        };
        for (int r = 0; r < 4; ++r)
            for (int col = 0; col < 4; ++col)
                QVERIFY2(fits(r, col, grid[size_t(r)][size_t(col)]),
                         qPrintable(QStringLiteral("row %1, column %2").arg(r + 1).arg(col + 1)));

        // Count the fillings of the cells that keep every row, column and block right.
        for (const Place& p : c)
            grid.at(size_t(p.row)).at(size_t(p.column)) = 0;
        std::function<int(int)> count = [&](int i) -> int {
            if (i == c.size())
                return 1;
            const Place& p = c.at(i);
            int found = 0;
            for (int k = 1; k <= 4; ++k)
                if (fits(p.row, p.column, k)) {
                    grid[size_t(p.row)][size_t(p.column)] = k;
                    found += count(i + 1);
                    grid[size_t(p.row)][size_t(p.column)] = 0;
                }
            return found;
        };
        QCOMPARE(count(0), 1);
    }

    // Every cell and given lies in its own grid square near the top left corner;
    // a given shows its piece's artwork in a picture object of its own.
    void cellsAndGivensLieInTheirSquares_data() { addBoards(); }
    void cellsAndGivensLieInTheirSquares()
    {
        QFETCH(int, n);
        Form& f = program->show(sudoku(n));
        for (const Place& p : cellsOf(n) + givensOf(n)) {
            const QRect r = toQt(f.image(p.name).pixelRect());
            const QRect square = squareRect(p.row, p.column);
            QVERIFY2(square.contains(r), p.name.c_str());
            QVERIFY2(r.left() - square.left() <= 16 && r.top() - square.top() <= 16, p.name.c_str());
            const QRect shape = toQt(f.shape(board(n).squares.at(4 * size_t(p.row) + size_t(p.column))).pixelRect());
            QCOMPARE(shape, square);
        }
        for (const Place& g : givensOf(n)) {
            QCOMPARE(rowOf(f.description(), g.name).picture, rowOf(f.description(), piece(g.piece)).picture);
            QVERIFY(!(f.image(g.name).picture() == f.image(piece(g.piece)).picture()));
        }
    }

    // Caption, titles and the keyboard: "?" has the focus at opening, Tab follows the board's order.
    void captionTitlesAndTabOrder_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("tabOrder");
        QTest::newRow("Sudoku1") << 1 << "sudoku 1. "
                                 << "Label1"
                                 << "Label2" << QStringList{"knopGoed", "knopVerder", "knopTerug", "knopSmile"};
        QTest::newRow("Sudoku2") << 2 << "sudoku 2."
                                 << "Label1"
                                 << "Label2"
                                 << QStringList{"knopGoed", "knopVerder", "Command4", "knopSmile", "knopTerug"};
        QTest::newRow("Sudoku3") << 3 << "sudoku 3. "
                                 << "Label1"
                                 << "Label3"
                                 << QStringList{"knopGoed", "knopVerder", "Command4", "knopSmile", "knopTerug"};
        QTest::newRow("Sudoku4") << 4 << "sudoku 4."
                                 << "Label4"
                                 << "Label3"
                                 << QStringList{"knopGoed", "knopVerder", "knopVorige", "knopSmile", "knopTerug"};
        QTest::newRow("Sudoku5") << 5 << "sudoku 5."
                                 << "Label4"
                                 << "Label3" << QStringList{"knopGoed", "knopVorige", "knopSmile", "knopTerug"};
    }
    void captionTitlesAndTabOrder()
    {
        QFETCH(int, n);
        QFETCH(QString, caption);
        QFETCH(QString, title);
        QFETCH(QString, number);
        QFETCH(QStringList, tabOrder);
        Form& f = program->show(sudoku(n));
        QCOMPARE(windowOf(f)->windowTitle(), caption);
        QCOMPARE(f.label(cs(title)).caption(), QString("sudoku"));
        QCOMPARE(f.label(cs(number)).caption(), QStringLiteral("%1.").arg(n));
        for (const QString& name : {title, number}) {
            QCOMPARE(f.label(cs(name)).font(), fonts::comicSans(21.75));
            QCOMPARE(f.label(cs(name)).foreColor(), BgrColor(0x000000C0));
        }
        QVERIFY(f.find(cs(title))->index() > f.find(cs(number))->index());  // the number lies in front

        // Playing: the hidden smiley takes no focus.
        QStringList playing = tabOrder;
        playing.removeAll("knopSmile");
        QCOMPARE(f.focusedButton()->name(), QString("knopGoed"));
        for (int i = 1; i <= playing.size(); ++i) {
            key(f, Qt::Key_Tab);
            QCOMPARE(f.focusedButton()->name(), playing.at(i % playing.size()));
        }
        // Solved: "?" is gone and the smiley takes its turn.
        fillEveryCell(f, n);
        click(f, "knopGoed");
        QVERIFY(solved(f));
        QStringList done = tabOrder;
        done.removeAll("knopGoed");
        const int from = int(done.indexOf(qs(f.focusedButton()->name())));
        QVERIFY(from >= 0);
        for (int i = 1; i <= done.size(); ++i) {
            key(f, Qt::Key_Tab);
            QCOMPARE(f.focusedButton()->name(), done.at((from + i) % done.size()));
        }
    }

    // The grid: white squares beneath everything, a black frame and block lines above
    // them, and every given, piece and filled cell shown whole.
    void layoutAsDrawn_data() { addBoards(); }
    void layoutAsDrawn()
    {
        QFETCH(int, n);
        Form& f = program->show(sudoku(n));
        fillEveryCell(f, n);
        const QImage shown = render(f);
        const QColor black(Qt::black), white(Qt::white);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) {
                const QRect s = squareRect(r, c);
                QCOMPARE(shown.pixelColor(s.topLeft() + QPoint(76, 76)), white);
                QCOMPARE(shown.pixelColor(s.topLeft() + QPoint(40, 74)), white);
            }
        // Thin borders between squares of one block, thick ones around the blocks.
        QCOMPARE(shown.pixelColor(432, 250), black);
        QCOMPARE(shown.pixelColor(434, 250), white);
        for (QPoint p : {QPoint(353, 250), QPoint(512, 250), QPoint(511, 440), QPoint(400, 368), QPoint(600, 367),
                         QPoint(672, 300), QPoint(500, 209), QPoint(500, 528)})
            QVERIFY2(shown.pixelColor(p) == black, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const Place& p : cellsOf(n) + givensOf(n))
            verifyShown(shown, f.image(p.name), white);
        for (int k = 1; k <= 4; ++k)
            verifyShown(shown, f.image(piece(k)), toQColor(SystemColor::ButtonFace));
        // "?" is there; the smiley is not.
        const QRect goed = toQt(f.button("knopGoed").pixelRect());
        QVERIFY(f.button("knopGoed").visible());
        QVERIFY(!f.button("knopSmile").visible());
        QCOMPARE(f.button("knopGoed").caption(), QString("?"));
        QCOMPARE(goed, QRect(480, 552, 65, 57));
    }

    // Every cell's own piece and "?" solve the board: the smiley shows in the place of "?"
    // and the cells lock; the smiley brings back the same board, empty.
    void ownPiecesSolveAndTheSmileyRestarts_data() { addBoards(); }
    void ownPiecesSolveAndTheSmileyRestarts()
    {
        QFETCH(int, n);
        Form& other = program->show(sudoku(n == 1 ? 2 : 1));
        drag(other, piece(1), cellsOf(n == 1 ? 2 : 1).front().name);
        Form& f = program->show(sudoku(n));
        const QImage fresh = render(f);
        fillEveryCell(f, n);
        click(f, "knopGoed");
        QVERIFY(solved(f));
        verifyInvariants();
        for (const Place& c : cellsOf(n)) {
            QVERIFY(holds(f, c.name, c.piece));
            QVERIFY(!f.image(c.name).enabled());
        }
        const CommandButton& smile = f.button("knopSmile");
        QVERIFY(smile.pixelRect().contains(f.button("knopGoed").pixelRect().center()));
        const QImage face = pictureImage(smile.picture());
        QCOMPARE(face.size(), n == 4 ? QSize(36, 36) : QSize(32, 32));
        const QColor middle = pixelAt(f, toQt(smile.pixelRect().center()));
        QVERIFY2(middle.red() > 200 && middle.green() > 160 && middle.blue() < 120, qPrintable(middle.name()));

        // Locked: drops and clicks on cells change nothing; the pieces can still be dragged.
        const QImage locked = render(f);
        const Place first = cellsOf(n).front();
        drag(f, piece(otherThan(first.piece)), first.name);
        click(f, first.name);
        QCOMPARE(render(f), locked);
        QVERIFY(holds(f, first.name, first.piece));

        const Picture oldPiece = f.image(piece(1)).picture();
        click(f, "knopSmile");
        QVERIFY(f.isLoaded());
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        QVERIFY(!solved(f) && f.button("knopGoed").visible());
        for (const Place& c : cellsOf(n)) {
            QVERIFY(f.image(c.name).picture().isEmpty());
            QVERIFY(f.image(c.name).enabled());
        }
        QVERIFY(!(f.image(piece(1)).picture() == oldPiece));
        QCOMPARE(render(f), fresh);
        QVERIFY(holds(other, cellsOf(n == 1 ? 2 : 1).front().name, 1));  // the other board is untouched
    }

    // One wrong cell at a time: the check blanks that cell only and the board plays on;
    // the right piece there makes the next check solve it.
    void onlyTheWrongCellIsBlanked_data() { addBoards(); }
    void onlyTheWrongCellIsBlanked()
    {
        QFETCH(int, n);
        Form& f = program->show(sudoku(n));
        fillEveryCell(f, n);
        const QList<Place> cells = cellsOf(n);
        for (const Place& wrong : cells) {
            drag(f, piece(otherThan(wrong.piece)), wrong.name);
            click(f, "knopGoed");
            QVERIFY2(f.image(wrong.name).picture() == f.image("imgWit").picture(), wrong.name.c_str());
            QCOMPARE(f.image(wrong.name).picture().isEmpty(), n == 4);  // board 4's blank holds no picture
            for (const Place& c : cells)
                if (c.name != wrong.name)
                    QVERIFY2(holds(f, c.name, c.piece), c.name.c_str());
            QVERIFY(!solved(f));
            QVERIFY(f.image(wrong.name).enabled());
            verifyInvariants();
            drag(f, piece(wrong.piece), wrong.name);
        }
        click(f, "knopGoed");
        QVERIFY(solved(f));
    }

    // A check on an empty board blanks every cell, which the eye does not see, and the board plays on.
    void checkingAnEmptyBoardChangesNothingToSee_data() { addBoards(); }
    void checkingAnEmptyBoardChangesNothingToSee()
    {
        QFETCH(int, n);
        Form& f = program->show(sudoku(n));
        const QImage fresh = render(f);
        click(f, "knopGoed");
        for (const Place& c : cellsOf(n))
            QVERIFY(f.image(c.name).picture() == f.image("imgWit").picture());
        QVERIFY(!solved(f));
        QCOMPARE(render(f), fresh);
    }

    // A drop replaces what a cell shows; one piece fills any number of cells; a click
    // blanks a cell, filled or not (board 5's Img1j too); the piece row never changes.
    void dropsReplaceAndClicksBlank_data() { addBoards(); }
    void dropsReplaceAndClicksBlank()
    {
        QFETCH(int, n);
        Form& f = program->show(sudoku(n));
        const Picture blank = f.image("imgWit").picture();
        QList<QRect> row;
        for (int k = 1; k <= 4; ++k)
            row << toQt(f.image(piece(k)).pixelRect());
        for (const Place& c : cellsOf(n)) {
            click(f, c.name);
            QVERIFY2(f.image(c.name).picture() == blank, c.name.c_str());
            drag(f, piece(2), c.name);
            QVERIFY(holds(f, c.name, 2));
            drag(f, piece(3), c.name);
            QVERIFY(holds(f, c.name, 3));
            QCOMPARE(f.image(c.name).pixelRect().size(), f.image(piece(3)).picture().size());
        }
        for (const Place& c : cellsOf(n))
            QVERIFY(holds(f, c.name, 3));
        for (const Place& c : cellsOf(n)) {
            click(f, c.name);
            QVERIFY2(f.image(c.name).picture() == blank, c.name.c_str());
        }
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(f.image(piece(k)).pixelRect(), row.at(k - 1));
    }

    // Board 4's blank holds no picture: a blanked cell shows nothing, keeps the size of the
    // piece it showed and still takes the next piece; the board then solves as usual.
    void board4BlankedCellIsEmptyAndStillSolves()
    {
        Form& f = program->show("Sudoku4");
        QVERIFY(f.image("imgWit").picture().isEmpty());
        drag(f, "Img2", "Img1k");
        QCOMPARE(f.image("Img1k").pixelRect().size(), QSize(56, 56));
        click(f, "Img1k");
        QVERIFY(f.image("Img1k").picture().isEmpty());
        QCOMPARE(f.image("Img1k").pixelRect().size(), QSize(56, 56));
        QCOMPARE(pixelAt(f, centreOf(f, "Img1k")), QColor(Qt::white));
        fillEveryCell(f, 4);
        click(f, "knopGoed");
        QVERIFY(solved(f));
    }

    // Board 3's given book can be dragged; where it lands it looks right but holds no piece.
    void draggedGivenIsBlankedEvenWhereItsImageBelongs()
    {
        Form& f = program->show("Sudoku3");
        QVERIFY(f.image("Image1").dragAutomatic());
        drag(f, "Image1", "Img1a");  // Img1a expects the book Img2
        QVERIFY(f.image("Img1a").picture() == f.image("Image1").picture());
        QVERIFY(!holds(f, "Img1a", 2));
        QCOMPARE(pictureImage(f.image("Img1a").picture()),
                 pictureImage(f.image("Img2").picture()));                 // the same to the eye
        QCOMPARE(f.image("Image1").pixelRect(), QRect(600, 384, 58, 58));  // the given stays put
        for (const Place& c : cellsOf(3))
            if (c.name != "Img1a")
                drag(f, piece(c.piece), c.name);
        click(f, "knopGoed");
        QVERIFY(f.image("Img1a").picture() == f.image("imgWit").picture());
        QVERIFY(!solved(f));
        drag(f, "Img2", "Img1a");
        click(f, "knopGoed");
        QVERIFY(solved(f));
    }

    // Board 3's piece row is not in number order; the check goes by piece, not by place.
    void board3PieceRowReadsOneTwoFourThree()
    {
        Form& f = program->show("Sudoku3");
        QStringList leftToRight{"Img1", "Img2", "Img3", "Img4"};
        std::sort(leftToRight.begin(), leftToRight.end(), [&](const QString& a, const QString& b) {
            return f.image(cs(a)).pixelRect().left() < f.image(cs(b)).pixelRect().left();
        });
        QCOMPARE(leftToRight, (QStringList{"Img1", "Img2", "Img4", "Img3"}));
        drag(f, "Img4", "Img1b");  // the third in the row, the fourth piece
        drag(f, "Img3", "Img1c");
        click(f, "knopGoed");
        QVERIFY(holds(f, "Img1b", 4));
        QVERIFY(holds(f, "Img1c", 3));
    }

    // Drops anywhere but on a cell change nothing: givens, pieces, squares, frame, titles, buttons, bare form.
    void dropsElsewhereDoNothing_data() { addBoards(); }
    void dropsElsewhereDoNothing()
    {
        QFETCH(int, n);
        Form& f = program->show(sudoku(n));
        const QImage before = render(f);
        std::vector<std::string> targets{board(n).titleLabel, board(n).numberLabel, "knopGoed", piece(2), piece(4)};
        for (const Place& g : givensOf(n))
            targets.push_back(g.name);
        for (const std::string& target : targets)
            drag(f, piece(1), target);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                dragTo(f, piece(3), squareRect(r, c).topLeft() + QPoint(76, 76));  // a square beside its cell
        dragTo(f, piece(1), QPoint(512, 380));                                     // the block lines' crossing
        dragTo(f, piece(1), QPoint(353, 300));                                     // the frame
        dragTo(f, piece(1), toQt(f.image("imgWit").pixelRect().center()));         // the hidden blank
        dragTo(f, piece(1), QPoint(1000, 400));                                    // bare form
        QCOMPARE(render(f), before);
        for (const Place& c : cellsOf(n))
            QVERIFY(f.image(c.name).picture().isEmpty());
    }

    // From the start screen along the boards and back; a half-filled board comes back as it was left.
    void theWayAlongTheBoards()
    {
        Form& start = program->show("Start");
        click(start, "knopSudoku");
        Form& s1 = program->form("Sudoku1");
        QCOMPARE(QApplication::activeWindow(), windowOf(s1));
        drag(s1, "Img2", "Img1a");
        drag(s1, "Img3", "Img1b");                 // a wrong piece
        const QRect playArea(340, 100, 350, 440);  // pieces and grid
        const QImage left = render(s1).copy(playArea);
        click(s1, "knopVerder");

        Form* f = &program->form("Sudoku2");
        for (int n = 2; n < 5; ++n) {
            click(*f, "knopVerder");
            f = &program->form(sudoku(n + 1));
            QCOMPARE(QApplication::activeWindow(), windowOf(*f));
        }
        QVERIFY(f->find("knopVerder") == nullptr);  // no way forward from the last board
        const std::vector<std::string> previous{"knopVorige", "knopVorige", "Command4", "Command4"};
        for (int n = 5; n > 1; --n) {
            click(*f, previous.at(size_t(5 - n)));
            f = &program->form(sudoku(n - 1));
            QCOMPARE(QApplication::activeWindow(), windowOf(*f));
        }
        QCOMPARE(render(s1).copy(playArea), left);

        click(s1, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
        click(start, "knopSudoku");
        QCOMPARE(QApplication::activeWindow(), windowOf(s1));
        QVERIFY(holds(s1, "Img1a", 2));
        QVERIFY(holds(s1, "Img1b", 3));
    }

    // A solved board stays solved while the child looks at another one.
    void solvedBoardStaysSolvedBehindAnother()
    {
        Form& s4 = program->show("Sudoku4");
        fillEveryCell(s4, 4);
        click(s4, "knopGoed");
        click(s4, "knopVerder");
        Form& s5 = program->form("Sudoku5");
        click(s5, "knopVorige");
        QCOMPARE(QApplication::activeWindow(), windowOf(s4));
        QVERIFY(solved(s4));
    }
};

QTEST_MAIN(SudokuTest)
#include "sudoku_test.moc"
