// The program's rules for pointers, as every front end gets them from the
// core: one pointer plays at a time, a finger's tap may wander by the slack,
// a cancelled touch drops nothing, a pointer whose form went holds nothing.
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/pointer_input.h"
#include "tests/monkey/form_state.h"
#include "tests/support/core_qt.h"
#include "tests/support/plays.h"

#include <QTest>

using namespace tuvrel;

namespace {

QStringList& events()
{
    static QStringList log;
    return log;
}

const FormClass& board()
{
    static const FormClass c = [] {
        FormClass f(FormDescription{
            .name = "Board",
            .caption = "board",
            .clientWidth = ClientWidth,
            .clientHeight = ClientHeight,
            .rows{
                buttonRow("knop", 15 * 10, 15 * 10, 15 * 80, 15 * 30).withCaption("k").withTabIndex(0),
                imageRow("piece", 15 * 300, 15 * 100, 15 * 43, 15 * 44).withPicture("door").draggable(),
                imageRow("target", 15 * 500, 15 * 100, 15 * 50, 15 * 50),
            },
        });
        f.onClick("knop", [](Form&) { events() << "click"; });
        f.onDragDrop("target", [](Form&, Image& source) { events() << "drop " + test::qs(source.name()); });
        return f;
    }();
    return c;
}

const PointerId Mouse{PointerId::Kind::Mouse, 1, 0};
const PointerId FingerA{PointerId::Kind::Touch, 2, 1};
const PointerId FingerB{PointerId::Kind::Touch, 2, 2};
const PointerId Pen{PointerId::Kind::Pen, 3, 1};

// Screen positions are the form's own here: the form lies at the screen's origin.
PointF screen(Point p)
{
    return {double(p.x), double(p.y)};
}

// A window system whose message box notes what still held a pointer while
// it stood.
class BoxWindows : public WindowSystem {
public:
    FormRegistry* registry = nullptr;
    QStringList seen;

    std::unique_ptr<FormView> createView(Form&) override { return nullptr; }
    void messageBox(const std::string& text, const std::string&) override
    {
        const PointerArbiter& pointers = registry->pointers();
        const Form* held = registry->existing("Board");
        seen << test::qs(text) + (pointers.holds() ? ", held" : ", nothing held") +
                    (held && held->drag() ? ", dragging" : "");
    }
    void quit(int) override {}
    void reportError(const std::string&) override {}
};

}  // namespace

class PointerInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FormRegistry> registry;
    std::unique_ptr<PointerArbiter> arbiter;
    Form* form = nullptr;

    Point knop() const { return form->button("knop").pixelRect().center(); }
    Point piece() const { return form->image("piece").pixelRect().center(); }
    Point target() const { return form->image("target").pixelRect().center(); }

    void down(const PointerId& p, Point at) { arbiter->press(p, *form, at, screen(at)); }
    void move(const PointerId& p, Point at) { arbiter->move(p, at, screen(at)); }
    // The form lies at the screen's origin: a screen point is the form point.
    void up(const PointerId& p, Point at, bool over = true)
    {
        arbiter->release(p, screen(at), [over](PointF s) {
            return PointerArbiter::Landing{{int(s.x), int(s.y)}, over};
        });
    }

