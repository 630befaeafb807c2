// Fingers on a touch screen, through the real windows: a tap is a click with
// a finger's slack, a finger drag is a drag exactly as with the mouse, one
// finger plays at a time in the whole program (a second finger, on the same
// window or another, and the mouse meanwhile are nothing), a cancelled touch
// drops nothing, a long press is no tool tip, at every window scale.
#include "runtime/pointer_input.h"
#include "tests/monkey/form_state.h"
#include "tests/support/form_driver.h"
#include "tests/support/plays.h"

#include <QHelpEvent>
#include <QPointingDevice>
#include <QStyleHints>
#include <QTest>
#include <QToolTip>
#include <cmath>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

// Longer than the mouse rests before Qt asks for its tool tip, ms.
constexpr int LongPress = 1000;

// What the handlers of the test forms did, in order.
QStringList& events()
{
    static QStringList log;
    return log;
}

FormClass makeBoard()
{
    FormClass c(FormDescription{
        .name = "Board",
        .caption = "board",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeight,
        .rows{
            buttonRow("knop", px(100), px(100), px(120), px(40))
                .withCaption("knop")
                .withFont(fonts::arial(12))
                .withToolTip("een knop"),
            imageRow("picture", px(100), px(300), px(60), px(60)).withPicture("smiley"),
            imageRow("piece", px(400), px(100), px(43), px(44)).withPicture("door").draggable(),
            imageRow("slot", px(600), px(100), px(60), px(60)),
            buttonRow("knopOther", px(100), px(500), px(100), px(30)).withCaption("verder").withFont(fonts::arial(12)),
            menuRow("Help", "Help"),
        },
    });
    for (const char* name : {"knop", "picture", "piece", "slot", "Help"}) {
        const QString n = QString::fromLatin1(name);
        c.onClick(name, [n](Form&) { events() << "click " + n; });
    }
    c.onDragDrop("slot", [](Form&, Image& source) { events() << "drop " + qs(source.name()) + " on slot"; });
    c.onClick("knopOther", [](Form& f) { f.registry().show("Other"); });
    return c;
}

FormClass makeOther()
{
    FormClass c(FormDescription{
        .name = "Other",
        .caption = "other",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeight,
        .rows{buttonRow("knop", px(100), px(100), px(120), px(40)).withCaption("knop").withFont(fonts::arial(12)),
              menuRow("Help", "Help")},
    });
    c.onClick("knop", [](Form&) { events() << "click other knop"; });
    c.onClick("Help", [](Form&) { events() << "click other Help"; });
    return c;
}

const FormClass& board()
{
    static const FormClass c = makeBoard();
    return c;
}
const FormClass& other()
{
    static const FormClass c = makeOther();
    return c;
}

// A finger's way: touch, move through each point, lift at the last.
struct Path {
    QPoint press;
    QList<QPoint> moves;
};

// The tool tip that the canvas shows when asked where it stands now, as Qt asks after the mouse rested.
QString toolTipAskedAt(Form& f, QPoint formPoint)
{
    QToolTip::hideText();
    const QPoint at = onCanvas(f, formPoint);
    QHelpEvent help(QEvent::ToolTip, at, canvasOf(f)->mapToGlobal(at));
    QCoreApplication::sendEvent(canvasOf(f), &help);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text;
}

void setFullscreen(Program& program, bool on)
{
    static_cast<QtWindowSystem*>(program.registry().windowSystem())->setFullscreen(on);
    settle();
}

}  // namespace

Q_DECLARE_METATYPE(Path)

class TouchTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    Form* f = nullptr;

    // The other form, its window beside this one's so that neither covers the other.
    Form& showOtherBeside()
    {
        Form& o = program->show("Other");
        windowOf(o)->move(windowOf(*f)->frameGeometry().topRight() + QPoint(30, 0));
        settle();
        return o;
    }

public:
    static void initMain() { useTouchBoardScreen(); }

