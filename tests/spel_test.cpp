// Rows or groups of four, through the real window: tokens, counters, the
// colours of full groups as the children see them, "opnieuw", Help and the door.
#include "desktop/picture_pixels.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QApplication>
#include <QTest>

#include <array>
#include <vector>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

enum Player { Sint, Piet };
const char* tokenOf(Player p)
{
    return p == Sint ? "ImgSint" : "ImgPiet";
}
const char* counterOf(Player p)
{
    return p == Sint ? "lblTellerSint" : "lblTellerPiet";
}
const char* nameOf(Player p)
{
    return p == Sint ? "Sint" : "Piet";
}
QColor colourOf(Player p)
{
    return p == Sint ? QColor(255, 192, 128) : QColor(255, 255, 128);
}
const QColor White(255, 255, 255);

QString cell(int n)
{
    return QStringLiteral("Image%1").arg(n);
}
QString square(int n)
{
    return QStringLiteral("Shape%1").arg(n);
}

void place(Form& f, Player p, int n)
{
    drag(f, tokenOf(p), cs(cell(n)));
}

// The groups of four worked out from the board's geometry, cells numbered row by row from 1.
struct NamedGroup {
    QString name;
    std::array<int, 4> cells;
};
std::vector<NamedGroup> groupsOfFour()
{
    auto at = [](int r, int c) { return 4 * r + c + 1; };
    std::vector<NamedGroup> all;
    for (int i = 0; i < 4; ++i) {
        all.push_back({QStringLiteral("row %1").arg(i + 1), {at(i, 0), at(i, 1), at(i, 2), at(i, 3)}});
        all.push_back({QStringLiteral("column %1").arg(i + 1), {at(0, i), at(1, i), at(2, i), at(3, i)}});
    }
    all.push_back({"falling diagonal", {at(0, 0), at(1, 1), at(2, 2), at(3, 3)}});
    all.push_back({"rising diagonal", {at(0, 3), at(1, 2), at(2, 1), at(3, 0)}});
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            all.push_back({QStringLiteral("square at %1").arg(at(r, c)),
                           {at(r, c), at(r, c + 1), at(r + 1, c), at(r + 1, c + 1)}});
    return all;
}

// The colour each of the sixteen squares shows in the window, read in its top
// left corner, where both tokens are transparent.
std::array<QColor, 16> shownSquares(Form& f)
{
    const QImage shown = render(f);
    std::array<QColor, 16> colours;
    for (int n = 1; n <= 16; ++n)
        colours[size_t(n - 1)] = shown.pixelColor(toQt(f.shape(cs(square(n))).pixelRect().topLeft()) + QPoint(6, 6));
    return colours;
}

// Everything above the buttons, whose look also follows the keyboard focus.
QImage playArea(Form& f)
{
    return render(f).copy(0, 0, 1021, f.button("knopOpnieuw").pixelRect().top() - 4);
}

// Each square shows the colour given for it (cells not listed: white), in the
// window and in its FillColor.
void verifySquares(Form& f, const QHash<int, QColor>& lit)
{
    const std::array<QColor, 16> shown = shownSquares(f);
    for (int n = 1; n <= 16; ++n) {
        const QColor want = lit.value(n, White);
        QVERIFY2(shown[size_t(n - 1)] == want, qPrintable(QStringLiteral("square %1 shows %2, expected %3")
                                                              .arg(n)
                                                              .arg(shown[size_t(n - 1)].name(), want.name())));
        QCOMPARE(toQColor(f.shape(cs(square(n))).fillColor()), want);
    }
}

}  // namespace

class SpelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

    void verifyInvariants()
    {
        const QStringList broken = qs(brokenInvariants(spelInvariants(), program->registry()));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup()
    {
        verifyInvariants();
        program.reset();
    }

    void opensAsAnEmptyBoard()
    {
        Form& f = program->show("Spel");
        QCOMPARE(windowOf(f)->windowTitle(), QStringLiteral("rijtje of groepje van 4"));
        QCOMPARE(f.clientSize(), QSize(1021, 653));
        QVERIFY(f.menu() && f.menu()->caption() == QLatin1String("Help"));
        QCOMPARE(f.label("lblTellerSint").caption(), QStringLiteral("0"));
        QCOMPARE(f.label("lblTellerPiet").caption(), QStringLiteral("0"));
        for (int n = 1; n <= 16; ++n) {
            QVERIFY(f.image(cs(cell(n))).picture().isEmpty());
            QVERIFY(f.image(cs(cell(n))).enabled());
        }
        verifySquares(f, {});
        // The squares touch: a black line two pixels wide between neighbours.
        const QImage shown = render(f);
        const QRect first = toQt(f.shape(cs(square(1))).pixelRect());
        QCOMPARE(shown.pixelColor(first.right(), first.center().y()), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(first.right() - 1, first.center().y()), QColor(Qt::black));
        QCOMPARE(shown.pixelColor(first.right() - 2, first.center().y()), White);
        // Both tokens stand beside the board, showing their pictures.
        for (Player p : {Sint, Piet}) {
            const Image& token = f.image(tokenOf(p));
            QCOMPARE(shown.pixelColor(toQt(token.pixelRect().topLeft()) + QPoint(49, 49)),
                     pictureImage(token.picture()).pixelColor(49, 49));
        }
    }

    // Whichever of its four cells is filled last, a group of one player's
    // tokens lights exactly its own four squares in that player's colour.
    void everyGroupLightsInItsPlayersColour_data()
    {
        QTest::addColumn<QList<int>>("cells");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("player");
        for (const NamedGroup& g : groupsOfFour())
            for (Player p : {Sint, Piet})
                for (int last : g.cells)
                    QTest::addRow("%s, %s, last %d", qPrintable(g.name), nameOf(p), last)
                        << QList<int>(g.cells.begin(), g.cells.end()) << last << int(p);
    }
    void everyGroupLightsInItsPlayersColour()
    {
        QFETCH(QList<int>, cells);
        QFETCH(int, last);
        QFETCH(int, player);
        const Player p = Player(player);
        Form& f = program->show("Spel");
        for (int n : cells)
            if (n != last)
                place(f, p, n);
        verifySquares(f, {});
        place(f, p, last);
        QHash<int, QColor> lit;
        for (int n : cells)
            lit[n] = colourOf(p);
        verifySquares(f, lit);
        QCOMPARE(f.label(counterOf(p)).caption(), QStringLiteral("4"));
        QCOMPARE(f.label(counterOf(p == Sint ? Piet : Sint)).caption(), QStringLiteral("0"));
    }

    // Four tokens that are not one player's in one group light nothing.
    void fourThatMakeNoGroupLightNothing_data()
    {
        QTest::addColumn<QList<int>>("sint");
        QTest::addColumn<QList<int>>("piet");
        int i = 0;
        for (const NamedGroup& g : groupsOfFour()) {
            // Three of one player and one of the other, the odd one in turn at each place.
            QList<int> many(g.cells.begin(), g.cells.end());
            const QList<int> odd{many.takeAt(i % 4)};
            if (i % 2 == 0)
                QTest::addRow("%s, one Piet", qPrintable(g.name)) << many << odd;
            else
                QTest::addRow("%s, one Sint", qPrintable(g.name)) << odd << many;
            ++i;
        }
        QTest::addRow("bent row") << QList<int>{1, 2, 3, 8} << QList<int>{};
        QTest::addRow("L shape") << QList<int>{1, 5, 9, 10} << QList<int>{};
        QTest::addRow("four corners") << QList<int>{} << QList<int>{1, 4, 13, 16};
        QTest::addRow("line of three and one apart") << QList<int>{5, 6, 7, 16} << QList<int>{};
    }
    void fourThatMakeNoGroupLightNothing()
    {
        QFETCH(QList<int>, sint);
        QFETCH(QList<int>, piet);
        Form& f = program->show("Spel");
        for (int n : sint)
            place(f, Sint, n);
        for (int n : piet)
            place(f, Piet, n);
        verifySquares(f, {});
    }

    void oneDropCompletesTwoGroups()
    {
        Form& f = program->show("Spel");
        for (int n : {5, 7, 8, 1, 11, 16})
            place(f, Sint, n);
        verifySquares(f, {});
        place(f, Sint, 6);  // completes the second row and the falling diagonal
        QHash<int, QColor> lit;
        for (int n : {1, 5, 6, 7, 8, 11, 16})
            lit[n] = colourOf(Sint);
        verifySquares(f, lit);
    }

    void groupsStayLitWhilePlayGoesOn()
    {
        Form& f = program->show("Spel");
        for (int n : {1, 2, 5, 6})
            place(f, Piet, n);
        for (int n : {3, 4, 7})
            place(f, Sint, n);
        place(f, Piet, 10);
        place(f, Piet, 9);  // a second Piet square sharing 5 and 6 with the first
        place(f, Sint, 8);  // a Sint square beside them
        QHash<int, QColor> lit;
        for (int n : {1, 2, 5, 6, 9, 10})
            lit[n] = colourOf(Piet);
        for (int n : {3, 4, 7, 8})
            lit[n] = colourOf(Sint);
        verifySquares(f, lit);
    }

    void takenCellIgnoresDrops()
    {
        Form& f = program->show("Spel");
        place(f, Sint, 3);
        const Picture mitre = f.image("ImgSint").picture();
        QVERIFY(f.image(cs(cell(3))).picture() == mitre);
        QVERIFY(!f.image(cs(cell(3))).enabled());
        place(f, Piet, 3);
        place(f, Sint, 3);
        QVERIFY(f.image(cs(cell(3))).picture() == mitre);
        QCOMPARE(f.label("lblTellerSint").caption(), QStringLiteral("1"));
        QCOMPARE(f.label("lblTellerPiet").caption(), QStringLiteral("0"));
    }

    void eighthTokenUsesUpOnlyItsPlayer_data()
    {
        QTest::addColumn<int>("player");
        QTest::newRow("Sint") << int(Sint);
        QTest::newRow("Piet") << int(Piet);
    }
    void eighthTokenUsesUpOnlyItsPlayer()
    {
        QFETCH(int, player);
        const Player p = Player(player);
        const Player other = p == Sint ? Piet : Sint;
        Form& f = program->show("Spel");
        for (int n = 1; n <= 7; ++n)
            place(f, p, n);
        QVERIFY(f.image(tokenOf(p)).enabled());
        place(f, p, 8);
        QCOMPARE(f.label(counterOf(p)).caption(), QStringLiteral("8"));
        QVERIFY(!f.image(tokenOf(p)).enabled());
        QVERIFY(f.image(tokenOf(p)).visible());
        // The used-up token no longer starts a drag; a try leaves the board as it was.
        pressAt(f, centreOf(f, tokenOf(p)));
        QVERIFY(!f.drag());
        releaseAt(f, centreOf(f, cs(cell(9))));
        place(f, p, 9);
        QVERIFY(f.image(cs(cell(9))).picture().isEmpty());
        QCOMPARE(f.label(counterOf(p)).caption(), QStringLiteral("8"));
        // The other player plays on.
        place(f, other, 9);
        QVERIFY(f.image(cs(cell(9))).picture() == f.image(tokenOf(other)).picture());
        QCOMPARE(f.label(counterOf(other)).caption(), QStringLiteral("1"));
        QVERIFY(f.image(tokenOf(other)).enabled());
    }

    // The limit belongs to the counter: writing its caption is what uses a token up.
    void counterAtEightUsesUpItsToken_data()
    {
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("usable");
        for (const char* caption : {"7", "8", "9"})
            for (Player p : {Sint, Piet})
                QTest::addRow("%s at %s", nameOf(p), caption) << QString(counterOf(p)) << QString(tokenOf(p))
                                                              << QString(caption) << (QLatin1String(caption) != "8");
    }
    void counterAtEightUsesUpItsToken()
    {
        QFETCH(QString, counter);
        QFETCH(QString, token);
        QFETCH(QString, caption);
        QFETCH(bool, usable);
        Form& f = program->show("Spel");
        f.label(cs(counter)).setCaption(cs(caption));
        QCOMPARE(f.image(cs(token)).enabled(), usable);
        QVERIFY(f.image(token == "ImgSint" ? "ImgPiet" : "ImgSint").enabled());
        f.unload();  // a caption written by hand is no state a child can reach
    }

    void fullBoardWithoutAGroupStaysWhite()
    {
        Form& f = program->show("Spel");
        // S S P P / P P S S / S S P P / P P S S: no row, column, diagonal or square of one kind.
        for (int n = 1; n <= 16; ++n) {
            const int r = (n - 1) / 4, c = (n - 1) % 4;
            place(f, (c < 2) == (r % 2 == 0) ? Sint : Piet, n);
        }
        verifySquares(f, {});
        for (Player p : {Sint, Piet}) {
            QCOMPARE(f.label(counterOf(p)).caption(), QStringLiteral("8"));
            QVERIFY(!f.image(tokenOf(p)).enabled());
        }
        for (int n = 1; n <= 16; ++n)
            QVERIFY(!f.image(cs(cell(n))).enabled());
    }

    void dropsBesideTheCellsDoNothing()
    {
        Form& f = program->show("Spel");
        const QImage before = render(f);
        for (Player p : {Sint, Piet}) {
            for (const char* target :
                 {"lblTellerSint", "lblTellerPiet", "ImgSint", "ImgPiet", "ImgLeeg", "knopOpnieuw", "knopTerug"})
                drag(f, tokenOf(p), target);
            dragTo(f, tokenOf(p), toQt(f.shape("Shape17").pixelRect().center()));  // the legend
            dragTo(f, tokenOf(p), QPoint(1000, 640));                              // the bare form
        }
        QCOMPARE(render(f), before);
        QCOMPARE(f.label("lblTellerSint").caption(), QStringLiteral("0"));
        QCOMPARE(f.label("lblTellerPiet").caption(), QStringLiteral("0"));
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
    }

    void opnieuwClearsTheBoardInPlace()
    {
        Form& f = program->show("Spel");
        click(f, "knopOpnieuw");  // straight after opening it changes nothing that shows
        const QImage fresh = render(f);
        const quint64 generation = f.generation();
        const Picture mitre = f.image("ImgSint").picture();
        // A board in play: eight mitres (two rows lit), three Piet heads.
        for (int n = 1; n <= 8; ++n)
            place(f, Sint, n);
        for (int n : {9, 10, 13})
            place(f, Piet, n);
        QVERIFY(!f.image("ImgSint").enabled());
        click(f, "knopOpnieuw");
        QCOMPARE(f.generation(), generation);  // the same controls, not rebuilt
        QVERIFY(f.image("ImgSint").picture() == mitre);
        QCOMPARE(render(f), fresh);
        verifySquares(f, {});
        for (Player p : {Sint, Piet}) {
            QCOMPARE(f.label(counterOf(p)).caption(), QStringLiteral("0"));
            QVERIFY(f.image(tokenOf(p)).enabled());
        }
        for (int n = 1; n <= 16; ++n) {
            QVERIFY(f.image(cs(cell(n))).enabled());
            QVERIFY(f.image(cs(cell(n))).picture() == f.image("ImgLeeg").picture());
        }
        // Play starts afresh: the next mitre counts as one, groups are found again.
        place(f, Sint, 16);
        QCOMPARE(f.label("lblTellerSint").caption(), QStringLiteral("1"));
        for (int n : {1, 5, 9, 13})
            place(f, Piet, n);
        QHash<int, QColor> lit;
        for (int n : {1, 5, 9, 13})
            lit[n] = colourOf(Piet);
        verifySquares(f, lit);
    }

    void helpExplainsTheGame()
    {
        Form& f = program->show("Spel");
        place(f, Sint, 6);
        place(f, Piet, 7);
        const QImage before = playArea(f);
        const auto seen = answerNextMessageBox();
        chooseMenu(f);
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("Speel met 2 personen. Probeer groepjes van 4 te maken"));
        QCOMPARE(seen->title, QString());
        QVERIFY(seen->exclamation);
        QCOMPARE(seen->buttons, 1);
        QCOMPARE(playArea(f), before);
        QCOMPARE(f.label("lblTellerSint").caption(), QStringLiteral("1"));
        QCOMPARE(f.label("lblTellerPiet").caption(), QStringLiteral("1"));
    }

    void boardSurvivesLeavingAndComingBack()
    {
        Form& start = program->show("Start");
        click(start, "knopSpel");
        Form& f = program->form("Spel");
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        for (int n : {2, 3, 6, 7})
            place(f, Piet, n);
        place(f, Sint, 11);
        const QImage left = playArea(f);
        click(f, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
        QVERIFY(f.isLoaded());
        click(start, "knopSpel");
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        QCOMPARE(playArea(f), left);
        QCOMPARE(f.label("lblTellerPiet").caption(), QStringLiteral("4"));
        QVERIFY(!f.image(cs(cell(11))).enabled());
    }
};

QTEST_MAIN(SpelTest)
#include "spel_test.moc"
