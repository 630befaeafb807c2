// The command line and the choice of display platform at start-up, and the
// program itself started with good and bad options.
#include "app/command_line.h"
#include "app/display_platform.h"
#include "app/program_start.h"
#include "desktop/form_window.h"
#include "runtime/runtime_error.h"

#include <QProcess>
#include <QTest>

using namespace tuvrel;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    // A failure before the first event (a form table that does not hold
    // together, a picture the program lacks) is reported and ends the program
    // with the runtime failure's status, as a failure inside a handler does.
    void failureAtTheStartIsReported_data()
    {
        QTest::addColumn<int>("failure");
        QTest::newRow("a form table that does not hold together") << 0;
        QTest::newRow("a picture the program does not carry") << 1;
    }
    void failureAtTheStartIsReported()
    {
        QFETCH(int, failure);
        struct Reporting : QtWindowSystem {
            Reporting() : QtWindowSystem(false) {}
            std::string reported;
            int quitWith = -1;
            void reportError(const std::string& message) override { reported = message; }
            void quit(int code) override { quitWith = code; }
        } windows;
        static const FormClass withoutPicture(FormDescription{
            .name = "Start",
            .caption = "start",
            .clientWidth = ClientWidth,
            .clientHeight = ClientHeight,
            .rows{imageRow("img", 0, 0, 150, 150).withPicture("no_such_picture")},
        });
        FormRegistry registry(&windows);
        startProgram(registry, [failure](FormRegistry& r) {
            if (failure == 0)
                throw RuntimeError("form Start describes knopPiet twice");
            r.addFormClass(withoutPicture);
        });
        QVERIFY(registry.ended());
        QCOMPARE(registry.exitCode(), ExitRuntimeFailure);
        QCOMPARE(windows.quitWith, ExitRuntimeFailure);
        QVERIFY(!windows.reported.empty());
        QVERIFY2(windows.reported.find(failure == 0 ? "twice" : "no_such_picture") != std::string::npos,
                 windows.reported.c_str());
    }

    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("fullscreen");
        QTest::addColumn<bool>("readAloud");
        QTest::addColumn<bool>("carryByTaps");
        QTest::addColumn<QString>("textHas");
        using A = CommandLine::Action;
        const bool no = false, yes = true;
        QTest::newRow("nothing") << QStringList{} << int(A::Run) << no << no << no << QString();
        QTest::newRow("--fullscreen") << QStringList{"--fullscreen"} << int(A::Run) << yes << no << no << QString();
        QTest::newRow("-f") << QStringList{"-f"} << int(A::Run) << yes << no << no << QString();
        QTest::newRow("--voorlezen") << QStringList{"--voorlezen"} << int(A::Run) << no << yes << no << QString();
        QTest::newRow("--tikken") << QStringList{"--tikken"} << int(A::Run) << no << no << yes << QString();
        QTest::newRow("all three") << QStringList{"--tikken", "-f", "--voorlezen"} << int(A::Run) << yes << yes << yes
                                   << QString();
        QTest::newRow("-voorlezen, one dash")
            << QStringList{"-voorlezen"} << int(A::Run) << no << yes << no << QString();
        QTest::newRow("--help") << QStringList{"--help"} << int(A::Help) << no << no << no << "Usage: tuvrel [options]";
        QTest::newRow("-h") << QStringList{"-h"} << int(A::Help) << no << no << no << "--fullscreen";
        QTest::newRow("help names voorlezen")
            << QStringList{"-h"} << int(A::Help) << no << no << no << "  --voorlezen ";
        QTest::newRow("help names tikken") << QStringList{"-h"} << int(A::Help) << no << no << no << "  --tikken ";
        QTest::newRow("--version") << QStringList{"--version"} << int(A::Version) << no << no << no
                                   << "tuvrel " TUVREL_VERSION;
        QTest::newRow("unknown option") << QStringList{"--groot"} << int(A::Error) << no << no << no << "groot";
        QTest::newRow("misspelt setting") << QStringList{"--voorlees"} << int(A::Error) << no << no << no << "voorlees";
        QTest::newRow("stray argument") << QStringList{"Spel"} << int(A::Error) << no << no << no << "'Spel'";
        QTest::newRow("stray after option")
            << QStringList{"--fullscreen", "x"} << int(A::Error) << no << no << no << "Usage: tuvrel";
        QTest::newRow("value for a switch")
            << QStringList{"--fullscreen=1"} << int(A::Error) << no << no << no << "fullscreen";
        QTest::newRow("value for a setting")
            << QStringList{"--voorlezen=0"} << int(A::Error) << no << no << no << "voorlezen";
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(bool, fullscreen);
        QFETCH(bool, readAloud);
        QFETCH(bool, carryByTaps);
        QFETCH(QString, textHas);
        const CommandLine line = parseCommandLine(QStringList{"tuvrel"} + arguments);
        QCOMPARE(int(line.action), action);
        if (line.action == CommandLine::Action::Run) {
            QCOMPARE(line.fullscreen, fullscreen);
            QCOMPARE(line.readAloud, readAloud);
            QCOMPARE(line.carryByTaps, carryByTaps);
        }
        QVERIFY2(line.text.contains(textHas), qPrintable(line.text));
    }

    void platform_data()
    {
        QTest::addColumn<QByteArray>("asked");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<bool>("canOpen");
        QTest::newRow("X only") << QByteArray() << QByteArray(":0") << QByteArray() << QByteArray() << true;
        QTest::newRow("Wayland with XWayland")
            << QByteArray() << QByteArray(":0") << QByteArray("wayland-0") << QByteArray("xcb") << true;
        QTest::newRow("Wayland alone") << QByteArray() << QByteArray() << QByteArray("wayland-0") << QByteArray()
                                       << true;
        QTest::newRow("asked for wayland")
            << QByteArray("wayland") << QByteArray(":0") << QByteArray("wayland-0") << QByteArray() << true;
        QTest::newRow("asked for offscreen")
            << QByteArray("offscreen") << QByteArray() << QByteArray() << QByteArray() << true;
        QTest::newRow("no display") << QByteArray() << QByteArray() << QByteArray() << QByteArray() << false;
    }
    void platform()
    {
        QFETCH(QByteArray, asked);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, chosen);
        QFETCH(bool, canOpen);
        const DisplayEnvironment environment{asked, display, wayland};
        QCOMPARE(chosenPlatform(environment), chosen);
        QCOMPARE(hasDisplay(environment), canOpen);
    }

    // The program itself: a bad command line exits 2 with a message and the
    // usage before any window could open; help and version print and exit 0.
    void program_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "tuvrel " TUVREL_VERSION "\n" << QString();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: tuvrel [options]" << QString();
        QTest::newRow("unknown option") << QStringList{"--kapot"} << 2 << QString()
                                        << "tuvrel: Unknown option 'kapot'.";
        QTest::newRow("stray argument") << QStringList{"--fullscreen", "puzzel"} << 2 << QString()
                                        << "tuvrel: unexpected argument 'puzzel'";
    }
    void program()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess process;
        // No display at all: a window could not open even if the program tried.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TUVREL_EXECUTABLE), arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QString stdOut = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(process.readAllStandardError());
        if (out.isEmpty())
            QCOMPARE(stdOut, QString());
        else
            QVERIFY2(stdOut.startsWith(out), qPrintable(stdOut));
        if (err.isEmpty()) {
            QCOMPARE(stdErr, QString());
        } else {
            QVERIFY2(stdErr.startsWith(err), qPrintable(stdErr));
            QVERIFY2(stdErr.contains(QLatin1String("Usage: tuvrel [options]")), qPrintable(stdErr));
        }
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
