// The random player itself: on a small program of three forms it passes a
// sound program, and finds each planted fault with a seed that replays it
// event for event; on Tuvrel the same seed plays the same events.
#include "games/common/navigation.h"
#include "tests/monkey/form_state.h"
#include "tests/monkey/monkey.h"
#include "tests/monkey/rng.h"
#include "tests/support/form_driver.h"

#include <QRegularExpression>
#include <QTest>

using namespace tuvrel;
using namespace tuvrel::monkey;
using tuvrel::test::InvariantSet;
using tuvrel::test::Program;
using tuvrel::test::px;
using tuvrel::test::qs;

namespace {

// The faults a handler of the small program can be given.
enum class Fault {
    None,
    DropKeepsPiece,    // a piece dropped on its own slot stays in the tray
    DropWritesStart,   // a drop also writes a label of Start
    BackClearsSlot,    // the back button empties a slot before showing Start
    RestartOnlyShows,  // the restart button shows the form without rebuilding it
    ClickFails,        // a click asks for a control the form does not have
    NextEnds,          // the next button ends the program
};
Fault planted = Fault::None;

std::string slot(int k)
{
    return numbered("Image", k);
}
std::string piece(int k)
{
    return numbered("img", k);
}

// Start opens Puzzel1 or stops; the puzzles are two-piece versions of the real
// ones, with the real names so that the navigation table applies to them.
const std::vector<FormClass>& smallProgram()
{
    static const std::vector<FormClass> classes = [] {
        FormClass start(FormDescription{
            .name = "Start",
            .caption = "Start",
            .clientWidth = ClientWidth,
            .clientHeight = ClientHeight,
            .rows{
                buttonRow("knopPuzzels", px(100), px(100), px(153), px(153))
                    .graphical()
                    .withPicture("door")
                    .withTabIndex(0),
                buttonRow("knopStop", px(100), px(400), px(89), px(73))
                    .graphical()
                    .withPicture("smiley")
                    .withTabIndex(1),
                labelRow("Label1", px(400), px(100), px(300), px(40))
                    .withCaption("klein")
                    .withFont(fonts::msSansSerif(12)),
            },
        });
        start.onClick("knopPuzzels", [](Form& f) { f.registry().show("Puzzel1"); });
        start.onClick("knopStop", [](Form& f) { f.registry().end(); });

        auto puzzle = [](const char* name, int pieces) {
            FormDescription d{
                .name = name, .caption = name, .clientWidth = ClientWidth, .clientHeight = ClientHeightWithMenu};
            for (int k = 1; k <= pieces; ++k) {
                d.rows.push_back(imageRow(slot(k), px(200 + 100 * k), px(100), px(80), px(80)));
                d.rows.push_back(
                    imageRow(piece(k), px(200 + 100 * k), px(400), px(43), px(44)).withPicture("door").draggable());
            }
            // The navigation buttons that stay inside this small program.
            std::vector<const NavigationButton*> kept;
            for (const NavigationButton& b : navigationButtons())
                if (std::string_view(b.form) == name &&
                    (b.kind == NavigationKind::BackToStart || b.kind == NavigationKind::Restart ||
                     (b.target &&
                      (std::string_view(b.target) == "Puzzel1" || std::string_view(b.target) == "Puzzel2")))) {
                    d.rows.push_back(navigationRow(name, b.name));
                    kept.push_back(&b);
                }
            d.rows.push_back(menuRow("Help", "Help"));
            FormClass c(d);
            for (const NavigationButton* b : kept) {
                const std::string target = b->kind == NavigationKind::BackToStart ? "Start"
                                           : b->target                            ? b->target
                                                                                  : "";
                if (b->kind == NavigationKind::Restart)
                    c.onClick(b->name, restartForm);
                else
                    c.onClick(b->name, [target](Form& f) { f.registry().show(target); });
            }
            for (int k = 1; k <= pieces; ++k) {
                c.onDragDrop(slot(k), [k](Form& f, Image& source) {
                    Image& s = f.image(slot(k));
                    s.setPicture(source.picture());
                    if (s.picture() == f.image(piece(k)).picture()) {
                        s.setEnabled(false);
                        if (!(planted == Fault::DropKeepsPiece && k == 2))
                            source.setVisible(false);
                    }
                    if (planted == Fault::DropWritesStart)
                        if (Form* hub = f.registry().existing("Start"); hub && hub->isLoaded())
                            hub->label("Label1").setCaption("gezien");
                });
                c.onClick(slot(k), [k](Form& f) {
                    if (planted == Fault::ClickFails)
                        f.image("Image9");
                    f.image(slot(k)).setPicture(Picture());
                });
            }
            if (std::string_view(name) == "Puzzel1") {
                c.onClick("Command1", [](Form& f) {
                    if (planted == Fault::BackClearsSlot && f.image(slot(1)).enabled())
                        f.image(slot(1)).setPicture(Picture());
                    f.registry().show("Start");
                });
                c.onClick("knopOpnieuw", [](Form& f) {
                    if (planted != Fault::RestartOnlyShows)
                        f.unload();
                    f.show();
                    f.refresh();
                });
                c.onClick("knopRechts", [](Form& f) {
                    if (planted == Fault::NextEnds)
                        f.registry().end();
                    else
                        f.registry().show("Puzzel2");
                });
            }
            c.onClick("Help", [](Form& f) { f.registry().messageBox("Sleep de stukjes", ""); });
            return c;
        };
        std::vector<FormClass> all;
        all.push_back(start);
        all.push_back(puzzle("Puzzel1", 2));
        all.push_back(puzzle("Puzzel2", 1));
        return all;
    }();
    return classes;
}

InvariantSet smallInvariants()
{
    InvariantSet set;
    set.forms = {"Puzzel1", "Puzzel2"};
    set.invariants = {
        {"a slot is locked exactly when it holds its own piece, which has left the tray",
         [](const Form& f) {
             for (int k = 1; f.find(slot(k)); ++k) {
                 const bool own = f.image(slot(k)).picture() == f.image(piece(k)).picture();
                 if (own == f.image(slot(k)).enabled() || own == f.image(piece(k)).visible())
                     return test::says("slot ", k);
             }
             return std::string();
         }},
    };
    return set;
}

// The report of a sequence's failure, for QVERIFY2 (which reads its message
// also when the sequence passed); empty when it passed.
QByteArray failureReport(const SequenceResult& result, const char* program)
{
    return result.failure ? report(*result.failure, program).toLocal8Bit() : QByteArray();
}

MonkeyOptions smallOptions()
{
    MonkeyOptions o;
    o.invariantSets = {smallInvariants()};
    o.makeProgram = [] {
        std::vector<const FormClass*> classes;
        for (const FormClass& c : smallProgram())
            classes.push_back(&c);
        return std::make_unique<Program>(classes);
    };
    o.length = 400;
    return o;
}

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { planted = Fault::None; }

