// Reading aloud, as the core decides it for both front ends: what every form
// reads when it is shown, a message box's text, a tapped label's text, each
// reading in place of the one before; nothing while the setting is off.
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/pointer_input.h"
#include "runtime/read_aloud.h"
#include "tests/support/core_qt.h"

#include <QRegularExpression>
#include <QTest>

using namespace tuvrel;

namespace {

// What the core asked of the window system, in order: "read: a | b" for a
// reading, "box: text" for a message box.
class Recorder : public WindowSystem {
public:
    QStringList log;

    std::unique_ptr<FormView> createView(Form&) override { return nullptr; }
    void messageBox(const std::string& text, const std::string&) override { log << "box: " + test::qs(text); }
    void quit(int) override {}
    void reportError(const std::string&) override {}
    void readAloud(const std::vector<std::string>& texts) override
    {
        QStringList parts;
        for (const std::string& t : texts)
            parts << test::qs(t);
        log << "read: " + parts.join(QStringLiteral(" | "));
    }
};

const PointerId Finger{PointerId::Kind::Touch, 1, 1};
const PointerId SecondFinger{PointerId::Kind::Touch, 1, 2};

PointF screen(Point p)
{
    return {double(p.x), double(p.y)};
}

Point centre(const Control& c)
{
    const Rect r = c.pixelRect();
    return {r.left() + r.width() / 2, r.top() + r.height() / 2};
}

}  // namespace

class ReadAloudTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Recorder> windows;
    std::unique_ptr<FormRegistry> registry;

    void makeProgram(bool readAloud)
    {
        registry.reset();
        windows = std::make_unique<Recorder>();
        registry = std::make_unique<FormRegistry>(windows.get());
        registerProgramForms(*registry);
        registry->setReadAloud(readAloud);
        registry->show("Start");
    }

    // A finger taps a control of a form: press and lift in one place.
    void tap(Form& form, const Control& control, const PointerId& finger = Finger)
    {
        const Point at = centre(control);
        registry->pointers().press(finger, form, at, screen(at));
        registry->pointers().release(finger, screen(at), [at](PointF) { return PointerArbiter::Landing{at}; });
    }