private slots:
    void init()
    {
        events().clear();
        registry = std::make_unique<FormRegistry>();
        registry->addFormClass(board());
        // A second form keeps the program going when the board is unloaded.
        form = &registry->form("Board");
        form->show();
        arbiter = std::make_unique<PointerArbiter>(*registry);
        arbiter->setTapSlack(8);
    }
    void cleanup()
    {
        arbiter.reset();
        registry.reset();
    }

    // A tap may wander by the slack and still click, for a finger and a pen;
    // the mouse has no slack, and a finger that wanders further has left.
    void tapsAndTheSlack_data()
    {
        QTest::addColumn<int>("pointer");  // 0 mouse, 1 finger, 2 pen
        QTest::addColumn<int>("wander");   // pixels to the right before lifting, off the button
        QTest::addColumn<bool>("clicks");
        QTest::newRow("mouse, still") << 0 << 0 << true;
        QTest::newRow("finger, still") << 1 << 0 << true;
        QTest::newRow("finger, within the slack, off the button") << 1 << 8 << true;
        QTest::newRow("pen, within the slack, off the button") << 2 << 8 << true;
        QTest::newRow("finger, beyond the slack") << 1 << 9 << false;
        QTest::newRow("mouse, off the button by as little") << 0 << 8 << false;
    }
    void tapsAndTheSlack()
    {
        QFETCH(int, pointer);
        QFETCH(int, wander);
        QFETCH(bool, clicks);
        const PointerId p = pointer == 0 ? Mouse : pointer == 1 ? FingerA : Pen;
        // Pressed at the button's right edge, so that any wandering to the right leaves it.
        const Rect r = form->button("knop").pixelRect();
        const Point at{r.right(), r.center().y};
        down(p, at);
        move(p, at + Point{wander, 0});
        up(p, at + Point{wander, 0});
        QCOMPARE(events(), clicks ? QStringList{"click"} : QStringList{});
        QVERIFY(!arbiter->holds());
    }

    // Whatever holds first plays; every other pointer meanwhile is nothing,
    // even after the first lifts.
    void onePointerAtATime_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("second finger while a finger drags") << 1 << 2;
        QTest::newRow("mouse while a finger drags") << 1 << 0;
        QTest::newRow("finger while the mouse drags") << 0 << 1;
    }
    void onePointerAtATime()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        const PointerId pointers[] = {Mouse, FingerA, FingerB};
        const PointerId a = pointers[first], b = pointers[second];
        down(a, piece());
        QVERIFY(form->drag());
        down(b, knop());
        move(b, target());
        up(b, knop());
        QCOMPARE(events(), QStringList{});
        QVERIFY(arbiter->holder() == a);
        move(a, target());
        up(a, target());
        QCOMPARE(events(), QStringList{"drop piece"});
        // The second one's later moves and lift, after the first lifted, are nothing too.
        move(b, target());
        up(b, knop());
        QCOMPARE(events(), QStringList{"drop piece"});
    }

    void aCancelledTouchDropsNothing()
    {
        down(FingerA, piece());
        move(FingerA, target());
        arbiter->cancel(FingerA);
        QVERIFY(!form->drag());
        QVERIFY(!arbiter->holds());
        up(FingerA, target());
        QCOMPARE(events(), QStringList{});
        // Another finger may play now.
        down(FingerB, knop());
        up(FingerB, knop());
        QCOMPARE(events(), QStringList{"click"});
    }

    void aDropOverAnotherWindowDropsNothing()
    {
        down(Mouse, piece());
        move(Mouse, target());
        up(Mouse, target(), false);
        QCOMPARE(events(), QStringList{});
        QVERIFY(!form->drag());
    }

    // A pointer whose form was unloaded or rebuilt holds nothing: its later
    // events touch nothing, and the next pointer plays.
    void aPointerWhoseFormWentHoldsNothing()
    {
        static const FormClass other(
            FormDescription{.name = "Other", .caption = "o", .clientWidth = 1500, .clientHeight = 1500});
        registry->addFormClass(other);
        registry->show("Other");
        const Point from = piece(), to = target();
        down(FingerA, from);
        form->unload();
        QVERIFY(!arbiter->holds());
        move(FingerA, to);
        up(FingerA, to);
        form->show();
        QVERIFY(!form->drag());
        down(FingerB, knop());
        up(FingerB, knop());
        QCOMPARE(events(), QStringList{"click"});
    }

    // The same pointer down again before its release came: the first press is
    // forgotten and the new one plays.
    void thePressOfALostReleaseIsForgotten()
    {
        down(Mouse, piece());
        down(Mouse, knop());
        QVERIFY(!form->drag());
        up(Mouse, knop());
        QCOMPARE(events(), QStringList{"click"});
    }

    void tapSlackOfThePlatform_data()
    {
        QTest::addColumn<double>("dragDistance");  // < 0: the platform gives none
        QTest::addColumn<double>("slack");
        QTest::newRow("a page, in CSS pixels") << -1.0 << 20.0;
        QTest::newRow("a desktop's usual distance") << 10.0 << 20.0;
        QTest::newRow("a desktop set to a short distance") << 4.0 << 8.0;
        QTest::newRow("a large class board") << 25.0 << 50.0;
    }
    void tapSlackOfThePlatform()
    {
        QFETCH(double, dragDistance);
        QFETCH(double, slack);
        QCOMPARE(tapSlackFor(dragDistance < 0 ? std::nullopt : std::optional(dragDistance)), slack);
    }

    // A message box opening while a pointer holds (a menu item chosen while a
    // finger drags): the press or drag ends with nothing dropped, the pointer
    // holds nothing while the box stands, its moves and lift after it are
    // nothing, and the next pointer down plays.
    void aMessageBoxLetsGoOfThePointer_data()
    {
        QTest::addColumn<int>("pointer");  // 0 mouse, 1 finger
        QTest::addColumn<bool>("dragging");
        QTest::newRow("finger dragging") << 1 << true;
        QTest::newRow("finger on a button") << 1 << false;
        QTest::newRow("mouse dragging") << 0 << true;
    }
    void aMessageBoxLetsGoOfThePointer()
    {
        QFETCH(int, pointer);
        QFETCH(bool, dragging);
        BoxWindows windows;
        FormRegistry boxed(&windows);
        windows.registry = &boxed;
        boxed.addFormClass(board());
        Form& f = boxed.form("Board");
        f.show();
        PointerArbiter& input = boxed.pointers();
        const PointerId first = pointer == 0 ? Mouse : FingerA;
        const Point at = dragging ? f.image("piece").pixelRect().center() : f.button("knop").pixelRect().center();
        const Point to = dragging ? f.image("target").pixelRect().center() : at;
        const auto place = [](PointF s) { return PointerArbiter::Landing{{int(s.x), int(s.y)}, true}; };
        input.press(first, f, at, screen(at));
        QCOMPARE(bool(f.drag()), dragging);
        boxed.messageBox("Hulp", "");
        QCOMPARE(windows.seen, QStringList{"Hulp, nothing held"});
        QVERIFY(!f.drag());
        input.move(first, to, screen(to));
        input.release(first, screen(to), place);
        QCOMPARE(events(), QStringList{});
        const Point knop = f.button("knop").pixelRect().center();
        input.press(FingerB, f, knop, screen(knop));
        input.release(FingerB, screen(knop), place);
        QCOMPARE(events(), QStringList{"click"});
    }

    // Carrying by taps: a tap on the piece picks it up, the next tap drops it
    // where it lands, as a drag let go there; a pick-up held on and dragged
    // drops where it is let go. The mouse's click is such a tap too.
    void carryByTaps_data()
    {
        QTest::addColumn<int>("pointer");      // 0 mouse, 1 finger, 2 pen
        QTest::addColumn<int>("jiggle");       // pixels the pick-up and the drop wander
        QTest::addColumn<bool>("dragOnward");  // the second press drags to the target
        QTest::newRow("mouse, clicks") << 0 << 0 << false;
        QTest::newRow("mouse, clicks that jiggle") << 0 << 5 << false;
        QTest::newRow("finger, taps") << 1 << 0 << false;
        QTest::newRow("finger, taps within the slack") << 1 << 8 << false;
        QTest::newRow("pen, taps") << 2 << 3 << false;
        QTest::newRow("finger, tap then drag") << 1 << 0 << true;
        QTest::newRow("mouse, click then drag") << 0 << 0 << true;
    }
    void carryByTaps()
    {
        QFETCH(int, pointer);
        QFETCH(int, jiggle);
        QFETCH(bool, dragOnward);
        const PointerId p = pointer == 0 ? Mouse : pointer == 1 ? FingerA : Pen;
        arbiter->setCarryByTaps(true);
        const Rect home = form->image("piece").pixelRect();
        const Point wobble{jiggle, 0};
        down(p, piece());
        move(p, piece() + wobble);
        up(p, piece() + wobble);
        QVERIFY(arbiter->carrying());
        QVERIFY(!arbiter->holds());
        QVERIFY(form->drag());
        QCOMPARE(form->drag()->outline, home);
        QCOMPARE(events(), QStringList{});
        if (dragOnward) {
            down(p, knop());
            move(p, target());
            QCOMPARE(form->drag()->outline.center(), target() + (home.center() - piece()));
            up(p, target());
        } else {
            // A tap lands where it went down; a finger's wandering is nothing.
            down(p, target());
            move(p, target() + wobble);
            up(p, target() + wobble);
        }
        QCOMPARE(events(), QStringList{"drop piece"});
        QVERIFY(!form->drag());
        QVERIFY(!arbiter->carrying());
    }

    // Put back with nothing dropped: a tap on the piece itself, Escape or the
    // back action (putDown), the menu's box, its form closed; a tap on
    // another window. Then the next tap on the target drops nothing either.
    void aCarriedPiecePutBackDropsNothing_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"its own tap", "put down", "a message box", "its form closed", "another window",
                                "carrying turned off", "a cancelled touch"})
            QTest::newRow(how) << QString(how);
    }
    void aCarriedPiecePutBackDropsNothing()
    {
        QFETCH(QString, how);
        static const FormClass other(
            FormDescription{.name = "Other", .caption = "o", .clientWidth = 1500, .clientHeight = 1500});
        registry->addFormClass(other);
        arbiter->setCarryByTaps(true);
        down(FingerA, piece());
        up(FingerA, piece());
        QVERIFY(arbiter->carrying());
        if (how == "its own tap") {
            down(FingerB, piece() + Point{5, 5});
            up(FingerB, piece() + Point{5, 5});
        } else if (how == "put down") {
            QVERIFY(arbiter->putDown());
            QVERIFY(!arbiter->putDown());
        } else if (how == "a message box") {
            arbiter->messageBoxOpens();
        } else if (how == "its form closed") {
            registry->show("Other");
            form->unload();
            QVERIFY(!arbiter->carrying());
            form->show();
        } else if (how == "another window") {
            Form& second = registry->form("Other");
            second.show();
            QVERIFY(!arbiter->press(FingerB, second, {5, 5}, {5, 5}));
            up(FingerB, target());
        } else if (how == "carrying turned off") {
            arbiter->setCarryByTaps(false);
        } else {
            down(FingerB, target());
            arbiter->cancel(FingerB);
        }
        QVERIFY(!form->drag());
        QVERIFY(!arbiter->carrying());
        down(Mouse, target());
        up(Mouse, target());
        QCOMPARE(events(), QStringList{});
        QVERIFY(!form->drag());
    }

    // While the press that carries the piece on is down, every other pointer
    // is nothing; a click on a button is a click in this mode as in any.
    void carryingKeepsOnePointerAndClicks()
    {
        arbiter->setCarryByTaps(true);
        down(Mouse, knop());
        up(Mouse, knop());
        QCOMPARE(events(), QStringList{"click"});
        QVERIFY(!arbiter->carrying());
        down(FingerA, piece());
        up(FingerA, piece());
        down(FingerA, target());
        down(FingerB, knop());
        up(FingerB, knop());
        down(Mouse, piece());
        up(Mouse, piece());
        QCOMPARE(events(), QStringList{"click"});
        up(FingerA, target());
        QCOMPARE(events(), (QStringList{"click", "drop piece"}));
    }

    // Every family's play, each drag made as two taps while carrying by
    // taps (each click a tap), ends as its drags leave the form.
    void everyPlayByTaps_data()
    {
        QTest::addColumn<QString>("play");
        for (const test::Play& p : test::plays())
            QTest::newRow(p.form) << QString(p.form);
    }
    void everyPlayByTaps()
    {
        QFETCH(QString, play);
        const std::string name = play.toStdString();
        monkey::FormState expected;
        {
            FormRegistry onForm;
            registerProgramForms(onForm);
            Form& f = onForm.form(name);
            f.show();
            test::play(name).moves(f, test::formHand);
            expected = monkey::stateOf(f);
        }
        FormRegistry program;
        registerProgramForms(program);
        Form& f = program.form(name);
        f.show();
        program.pointers().setCarryByTaps(true);
        program.pointers().setTapSlack(8);
        static const auto tapOn = [](Form& on, std::string_view control) {
            const Point at = on.find(control)->pixelRect().center();
            PointerArbiter& pointers = on.registry().pointers();
            pointers.press(FingerA, on, at, screen(at));
            pointers.release(FingerA, screen(at), [](PointF s) {
                return PointerArbiter::Landing{{int(s.x), int(s.y)}, true};
            });
        };
        const test::Hand taps{"taps", [](Form& on, std::string_view control) { tapOn(on, control); },
                              [](Form& on, std::string_view source, std::string_view target) {
                                  tapOn(on, source);
                                  QVERIFY2(on.registry().pointers().carrying(), "picked up");
                                  tapOn(on, target);
                              }};
        test::play(name).moves(f, taps);
        QVERIFY(!f.drag());
        QVERIFY(!program.pointers().carrying());
        const QString difference = monkey::differenceUpToIdentity(expected, monkey::stateOf(f));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // Without carrying, a tap on the piece is a drop on itself: nothing, and
    // the next tap finds nothing held.
    void withoutCarryingATapHoldsNothing()
    {
        down(FingerA, piece());
        up(FingerA, piece());
        QVERIFY(!form->drag());
        QVERIFY(!arbiter->carrying());
        down(FingerA, target());
        up(FingerA, target());
        QCOMPARE(events(), QStringList{});
    }

    // A failure inside a handler ends the program in order; the pointer holds nothing.
    void aFailingHandlerStopsTheProgram()
    {
        FormClass failing(FormDescription{
            .name = "Failing",
            .caption = "f",
            .clientWidth = ClientWidth,
            .clientHeight = ClientHeight,
            .rows{buttonRow("knop", 150, 150, 1200, 450).withCaption("k").withTabIndex(0)},
        });
        failing.onClick("knop", [](Form& f) { f.image("nothing"); });
        FormRegistry other;
        other.addFormClass(failing);
        Form& f = other.form("Failing");
        f.show();
        PointerArbiter input(other);
        const Point at = f.button("knop").pixelRect().center();
        input.press(Mouse, f, at, screen(at));
        input.release(Mouse, screen(at), [at](PointF) { return PointerArbiter::Landing{at, true}; });
        QVERIFY(other.ended());
        QCOMPARE(other.exitCode(), ExitRuntimeFailure);
        QVERIFY(!input.holds());
    }
};

QTEST_GUILESS_MAIN(PointerInputTest)
#include "pointer_input_test.moc"
