// The start screen and the life of the program around it.
#include "desktop/picture_pixels.h"
#include "menu/form_catalog.h"
#include "menu/start_menu.h"
#include "tests/support/form_driver.h"

#include <QTest>
#include <QToolTip>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

// Stand-ins for the first form of each game, so that the start screen can be
// tested on its own.
const std::vector<FormClass>& gameStandIns()
{
    static const std::vector<FormClass> classes = [] {
        std::vector<FormClass> all;
        for (const GameFamily& family : gameFamilies()) {
            const std::string& name = family.forms.front().name();
            all.emplace_back(FormDescription{
                .name = name, .caption = name, .clientWidth = ClientWidth, .clientHeight = ClientHeight});
        }
        return all;
    }();
    return classes;
}

const FormClass& start()
{
    static const FormClass c = startMenuClass(gameFamilies());
    return c;
}

std::vector<const FormClass*> classes()
{
    std::vector<const FormClass*> all{&start()};
    for (const FormClass& c : gameStandIns())
        all.push_back(&c);
    return all;
}

}  // namespace

class StartTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    Form* s = nullptr;

private slots:
    void init()
    {
        program = std::make_unique<Program>(classes());
        s = &program->show("Start");
    }
    void cleanup() { program.reset(); }

    void gameButtonsShowTheirFirstForm_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("piet") << "knopPiet"
                              << "Pietkleden"
                              << "piet aankleden";
        QTest::newRow("zak") << "knopZak"
                             << "Plaatjeindezak1"
                             << "welke hoort niet in de rij";
        QTest::newRow("vormen") << "knopVormen"
                                << "Vormen1"
                                << "vormen";
        QTest::newRow("puzzels") << "knopPuzzels"
                                 << "Puzzel1"
                                 << "puzzeltjes";
        QTest::newRow("tellen") << "KnopTellen1"
                                << "Tellen1"
                                << "tellen";
        QTest::newRow("sudoku") << "knopSudoku"
                                << "Sudoku1"
                                << "sudoku";
        QTest::newRow("spel") << "knopSpel"
                              << "Spel"
                              << "groepjes van 4";
    }
    void gameButtonsShowTheirFirstForm()
    {
        QFETCH(QString, button);
        QFETCH(QString, form);
        QFETCH(QString, toolTip);
        QCOMPARE(s->toolTipAt(fromQt(centreOf(*s, cs(button)))), toolTip);
        click(*s, cs(button));
        Form& game = program->form(cs(form));
        QVERIFY(game.isLoaded());
        QCOMPARE(QApplication::activeWindow(), windowOf(game));
        QVERIFY(s->isLoaded());  // Start is neither hidden nor unloaded
        QVERIFY(windowOf(*s)->isVisible());
        QCOMPARE(program->registry().loadedCount(), 2);  // no other form was touched
        // Pressed again from Start, the same window comes to the front, not a new one.
        FormWindow* first = windowOf(game);
        s->show();
        click(*s, cs(button));
        QCOMPARE(windowOf(game), first);
        QCOMPARE(QApplication::activeWindow(), first);
    }

    void toolTipIsShownWhenPointing()
    {
        const QPoint at = centreOf(*s, "knopSudoku");
        QHelpEvent help(QEvent::ToolTip, at, canvasOf(*s)->mapToGlobal(at));
        QApplication::sendEvent(canvasOf(*s), &help);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString("sudoku"));
        QToolTip::hideText();
        QCOMPARE(s->toolTipAt(fromQt(centreOf(*s, "knopStop"))), QString());
        QCOMPARE(s->toolTipAt(fromQt(centreOf(*s, "Label2"))), QString());
    }

    void stopEndsTheProgramWithEveryFormOpen()
    {
        click(*s, "knopSpel");
        s->show();
        click(*s, "knopSudoku");
        s->show();
        QCOMPARE(program->registry().loadedCount(), 3);
        click(*s, "knopStop");
        QVERIFY(program->registry().ended());
        QCOMPARE(program->registry().exitCode(), 0);
        QCOMPARE(program->registry().loadedCount(), 0);
    }

    void closingStartLeavesTheGamesRunning()
    {
        click(*s, "knopPuzzels");
        Form& game = program->form("Puzzel1");
        closeWindow(*s);
        QVERIFY(!s->isLoaded());
        QVERIFY(game.isLoaded());
        QVERIFY(!program->registry().ended());
        // A closed Start is built afresh by the next Show.
        s->show();
        QVERIFY(s->isLoaded());
        closeWindow(*s);
        closeWindow(game);
        QVERIFY(program->registry().ended());
    }

    void keyboardStartsAtPiet()
    {
        QCOMPARE(s->focusedButton()->name(), QString("knopPiet"));
        key(*s, Qt::Key_Tab);
        QCOMPARE(s->focusedButton()->name(), QString("knopZak"));
        key(*s, Qt::Key_Space);
        QVERIFY(program->form("Plaatjeindezak1").isLoaded());
    }

    void looksAsDescribed()
    {
        const QImage img = render(*s);
        QCOMPARE(img.size(), QSize(1021, 673));
        // The orange-brown panel between the buttons.
        QCOMPARE(img.pixelColor(140, 215), QColor(192, 64, 0));
        QCOMPARE(img.pixelColor(880, 600), QColor(192, 64, 0));
        // The face colour around it.
        QCOMPARE(img.pixelColor(60, 400), toQColor(SystemColor::ButtonFace));
        // The title: dark red ink and, six pixels to the left, its light orange shadow.
        int red = 0, orange = 0;
        for (int y = 0; y < 137; ++y)
            for (int x = 152; x < 873; ++x) {
                const QColor c = img.pixelColor(x, y);
                red += c == QColor(192, 0, 0);
                orange += c == QColor(255, 192, 128);
            }
        QVERIFY2(red > 2000, qPrintable(QString::number(red)));
        QVERIFY2(orange > 200, qPrintable(QString::number(orange)));
        // Each game button shows its picture centred on its face.
        for (const char* name :
             {"knopSpel", "knopSudoku", "KnopTellen1", "knopVormen", "knopPuzzels", "knopPiet", "knopZak"}) {
            const CommandButton& b = s->button(name);
            QVERIFY(b.graphical());
            QVERIFY(!b.picture().isEmpty());
            const QRect r = toQt(b.pixelRect());
            const QImage picture = pictureImage(b.picture());
            QRect placed(QPoint(), picture.size());
            placed.moveCenter(r.center());
            const QPoint at = placed.topLeft();
            int same = 0, opaque = 0;
            for (int y = 0; y < picture.height(); y += 3)
                for (int x = 0; x < picture.width(); x += 3) {
                    if (qAlpha(picture.pixel(x, y)) < 255)
                        continue;
                    ++opaque;
                    same += img.pixelColor(at + QPoint(x, y)) == picture.pixelColor(x, y);
                }
            QVERIFY2(opaque > 0 && same >= opaque * 9 / 10, name);
        }
    }
};

QTEST_MAIN(StartTest)
#include "start_test.moc"