private slots:
    void init() { makeProgram(true); }
    void cleanup()
    {
        registry.reset();
        windows.reset();
    }

    void wordsAndNoWords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::newRow("title") << "sinterklaas" << true;
        QTest::newRow("a letter beyond ASCII") << "één" << true;
        QTest::newRow("sentence with digits") << "voor groep 1 en 2" << true;
        QTest::newRow("counter") << "0" << false;
        QTest::newRow("larger count") << "12" << false;
        QTest::newRow("level number") << "2." << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("web address") << "www.tuvrel.example" << false;
        QTest::newRow("address with scheme") << "https://school.example/tuvrel" << false;
        QTest::newRow("sentence ending a line with a dot") << "Ze worden vanzelf geteld." << true;
    }
    void wordsAndNoWords()
    {
        QFETCH(QString, text);
        QFETCH(bool, read);
        QCOMPARE(holdsWords(text.toStdString()), read);
    }

    // Every form of the program, shown in front of Start: what it reads, in
    // order. The table is checked against what the forms' labels hold: every
    // label it leaves out is a number, a counter or the web address.
    void frontOfEveryForm_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("texts");
        const QStringList none;
        QTest::newRow("Start") << "Start" << QStringList{"sinterklaas", "voor groep 1 en 2"};
        QTest::newRow("Pietkleden") << "Pietkleden" << QStringList{"wat trekt piet vandaag aan?"};
        for (const char* f : {"Plaatjeindezak1", "Plaatjeindezak2"})
            QTest::newRow(f) << f << QStringList{"één plaatje in de zak"};
        for (const char* f : {"Vormen1", "Vormen2"})
            QTest::newRow(f) << f << QStringList{"in welk pakje zat het cadeau?"};
        for (const char* f : {"Puzzel1", "Puzzel2", "Puzzel3", "Puzzel4", "Puzzel5", "Puzzel6"})
            QTest::newRow(f) << f << none;
        QTest::newRow("Tellen1") << "Tellen1"
                                 << QStringList{"tellen", "Klik alleen de figuurtjes aan. Ze worden vanzelf geteld."};
        QTest::newRow("Tellen3") << "Tellen3" << none;
        for (const char* f : {"Sudoku1", "Sudoku2", "Sudoku3", "Sudoku4", "Sudoku5"})
            QTest::newRow(f) << f << QStringList{"sudoku"};
        QTest::newRow("Spel") << "Spel" << none;
    }
    void frontOfEveryForm()
    {
        QFETCH(QString, form);
        QFETCH(QStringList, texts);
        windows->log.clear();
        registry->show(form.toStdString());
        // One reading, whole, even when there is nothing to read: it ends the
        // reading of the form it covers.
        QCOMPARE(windows->log, QStringList{"read: " + texts.join(QStringLiteral(" | "))});

        const Form& f = registry->form(form.toStdString());
        QStringList left;
        for (const auto& c : f.controls()) {
            if (c->controlClass() != ControlClass::Label)
                continue;
            const QString caption = test::qs(static_cast<const Label&>(*c).caption());
            if (texts.contains(caption))
                continue;
            const bool numberOrAddress = caption.contains(QRegularExpression(QStringLiteral("^[0-9.]+$"))) ||
                                         caption.startsWith(QStringLiteral("www."));
            QVERIFY2(numberOrAddress, qPrintable(test::qs(c->name()) + ": \"" + caption + "\" is left unread"));
        }
    }

    // A game shown again after a restart reads again; the registry reads
    // nothing once the program has ended.
    void restartReadsAgainEndReadsNothing()
    {
        registry->show("Sudoku2");
        windows->log.clear();
        Form& f = registry->form("Sudoku2");
        f.unload();
        f.show();
        QCOMPARE(windows->log, QStringList{"read: sudoku"});
        registry->end();
        windows->log.clear();
        registry->show("Tellen1");
        QCOMPARE(windows->log, QStringList{});
    }

    // The message boxes of the program: the text is read as the box opens,
    // before the handler waits in it.
    void messageBoxReadsItsText_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("text");
        QTest::newRow("Spel") << "Spel"
                              << "Speel met 2 personen. Probeer groepjes van 4 te maken";
        QTest::newRow("Plaatjeindezak1") << "Plaatjeindezak1"
                                         << "Klik op het foutsymbool om het opnieuw te proberen.";
    }
    void messageBoxReadsItsText()
    {
        QFETCH(QString, form);
        QFETCH(QString, text);
        registry->show(form.toStdString());
        windows->log.clear();
        Form& f = registry->form(form.toStdString());
        runEvent(*registry, f, f.generation(), [&] { f.chooseMenu(); });
        QCOMPARE(windows->log, (QStringList{"read: " + text, "box: " + text}));
    }

    // A tap on a label that holds words reads it again; on a counter, a
    // number, a picture or a button nothing is read; a second finger while
    // the first plays reads nothing.
    void tapReadsALabel_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("instruction") << "Tellen1"
                                     << "Label2"
                                     << QStringList{"read: Klik alleen de figuurtjes aan. Ze worden vanzelf geteld."};
        QTest::newRow("title") << "Tellen1"
                               << "Label1" << QStringList{"read: tellen"};
        QTest::newRow("title on Start") << "Start"
                                        << "Label2" << QStringList{"read: voor groep 1 en 2"};
        QTest::newRow("counter") << "Tellen1"
                                 << "lblTellerSint" << QStringList{};
        QTest::newRow("board number") << "Sudoku3"
                                      << "Label3" << QStringList{};
        QTest::newRow("digit") << "Tellen3"
                               << "Label3" << QStringList{};
        QTest::newRow("web address") << "Start"
                                     << "Label4" << QStringList{};
        QTest::newRow("title of Pietkleden") << "Pietkleden"
                                             << "Label1" << QStringList{"read: wat trekt piet vandaag aan?"};
    }
    void tapReadsALabel()
    {
        QFETCH(QString, form);
        QFETCH(QString, control);
        QFETCH(QStringList, log);
        registry->show(form.toStdString());
        Form& f = registry->form(form.toStdString());
        const Control* c = f.find(control.toStdString());
        QVERIFY(c);
        QCOMPARE(f.hitTest(centre(*c)), c);
        windows->log.clear();
        tap(f, *c);
        QCOMPARE(windows->log, log);
    }

    void tapOnOtherControlsReadsNothing()
    {
        registry->show("Tellen1");
        Form& f = registry->form("Tellen1");
        windows->log.clear();
        tap(f, *f.find("ImgSint1"));  // a figure: counted, not read
        tap(f, *f.find("lblTellerSint"));
        QCOMPARE(windows->log, QStringList{});
        QCOMPARE(f.label("lblTellerSint").caption(), std::string("1"));

        // While a first finger holds a picture, a second one on a label reads nothing.
        registry->show("Vormen1");
        Form& v = registry->form("Vormen1");
        windows->log.clear();
        const Point held = centre(*v.find("ImageStiften"));
        QVERIFY(registry->pointers().press(Finger, v, held, screen(held)));
        tap(v, *v.find("Label1"), SecondFinger);
        QCOMPARE(windows->log, QStringList{});
        registry->pointers().cancel(Finger);
        tap(v, *v.find("Label1"));
        QCOMPARE(windows->log, QStringList{"read: in welk pakje zat het cadeau?"});
    }

    // With the setting off the window system hears of no reading at all.
    void offReadsNothing()
    {
        makeProgram(false);
        registry->show("Tellen1");
        Form& f = registry->form("Tellen1");
        tap(f, f.label("Label2"));
        registry->show("Spel");
        Form& spel = registry->form("Spel");
        runEvent(*registry, spel, spel.generation(), [&] { spel.chooseMenu(); });
        QCOMPARE(windows->log, QStringList{"box: Speel met 2 personen. Probeer groepjes van 4 te maken"});
    }
};

QTEST_GUILESS_MAIN(ReadAloudTest)
#include "read_aloud_test.moc"