    void soundProgramPasses()
    {
        Monkey monkey(smallOptions());
        int events = 0, handled = 0, ended = 0;
        QMap<QString, int> perForm;
        for (std::uint64_t n = 0; n < 12; ++n) {
            const SequenceResult r = monkey.play(sequenceSeed(11, n));
            QVERIFY2(!r.failure, failureReport(r, "monkey_test").constData());
            events += r.events;
            handled += r.handled;
            ended += r.ending == QLatin1String("the program ended");
            for (const auto& [form, count] : r.perForm)
                perForm[qs(form)] += count;
        }
        // The player reaches every form, runs handlers and now and then ends the program.
        QCOMPARE(perForm.keys(), QStringList({"Puzzel1", "Puzzel2", "Start"}));
        QVERIFY(events > 500);
        QVERIFY(handled > 100);
        QVERIFY(ended > 0);
    }

    void plantedFaultIsFoundAndReplays_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("report");
        QTest::newRow("family invariant") << int(Fault::DropKeepsPiece) << "a slot is locked exactly when";
        QTest::newRow("handler writes another form") << int(Fault::DropWritesStart) << "Start changed";
        QTest::newRow("navigation changes the form it leaves")
            << int(Fault::BackClearsSlot) << "Puzzel1 changed when Command1 showed another form";
        QTest::newRow("restart without rebuild")
            << int(Fault::RestartOnlyShows) << "knopOpnieuw of Puzzel1 did not rebuild the form";
        QTest::newRow("runtime error in a handler") << int(Fault::ClickFails) << "stopped on a runtime error";
        QTest::newRow("a game button ends the program")
            << int(Fault::NextEnds) << "the program ended, though neither knopStop";
    }
    void plantedFaultIsFoundAndReplays()
    {
        QFETCH(int, fault);
        QFETCH(QString, report);
        planted = Fault(fault);
        Monkey monkey(smallOptions());
        std::optional<Failure> found;
        for (std::uint64_t n = 0; n < 40 && !found; ++n)
            found = monkey.play(sequenceSeed(5, n)).failure;
        QVERIFY2(found, "no sequence found the fault");
        QVERIFY2(found->message.contains(report), qPrintable(found->message));
        QVERIFY(found->event > 0);
        QCOMPARE(found->events.filter(QRegularExpression("^#\\d+ ")).size(), found->event);

        // Its seed and the event number replay it: the same events, the same failure.
        const SequenceResult again = monkey.play(found->seed, found->event);
        QVERIFY(again.failure);
        QCOMPARE(again.failure->event, found->event);
        QCOMPARE(again.failure->message, found->message);
        QCOMPARE(again.failure->events, found->events);
        const QString printed = tuvrel::monkey::report(*found, "monkey");
        QVERIFY(printed.contains(
            QStringLiteral("--replay 0x%1 --length %2").arg(found->seed, 16, 16, QLatin1Char('0')).arg(found->event)));
    }

    void messageBoxIsAnsweredAndBlocksTheForms()
    {
        Monkey monkey(smallOptions());
        int boxes = 0, blockedClicks = 0;
        for (std::uint64_t n = 0; n < 12; ++n) {
            const SequenceResult r = monkey.play(sequenceSeed(3, n));
            QVERIFY2(!r.failure, failureReport(r, "monkey_test").constData());
            boxes += int(r.log.filter("a message box opens: \"Sleep de stukjes\"").size());
            blockedClicks += int(r.log.filter("while the box is open").size());
        }
        QVERIFY(boxes > 0);
        QVERIFY(blockedClicks > 0);
    }

    void sameSeedPlaysTheSameEventsOnTuvrel()
    {
        MonkeyOptions o;
        o.invariantSets = familyInvariants();
        Monkey monkey(o);
        const SequenceResult first = monkey.play(0x5eed, 300);
        QVERIFY2(!first.failure, failureReport(first, "monkey").constData());
        const SequenceResult second = monkey.play(0x5eed, 300);
        QCOMPARE(second.log, first.log);
        QVERIFY(first.events > 0);
        QCOMPARE(first.events, second.events);
    }

    void formStatesCompareExactlyOrUpToIdentity()
    {
        Program program;
        Form& puzzle = program.show("Puzzel1");
        const FormState fresh = stateOf(puzzle);
        QVERIFY(differenceExact(fresh, stateOf(puzzle)).isEmpty());

        // The same asset in a new picture object, the old one gone: another
        // picture exactly (its identity is never given again), the same up to identity.
        Image& quarter = puzzle.image("img1");
        quarter.setPicture(Picture::load(quarter.picture().assetName()));
        const QString replaced = differenceExact(fresh, stateOf(puzzle));
        QVERIFY2(replaced.contains("Puzzel1.img1"), qPrintable(replaced));
        QVERIFY(differenceUpToIdentity(fresh, stateOf(puzzle)).isEmpty());

        // A quarter on a slot: the slot now shares the quarter's picture object.
        Image& target = puzzle.image("Image2");
        target.setPicture(puzzle.image("img3").picture());
        const QString moved = differenceUpToIdentity(fresh, stateOf(puzzle));
        QVERIFY2(moved.contains("Puzzel1.Image2"), qPrintable(moved));

        // Rebuilt: new picture objects, the same form up to identity, not the same objects.
        puzzle.unload();
        puzzle.show();
        QVERIFY(differenceUpToIdentity(fresh, stateOf(puzzle)).isEmpty());
        QVERIFY(differenceExact(fresh, stateOf(puzzle)).contains("rebuilt"));
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
