// The six puzzles and the navigation buttons, through the real windows.
#include "desktop/picture_pixels.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QTest>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

std::string slot(int k)
{
    return numbered("Image", k);
}
std::string piece(int k)
{
    return numbered("img", k);
}
std::string puzzel(int n)
{
    return numbered("Puzzel", n);
}

// Places that are not slots: imgLeeg and the tray frames (whose middle is a piece).
// The big frame's middle is where the four slots meet, so it is tried at its edge.
const std::vector<std::string> NotTargets{"imgLeeg", "Shape2", "Shape3", "Shape4", "Shape5"};

}  // namespace

class PuzzelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

    void addPuzzles()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 6; ++n)
            QTest::newRow(puzzel(n).c_str()) << n;
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup()
    {
        // Whatever a test did, the puzzles are in a state a child can reach.
        const QStringList broken = qs(brokenInvariants(puzzelInvariants(), program->registry()));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
        program.reset();
    }

    void eachQuarterLocksItsOwnSlot_data() { addPuzzles(); }
    void eachQuarterLocksItsOwnSlot()
    {
        QFETCH(int, n);
        Form& f = program->show(puzzel(n));
        for (int k = 1; k <= 4; ++k) {
            const Picture quarter = f.image(piece(k)).picture();
            drag(f, piece(k), slot(k));
            QVERIFY(f.image(slot(k)).picture() == quarter);
            QVERIFY(!f.image(slot(k)).enabled());
            QVERIFY(!f.image(piece(k)).visible());
            QCOMPARE(f.image(slot(k)).pixelRect().size(), QSize(153, 153));
        }
        // The finished puzzle shows the whole picture in the frame, quarter by quarter.
        const QImage shown = render(f);
        for (int k = 1; k <= 4; ++k) {
            const QRect r = toQt(f.image(slot(k)).pixelRect());
            const QImage quarter = pictureImage(f.image(slot(k)).picture());
            for (QPoint p : {QPoint(20, 20), QPoint(76, 76), QPoint(130, 40), QPoint(40, 130)})
                QCOMPARE(shown.pixelColor(r.topLeft() + p), quarter.pixelColor(p));
        }
        // Four empty tray frames below: the face colour inside each.
        for (int left : {184, 352, 520, 688})
            QCOMPARE(shown.pixelColor(left + 76, 408 + 76), toQColor(SystemColor::ButtonFace));
    }

    void wrongQuarterShowsAndIsClickedAway_data() { addPuzzles(); }
    void wrongQuarterShowsAndIsClickedAway()
    {
        QFETCH(int, n);
        Form& f = program->show(puzzel(n));
        const Picture second = f.image(piece(2)).picture();
        // One wrong quarter on three slots: it shows in each and stays in the tray.
        for (int k : {1, 3, 4}) {
            drag(f, piece(2), slot(k));
            QVERIFY(f.image(slot(k)).picture() == second);
            QVERIFY(f.image(slot(k)).enabled());
            QCOMPARE(f.image(slot(k)).pixelRect().size(), QSize(153, 153));
        }
        QVERIFY(f.image(piece(2)).visible());
        // The right quarter replaces the wrong one and locks; the copy elsewhere stays.
        drag(f, piece(1), slot(1));
        QVERIFY(!f.image(slot(1)).enabled());
        drag(f, piece(2), slot(2));
        QVERIFY(!f.image(piece(2)).visible());
        QVERIFY(f.image(slot(3)).picture() == second);
        // A click clears a wrong slot, not a locked one; a click on an empty slot changes nothing.
        click(f, slot(3));
        QVERIFY(f.image(slot(3)).picture().isEmpty());
        click(f, slot(3));
        QVERIFY(f.image(slot(3)).picture().isEmpty());
        QCOMPARE(f.image(slot(3)).pixelRect().size(), QSize(153, 153));
        click(f, slot(1));
        QVERIFY(f.image(slot(1)).picture() == f.image(piece(1)).picture());
    }

    void lockedSlotIgnoresDropsAndClicks_data() { addPuzzles(); }
    void lockedSlotIgnoresDropsAndClicks()
    {
        QFETCH(int, n);
        Form& f = program->show(puzzel(n));
        drag(f, piece(4), slot(4));
        const Picture own = f.image(slot(4)).picture();
        drag(f, piece(3), slot(4));
        click(f, slot(4));
        QVERIFY(f.image(slot(4)).picture() == own);
        QVERIFY(f.image(piece(3)).visible());
        // A hidden piece cannot be dragged any more: pressing its empty place starts nothing.
        pressAt(f, centreOf(f, piece(4)));
        QVERIFY(!f.drag());
        releaseAt(f, centreOf(f, slot(3)));
        QVERIFY(f.image(slot(3)).picture().isEmpty());
    }

    void dropsElsewhereDoNothing_data() { addPuzzles(); }
    void dropsElsewhereDoNothing()
    {
        QFETCH(int, n);
        Form& f = program->show(puzzel(n));
        const QImage before = render(f);
        std::vector<std::string> targets = NotTargets;
        targets.push_back(piece(3));
        targets.push_back(piece(4));
        for (const std::string& target : targets)
            drag(f, piece(1), target);
        dragTo(f, piece(1), QPoint(1000, 650));                                     // bare form
        dragTo(f, piece(1), QPoint(f.image(slot(1)).pixelRect().left() - 4, 300));  // on the frame only
        QCOMPARE(render(f), before);
        for (int k = 1; k <= 4; ++k) {
            QVERIFY(f.image(slot(k)).picture().isEmpty());
            QVERIFY(f.image(piece(k)).visible());
        }
    }

    void nextThenPreviousComesBackAsLeft()
    {
        Form& p1 = program->show("Puzzel1");
        drag(p1, "img1", "Image1");
        drag(p1, "img3", "Image2");
        const QImage left = render(p1);
        click(p1, "knopRechts");
        Form& p2 = program->form("Puzzel2");
        QVERIFY(p2.isLoaded());
        click(p2, "Command4");
        QCOMPARE(QApplication::activeWindow(), windowOf(p1));
        QCOMPARE(render(p1), left);
        QVERIFY(!p1.image("Image1").enabled());
    }

    void chainOfPuzzles()
    {
        // Forwards from 1 to 6 with the next arrows, and back with the previous ones.
        Form* f = &program->show("Puzzel1");
        for (int n = 1; n < 6; ++n) {
            click(*f, "knopRechts");
            f = &program->form(puzzel(n + 1));
            QCOMPARE(QApplication::activeWindow(), windowOf(*f));
        }
        QVERIFY(f->find("knopRechts") == nullptr);  // no way forward from the last
        const std::vector<std::string> previous{"knopVorige", "knopLinks", "knopLinks", "knopLinks", "Command4"};
        for (int n = 6; n > 1; --n) {
            click(*f, previous.at(size_t(6 - n)));
            f = &program->form(puzzel(n - 1));
            QCOMPARE(QApplication::activeWindow(), windowOf(*f));
        }
    }

    void doorAndStartButtonBringBackThePuzzle()
    {
        Form& start = program->show("Start");
        click(start, "knopPuzzels");
        Form& p1 = program->form("Puzzel1");
        drag(p1, "img2", "Image2");
        click(p1, "knopRechts");
        Form& p2 = program->form("Puzzel2");
        drag(p2, "img3", "Image1");  // a wrong quarter
        click(p2, "Command1");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
        click(start, "knopPuzzels");
        QCOMPARE(QApplication::activeWindow(), windowOf(p1));
        QVERIFY(!p1.image("Image2").enabled());
        QVERIFY(p2.isLoaded());
        QVERIFY(p2.image("Image1").picture() == p2.image("img3").picture());
    }

    void restartRebuildsOnlyItsOwnForm_data() { addPuzzles(); }
    void restartRebuildsOnlyItsOwnForm()
    {
        QFETCH(int, n);
        Form& other = program->show(puzzel(n == 1 ? 2 : 1));
        drag(other, "img1", "Image1");
        Form& f = program->show(puzzel(n));
        const QImage fresh = render(f);
        click(f, "knopOpnieuw");  // directly after opening: nothing visible changes
        QCOMPARE(render(f), fresh);
        drag(f, "img1", "Image1");
        drag(f, "img2", "Image3");
        const Picture oldQuarter = f.image("img3").picture();
        click(f, "knopOpnieuw");
        QVERIFY(f.isLoaded());
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        QCOMPARE(render(f), fresh);
        for (int k = 1; k <= 4; ++k) {
            QVERIFY(f.image(slot(k)).picture().isEmpty());
            QVERIFY(f.image(slot(k)).enabled());
            QVERIFY(f.image(piece(k)).visible());
        }
        QVERIFY(!(f.image("img3").picture() == oldQuarter));
        QVERIFY(!other.image("Image1").enabled());  // the other puzzle is untouched
    }
};

QTEST_MAIN(PuzzelTest)
#include "puzzel_test.moc"