private slots:
    void init()
    {
        events().clear();
        program = std::make_unique<Program>(std::vector<const FormClass*>{&board(), &other()});
        f = &program->show("Board");
    }
    void cleanup() { program.reset(); }

    // ------------------------------------------------------------ taps

    // The slack is the finger's, on the screen: the same at every scale of the window.
    void tapsAndSlides_data()
    {
        // Twice the distance at which this desktop starts a mouse drag, as the README says.
        const int slack = 2 * QGuiApplication::styleHints()->startDragDistance();
        QVERIFY(slack >= 10);
        const QPoint knop(160, 120);  // the button's centre: 100..219 x 100..139
        const QPoint edge(101, 138);  // just inside its bottom-left corner
        QTest::addColumn<double>("scale");
        QTest::addColumn<Path>("path");
        QTest::addColumn<QStringList>("expected");
        for (double scale : {1.0, 1.5}) {
            const auto row = [scale](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(QStringLiteral("%1 at %2").arg(QLatin1String(name)).arg(scale)))
                       << scale;
            };
            row("tap on a button") << Path{knop, {}} << QStringList{"click knop"};
            // Off the button's left edge by just less and just more than the slack, on the screen.
            const int within = int(std::floor((slack - 1) / scale)), beyond = int(std::ceil((slack + 1) / scale));
            row("tap that wanders off by just less than the slack")
                << Path{edge, {edge + QPoint(-within, 0)}} << QStringList{"click knop"};
            row("tap that wanders off by just more than the slack")
                << Path{edge, {edge + QPoint(-beyond, 0)}} << QStringList{};
            row("tap that moves two pixels") << Path{knop, {knop + QPoint(2, 0)}} << QStringList{"click knop"};
            row("tap at the edge that wanders off within the slack")
                << Path{edge, {edge + QPoint(-2, 2)}} << QStringList{"click knop"};
            row("slides off the button") << Path{knop, {knop + QPoint(0, slack + 40)}} << QStringList{};
            row("slides off and back on")
                << Path{knop, {knop + QPoint(0, slack + 40), knop + QPoint(5, 0)}} << QStringList{"click knop"};
            row("moves far, staying on the button")
                << Path{QPoint(102, 120), {QPoint(217, 120)}} << QStringList{"click knop"};
            row("slides from the bare form onto the button") << Path{QPoint(160, 90), {knop}} << QStringList{};
            row("tap on a picture") << Path{QPoint(130, 330), {}} << QStringList{"click picture"};
            row("tap on a draggable picture never clicks") << Path{QPoint(420, 120), {}} << QStringList{};
            row("tap on the bare form") << Path{QPoint(700, 500), {}} << QStringList{};
        }
    }
    void tapsAndSlides()
    {
        QFETCH(double, scale);
        QFETCH(Path, path);
        QFETCH(QStringList, expected);
        if (scale != 1.0)
            resizeCanvas(*f, (QSizeF(toQt(f->clientSize())) * scale).toSize());
        Fingers fingers;
        fingers.press(0, *f, path.press);
        Control* hit = f->hitTest(fromQt(path.press));
        const bool onButton = hit && hit->controlClass() == ControlClass::CommandButton;
        QCOMPARE(f->pressedButton() != nullptr, onButton);
        QPoint last = path.press;
        for (QPoint p : path.moves) {
            fingers.move(0, p);
            last = p;
        }
        fingers.release(0, last);
        QCOMPARE(events(), expected);
        QVERIFY(!f->pressedButton());
        QVERIFY(!f->drag());
    }

    // While the finger is down the button looks pressed; slid off it, it does not.
    void buttonLooksPressedUnderTheFinger()
    {
        const QImage up = render(*f);
        const QPoint knop = centreOf(*f, "knop");
        Fingers fingers;
        fingers.press(0, *f, knop);
        QCOMPARE(f->pressedButton(), &f->button("knop"));
        QVERIFY(render(*f) != up);
        fingers.move(0, knop + QPoint(0, 200));
        QCOMPARE(f->pressedButton(), nullptr);
        QCOMPARE(render(*f), up);
        fingers.move(0, knop);
        QCOMPARE(f->pressedButton(), &f->button("knop"));
        fingers.release(0, knop);
        QCOMPARE(render(*f), up);
        QCOMPARE(events(), QStringList{"click knop"});
    }

    // ------------------------------------------------------------ drags

    // A press on a draggable picture starts the drag at once, and the outline
    // follows the finger from its first pixel: there is no slack in a drag.
    void dragStartsAtOnceAndFollowsTheFinger()
    {
        const QPoint from = centreOf(*f, "piece");
        const Rect piece = f->image("piece").pixelRect();
        Fingers fingers;
        fingers.press(0, *f, from);
        QVERIFY(f->drag());
        QCOMPARE(f->drag()->outline, piece);
        fingers.move(0, from + QPoint(3, 1));
        QCOMPARE(f->drag()->outline, piece.translated(3, 1));
        fingers.move(0, centreOf(*f, "slot"));
        fingers.release(0, centreOf(*f, "slot"));
        QVERIFY(!f->drag());
        QCOMPARE(events(), QStringList{"drop piece on slot"});
    }

    // A long press shows no tool tip and leaves the press or drag as it was;
    // the mouse resting on the same place shows it.
    void longPressShowsNoToolTip()
    {
        const QPoint knop = centreOf(*f, "knop");
        QCOMPARE(toolTipAskedAt(*f, knop), QString("een knop"));
        Fingers fingers;
        fingers.press(0, *f, knop);
        QTest::qWait(LongPress);
        QCOMPARE(toolTipAskedAt(*f, knop), QString());
        QVERIFY(!QToolTip::isVisible());
        fingers.release(0, knop);
        fingers.press(1, *f, centreOf(*f, "piece"));
        QTest::qWait(LongPress);
        QVERIFY(!QToolTip::isVisible());
        fingers.move(1, centreOf(*f, "slot"));
        fingers.release(1, centreOf(*f, "slot"));
        QCOMPARE(events(), (QStringList{"click knop", "drop piece on slot"}));
    }

    // ------------------------------------------------------------ two fingers

    // Two children at one board: finger A drags Sint's mitre while finger B
    // presses, moves and lifts elsewhere on the board; or B lands first.
    void spelTwoFingers_data()
    {
        QTest::addColumn<bool>("aFirst");
        QTest::newRow("A drags, B touches meanwhile") << true;
        QTest::newRow("B touches first, then A") << false;
    }
    void spelTwoFingers()
    {
        QFETCH(bool, aFirst);
        program.reset();
        // What B's drag alone and A's drag alone do, by mouse.
        monkey::FormState expected;
        {
            Program byMouse;
            Form& g = byMouse.show("Spel");
            if (aFirst)
                drag(g, "ImgSint", "Image1");
            else
                drag(g, "ImgPiet", "Image6");
            expected = monkey::stateOf(g);
        }
        Program byFingers;
        Form& g = byFingers.show("Spel");
        const QPoint mitre = centreOf(g, "ImgSint");
        const QPoint piet = centreOf(g, "ImgPiet");
        const QPoint cellA = centreOf(g, "Image1");
        const QPoint cellB = centreOf(g, "Image6");
        const QPoint again = centreOf(g, "knopOpnieuw");
        Fingers fingers;
        const int a = 0, b = 1;
        if (aFirst) {
            fingers.press(a, g, mitre);
            fingers.move(a, (mitre + cellA) / 2);
            const Rect outline = g.drag()->outline;
            // B: a drag of Piet's head onto another cell, and a tap on a button.
            fingers.press(b, g, piet);
            fingers.move(b, cellB);
            QCOMPARE(g.drag()->source, &g.image("ImgSint"));
            QCOMPARE(g.drag()->outline, outline);
            QCOMPARE(g.pressedButton(), nullptr);
            fingers.release(b, cellB);
            fingers.press(b, g, again);
            QCOMPARE(g.pressedButton(), nullptr);
            fingers.release(b, again);
            QVERIFY(g.drag());
            QCOMPARE(g.drag()->outline, outline);
            fingers.move(a, cellA);
            QCOMPARE(toQt(g.drag()->outline.center()), toQt(g.image("ImgSint").pixelRect().center()) + (cellA - mitre));
            fingers.release(a, cellA);
        } else {
            fingers.press(b, g, piet);
            fingers.move(b, (piet + cellB) / 2);
            fingers.press(a, g, mitre);
            fingers.move(a, cellA);
            QCOMPARE(g.drag()->source, &g.image("ImgPiet"));
            fingers.move(b, cellB);
            fingers.release(a, cellA);  // A lifts first: nothing of it was ever held
            QVERIFY(g.drag());
            QCOMPARE(g.drag()->source, &g.image("ImgPiet"));
            fingers.release(b, cellB);
        }
        QVERIFY(!g.drag());
        const QString difference = monkey::differenceUpToIdentity(expected, monkey::stateOf(g));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // A second finger that lands on another form's window does nothing there,
    // and nothing to the drag in progress.
    void secondFingerOnAnotherWindow()
    {
        Form& o = showOtherBeside();
        f->show();
        settle();
        const QPoint slot = centreOf(*f, "slot");
        Fingers fingers;
        fingers.press(0, *f, centreOf(*f, "piece"));
        fingers.move(0, slot);
        fingers.press(1, o, centreOf(o, "knop"));
        QCOMPARE(o.pressedButton(), nullptr);
        fingers.move(1, centreOf(o, "knop") + QPoint(5, 0));
        fingers.release(1, centreOf(o, "knop") + QPoint(5, 0));
        // Nor its menu item, nor that of the dragging form's own window.
        fingers.tapMenuItem(1, o);
        fingers.tapMenuItem(1, *f);
        QVERIFY(f->drag());
        QCOMPARE(toQt(f->drag()->outline.center()),
                 slot - centreOf(*f, "piece") + toQt(f->image("piece").pixelRect().center()));
        QCOMPARE(QGuiApplication::focusWindow(), windowOf(*f)->windowHandle());
        fingers.release(0, slot);
        QCOMPARE(events(), QStringList{"drop piece on slot"});
        // Alone, a finger on the window behind clicks there and brings it to
        // the front; and a tap chooses a menu item.
        tap(o, "knop");
        QTRY_COMPARE(QGuiApplication::focusWindow(), windowOf(o)->windowHandle());
        fingers.tapMenuItem(0, o);
        QCOMPARE(events(), (QStringList{"drop piece on slot", "click other knop", "click other Help"}));
    }

    // Children at two windows side by side: one rests a finger on each, then
    // another child drags on the first. The new finger is the one followed,
    // wherever the others rest.
    void dragWhileFingersRestOnBothWindows()
    {
        Form& o = showOtherBeside();
        f->show();
        settle();
        const QPoint piece = centreOf(*f, "piece");
        const QPoint slot = centreOf(*f, "slot");
        Fingers fingers;
        fingers.press(0, *f, piece);                                   // holds
        fingers.press(1, *f, QPoint(5, f->clientSize().height - 10));  // rests, far from the piece
        fingers.press(2, o, QPoint(5, piece.y()));                     // rests on the other window, nearer the piece
        fingers.release(0, piece);
        QVERIFY(!f->drag());
        fingers.press(3, *f, piece);
        QVERIFY(f->drag());
        fingers.move(3, slot + QPoint(4, 0));
        QCOMPARE(toQt(f->drag()->outline.center()),
                 toQt(f->image("piece").pixelRect().center()) + (slot + QPoint(4, 0) - piece));
        fingers.release(3, slot);
        QVERIFY(!f->drag());
        fingers.release(1, QPoint(5, f->clientSize().height - 10));
        fingers.release(2, QPoint(5, piece.y()));
        QCOMPARE(events(), QStringList{"drop piece on slot"});
        tap(*f, "knop");
        clickAt(*f, centreOf(*f, "knop"));
        QCOMPARE(events(), (QStringList{"drop piece on slot", "click knop", "click knop"}));
    }

    // A touch screen may report a finger resting on one window before a new
    // one on another, and Qt 6.4 then gives the new touch to the first
    // window: it still presses what lies under it.
    void touchHandedToTheWindowOfAnother()
    {
        Form& o = showOtherBeside();
        f->show();
        settle();
        QWindow* board = windowOf(*f)->windowHandle();
        QWindow* other = windowOf(o)->windowHandle();
        const auto at = [](Form& form, QPoint p) { return canvasOf(form)->mapToGlobal(QPointF(onCanvas(form, p))); };
        const auto send = [](QWindow* window, const QList<QEventPoint>& points) {
            qt_handleTouchEventv2(window, Fingers::touchScreen(), points);
            settle();
        };
        using S = QEventPoint::State;
        const int holds = 900001, rests = 900002, taps = 900003;
        const QPointF piece = at(*f, centreOf(*f, "piece"));
        const QPointF rest = at(*f, QPoint(700, 500));
        const QPointF knop = at(o, centreOf(o, "knop"));
        send(board, {QEventPoint(holds, S::Pressed, {}, piece)});
        send(board, {QEventPoint(holds, S::Stationary, {}, piece), QEventPoint(rests, S::Pressed, {}, rest)});
        send(board, {QEventPoint(holds, S::Released, {}, piece), QEventPoint(rests, S::Stationary, {}, rest)});
        QVERIFY(!f->drag());
        // The resting finger holds nothing; the new one taps the other window's button.
        send(other, {QEventPoint(rests, S::Stationary, {}, rest), QEventPoint(taps, S::Pressed, {}, knop)});
        QCOMPARE(o.pressedButton(), &o.button("knop"));
        send(other, {QEventPoint(rests, S::Stationary, {}, rest), QEventPoint(taps, S::Released, {}, knop)});
        send(board, {QEventPoint(rests, S::Released, {}, rest)});
        QCOMPARE(events(), QStringList{"click other knop"});
    }

    // ------------------------------------------------------------ cancelled and mixed

    // The system takes the touch away, or the window loses the input: the
    // press or drag ends with nothing clicked or dropped, and the finger's
    // later moves and lift are nothing.
    void cancelledTouchDropsNothing_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("byTheSystem");
        QTest::newRow("a drag, TouchCancel") << "piece" << true;
        QTest::newRow("a press on a button, TouchCancel") << "knop" << true;
        QTest::newRow("a drag, the window loses the input") << "piece" << false;
        QTest::newRow("a press on a button, the window loses the input") << "knop" << false;
    }
    void cancelledTouchDropsNothing()
    {
        QFETCH(QString, control);
        QFETCH(bool, byTheSystem);
        const QImage before = render(*f);
        const monkey::FormState state = monkey::stateOf(*f);
        const QPoint slot = centreOf(*f, "slot");
        const QPoint start = centreOf(*f, cs(control));
        const QPoint end = control == "piece" ? slot : start;
        Fingers fingers;
        fingers.press(0, *f, start);
        fingers.move(0, end);
        QVERIFY(f->drag() || f->pressedButton());
        if (byTheSystem) {
            fingers.cancel(*f);
        } else {
            Form& o = showOtherBeside();
            QTRY_COMPARE(QGuiApplication::focusWindow(), windowOf(o)->windowHandle());
        }
        QVERIFY(!f->drag());
        QVERIFY(!f->pressedButton());
        if (!byTheSystem) {
            fingers.move(0, end + QPoint(1, 1));
            fingers.release(0, end);
            f->show();
            QTRY_COMPARE(QGuiApplication::focusWindow(), windowOf(*f)->windowHandle());
        }
        QCOMPARE(events(), QStringList{});
        QVERIFY(monkey::differenceExact(state, monkey::stateOf(*f)).isEmpty());
        if (control == "piece")
            QCOMPARE(render(*f), before);  // no outline left behind
        // The next finger plays as ever.
        tap(*f, "knop");
        QCOMPARE(events(), QStringList{"click knop"});
    }

    // One pointer at a time: the mouse during a finger's drag, and a finger
    // during the mouse's, change nothing of the drag.
    // Carrying by taps: a puzzle played by finger taps alone, every drag a
    // tap on the quarter and a tap on its place, ends as the mouse's drags
    // leave it. Escape puts a carried quarter back, and only then leaves full screen.
    void carryByTapsPlaysAPuzzle()
    {
        program.reset();
        const monkey::FormState expected = monkey::stateAfterMousePlay("Puzzel1");
        Program puzzle;
        Form& p = puzzle.show("Puzzel1");
        PointerArbiter& pointers = puzzle.registry().pointers();
        pointers.setCarryByTaps(true);
        const Hand taps{"taps", tap, [](Form& form, std::string_view source, std::string_view target) {
                            tap(form, source);
                            QVERIFY(form.registry().pointers().carrying());
                            tap(form, target);
                        }};
        play("Puzzel1").moves(p, taps);
        QVERIFY(!p.drag());
        const QString difference = monkey::differenceUpToIdentity(expected, monkey::stateOf(p));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));

        setFullscreen(puzzle, true);
        QTRY_VERIFY(windowOf(p)->isFullScreen());
        const monkey::FormState before = monkey::stateOf(p);
        tap(p, "img1");
        QVERIFY(pointers.carrying());
        QTest::keyClick(canvasOf(p), Qt::Key_Escape);
        QVERIFY(!pointers.carrying());
        QVERIFY(!p.drag());
        QVERIFY(windowOf(p)->isFullScreen());
        tap(p, "Image1");
        QVERIFY(monkey::differenceExact(before, monkey::stateOf(p)).isEmpty());
        // With nothing carried, Escape leaves full screen as always.
        QTest::keyClick(canvasOf(p), Qt::Key_Escape);
        QTRY_VERIFY(!windowOf(p)->isFullScreen());
    }

    void mouseAndFingerMixed()
    {
        const QPoint piece = centreOf(*f, "piece");
        const QPoint slot = centreOf(*f, "slot");
        const QPoint knop = centreOf(*f, "knop");
        Fingers fingers;
        fingers.press(0, *f, piece);
        fingers.move(0, slot);
        const Rect outline = f->drag()->outline;
        pressAt(*f, knop);
        QCOMPARE(f->pressedButton(), nullptr);
        moveTo(*f, knop + QPoint(3, 0));
        QCOMPARE(f->drag()->outline, outline);
        releaseAt(*f, knop);
        QVERIFY(f->drag());
        QCOMPARE(f->drag()->outline, outline);
        fingers.release(0, slot);
        QCOMPARE(events(), QStringList{"drop piece on slot"});

        pressAt(*f, piece);
        moveTo(*f, slot);
        fingers.press(1, *f, knop);
        QCOMPARE(f->pressedButton(), nullptr);
        fingers.move(1, knop + QPoint(40, 40));
        fingers.release(1, knop);
        QVERIFY(f->drag());
        QCOMPARE(f->drag()->outline, outline);
        releaseAt(*f, slot);
        QCOMPARE(events(), (QStringList{"drop piece on slot", "drop piece on slot"}));
    }
};

QTEST_MAIN(TouchTest)
#include "touch_test.moc"
