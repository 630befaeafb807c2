// The form windows on a desktop with a window manager (openbox on a private X
// server, see tests/desktop/run_on_desktop.sh): Show brings a form to the
// front and activates it, also from minimised; a rebuilt window stands where
// the old one stood; windows resize, maximise and go fullscreen; Stop leaves
// no window behind.
#include "tests/support/form_driver.h"

#include <QApplication>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWindow>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

// What the X server and the window manager say, read with the X tools.
QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000) || process.exitCode() != 0)
        qWarning("%s %s failed: %s", qPrintable(program), qPrintable(arguments.join(' ')),
                 process.readAllStandardError().constData());
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString hex(WId id)
{
    return QStringLiteral("0x%1").arg(quint64(id), 0, 16);
}

QList<WId> windowIds(const QString& xpropLine)
{
    QList<WId> ids;
    const QString list = xpropLine.section(QLatin1Char('#'), 1);
    for (const QString& item : list.split(QLatin1Char(',')))
        if (const WId id = WId(item.trimmed().toULongLong(nullptr, 16)))
            ids << id;
    return ids;
}

// The window the window manager has made active.
WId activeWindow()
{
    const QList<WId> ids = windowIds(run("xprop", {"-root", "_NET_ACTIVE_WINDOW"}));
    return ids.isEmpty() ? 0 : ids.first();
}

// The managed windows from the bottom of the stack to the top.
QList<WId> stackingOrder()
{
    return windowIds(run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"}));
}

QString netState(const QWidget* w)
{
    return run("xprop", {"-id", hex(w->winId()), "_NET_WM_STATE"});
}

bool hiddenByWindowManager(const QWidget* w)
{
    return netState(w).contains(QLatin1String("_NET_WM_STATE_HIDDEN"));
}

// In front, active and not minimised, as the window manager and Qt both see it.
bool inFront(const Form& form)
{
    const FormWindow* w = windowOf(form);
    if (!w || !w->isVisible() || w->isMinimized() || hiddenByWindowManager(w))
        return false;
    const QList<WId> stack = stackingOrder();
    return activeWindow() == w->winId() && !stack.isEmpty() && stack.last() == w->winId() &&
           QApplication::activeWindow() == w;
}

void minimise(const Form& form)
{
    // As the frame's minimise button does: the window manager iconifies it.
    run("xdotool", {"windowminimize", "--sync", QString::number(windowOf(form)->winId())});
    QTRY_VERIFY(hiddenByWindowManager(windowOf(form)));
}

// A click as the child makes it: the pointer moved and pressed through the X
// server, so that the window manager sees real input with its time.
void clickOnScreen(const Form& form, const QString& control)
{
    FormCanvas* canvas = canvasOf(form);
    const QPoint at = canvas->mapToGlobal(onCanvas(form, centreOf(form, cs(control))));
    run("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "sleep", "0.05", "click", "1"});
    QTest::qWait(20);
    settle();
}

void waitUntilPlaced(const Form& form)
{
    FormWindow* w = windowOf(form);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTRY_VERIFY2(inFront(form),
                 qPrintable(QStringLiteral("%1: X active %2, stack %3, Qt active %4")
                                .arg(qs(form.name()), hex(activeWindow()),
                                     hex(stackingOrder().value(stackingOrder().size() - 1)),
                                     QApplication::activeWindow() ? QApplication::activeWindow()->windowTitle()
                                                                  : QStringLiteral("none")) +
                            " own " + hex(w->winId())));
}

// Where the window manager has the client area of a window, in root coordinates.
QRect placeOnScreen(const QWidget* w)
{
    const QString info = run("xwininfo", {"-id", hex(w->winId())});
    auto field = [&info](const char* name) {
        const int at = info.indexOf(QLatin1String(name));
        return info.mid(at + int(qstrlen(name))).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
    };
    return {field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"), field("Height:")};
}

}  // namespace

class WindowManagerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "runs on an X server with a window manager");
    }
    void init() { program = std::make_unique<Program>(); }
    void cleanup() { program.reset(); }

    // Show brings a minimised form back, in front and active, whichever
    // button shows it: a game button, the door, an arrow.
    void showBringsMinimisedFormBack_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("shown");
        QTest::newRow("game button") << "Start"
                                     << "knopPuzzels"
                                     << "Puzzel1";
        QTest::newRow("door") << "Puzzel1"
                              << "Command1"
                              << "Start";
        QTest::newRow("next arrow") << "Puzzel1"
                                    << "knopRechts"
                                    << "Puzzel2";
        QTest::newRow("previous arrow") << "Puzzel2"
                                        << "Command4"
                                        << "Puzzel1";
    }
    void showBringsMinimisedFormBack()
    {
        QFETCH(QString, from);
        QFETCH(QString, button);
        QFETCH(QString, shown);
        Form& target = program->show(cs(shown));
        waitUntilPlaced(target);
        Form& source = program->show(cs(from));
        waitUntilPlaced(source);
        minimise(target);
        QTRY_VERIFY(inFront(source));

        clickOnScreen(source, button);
        QTRY_VERIFY2(inFront(target), qPrintable(netState(windowOf(target))));
        QVERIFY(!windowOf(target)->isMinimized());
        // The form kept its state: it was brought back, not rebuilt.
        QVERIFY(target.isLoaded());
    }

    // "nog een keer" ten times, and closing through the frame and opening
    // again ten times: the window stands exactly where it stood.
    void rebuiltWindowStandsWhereItStood_data()
    {
        QTest::addColumn<bool>("closeThroughFrame");
        QTest::newRow("restart") << false;
        QTest::newRow("close and reopen") << true;
    }
    void rebuiltWindowStandsWhereItStood()
    {
        QFETCH(bool, closeThroughFrame);
        Form& start = program->show("Start");
        waitUntilPlaced(start);
        Form& puzzle = program->show("Puzzel1");
        waitUntilPlaced(puzzle);
        // Somewhere of the child's choosing, moved as a user does.
        run("xdotool", {"windowmove", QString::number(windowOf(puzzle)->winId()), "333", "222"});
        QTRY_COMPARE(placeOnScreen(windowOf(puzzle)).topLeft(), QPoint(333, 222));
        QTRY_COMPARE(windowOf(puzzle)->geometry().topLeft(), QPoint(333, 222));  // Qt knows it too
        const QRect placed = placeOnScreen(windowOf(puzzle));
        for (int round = 0; round < 10; ++round) {
            if (closeThroughFrame) {
                run("wmctrl", {"-i", "-c", hex(windowOf(puzzle)->winId())});
                QTRY_VERIFY(!puzzle.isLoaded());
                settle();
                click(start, "knopPuzzels");
            } else {
                clickOnScreen(puzzle, "knopOpnieuw");
            }
            QTRY_VERIFY(puzzle.isLoaded());
            waitUntilPlaced(puzzle);
            QTRY_COMPARE(placeOnScreen(windowOf(puzzle)), placed);
        }
    }

    // The window may be resized and maximised; the form fills it and plays.
    void resizedAndMaximisedWindowsPlay()
    {
        Form& puzzle = program->show("Puzzel1");
        waitUntilPlaced(puzzle);
        FormWindow* w = windowOf(puzzle);
        run("xdotool", {"windowsize", "--sync", QString::number(w->winId()), "1532", "1010"});
        QTRY_COMPARE(canvasOf(puzzle)->size(), QSize(1532, 1010));
        QVERIFY(qAbs(canvasOf(puzzle)->transform().scale() - 1.5) < 0.01);
        drag(puzzle, "img4", "Image4");
        QVERIFY(!puzzle.image("img4").visible());

        run("wmctrl", {"-i", "-r", hex(w->winId()), "-b", "add,maximized_vert,maximized_horz"});
        QTRY_VERIFY(w->isMaximized());
        QTRY_VERIFY(canvasOf(puzzle)->transform().scale() > 1.5);
        drag(puzzle, "img1", "Image1");
        QVERIFY(!puzzle.image("img1").visible());
    }

    // Fullscreen is the program's setting: every window shown while it is on
    // fills the screen; F11 switches it, Escape leaves it.
    void fullscreenForEveryWindow()
    {
        auto* windows = dynamic_cast<QtWindowSystem*>(program->registry().windowSystem());
        QVERIFY(windows);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        windows->setFullscreen(true);
        Form& start = program->show("Start");
        waitUntilPlaced(start);
        QTRY_VERIFY(windowOf(start)->isFullScreen());
        QTRY_COMPARE(placeOnScreen(windowOf(start)), screen);

        click(start, "knopSpel");
        Form& spel = program->form("Spel");
        waitUntilPlaced(spel);
        QTRY_COMPARE(placeOnScreen(windowOf(spel)), screen);
        QVERIFY(netState(windowOf(spel)).contains(QLatin1String("_NET_WM_STATE_FULLSCREEN")));

        key(spel, Qt::Key_Escape);
        QVERIFY(!windows->fullscreen());
        QTRY_VERIFY(!windowOf(spel)->isFullScreen());
        QTRY_VERIFY(!windowOf(start)->isFullScreen());
        QTRY_COMPARE(placeOnScreen(windowOf(spel)).size(),
                     toQt(spel.clientSize()) + QSize(0, windowOf(spel)->menuBar()->height()));

        key(spel, Qt::Key_F11);
        QVERIFY(windows->fullscreen());
        QTRY_COMPARE(placeOnScreen(windowOf(spel)), screen);
        key(spel, Qt::Key_F11);
        QVERIFY(!windows->fullscreen());
        QTRY_VERIFY(!windowOf(spel)->isFullScreen());
    }

    // Stop ends the program with every window gone, on the desktop too.
    void stopLeavesNoWindow()
    {
        Form& start = program->show("Start");
        for (const char* name : {"Puzzel1", "Spel", "Tellen1"})
            waitUntilPlaced(program->show(name));
        program->show("Start");
        waitUntilPlaced(start);
        click(start, "knopStop");
        QVERIFY(program->registry().ended());
        settle();
        QTRY_VERIFY2(stackingOrder().isEmpty(), qPrintable(run("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"})));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->windowTitle()));
    }
};

QTEST_MAIN(WindowManagerTest)
#include "window_manager_test.moc"
