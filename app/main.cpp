// Tuvrel: Sinterklaas picture games for groep 1 and 2.
// Start-up makes the form registry, shows Start and runs the event loop.
#include "app/command_line.h"
#include "app/display_platform.h"
#include "app/program_start.h"
#include "desktop/form_window.h"
#include "desktop/speech.h"
#include "menu/form_catalog.h"
#include "runtime/form_registry.h"
#include "runtime/pointer_input.h"

#include <QApplication>
#include <QStringList>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt stops with a fatal message when no display can be opened; say so in one
// line and leave without a crash dump.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        if (message.contains(QLatin1String("platform plugin"))) {
            const char* display = std::getenv("DISPLAY");
            std::fprintf(stderr, "tuvrel: cannot open the display \"%s\"\n", display ? display : "");
        } else {
            std::fprintf(stderr, "tuvrel: %s\n", message.section(QLatin1Char('\n'), 0, 0).toLocal8Bit().constData());
        }
        std::fflush(stderr);
        std::_Exit(1);
    }
    // Platform plugin chatter before the window opens is not for the user.
    if (context.category && QByteArray(context.category).startsWith("qt.qpa"))
        return;
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

QByteArray environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? QByteArray(value) : QByteArray();
}

}  // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const tuvrel::CommandLine commandLine = tuvrel::parseCommandLine(arguments);
    switch (commandLine.action) {
    case tuvrel::CommandLine::Action::Error:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return tuvrel::kExitUsage;
    case tuvrel::CommandLine::Action::Help:
    case tuvrel::CommandLine::Action::Version: std::fputs(commandLine.text.toLocal8Bit().constData(), stdout); return 0;
    case tuvrel::CommandLine::Action::Run: break;
    }

    qInstallMessageHandler(messageHandler);
    const tuvrel::DisplayEnvironment display{environment("QT_QPA_PLATFORM"), environment("DISPLAY"),
                                             environment("WAYLAND_DISPLAY")};
    if (!tuvrel::hasDisplay(display)) {
        std::fprintf(stderr, "tuvrel: cannot open a display (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return 1;
    }
    if (const QByteArray platform = tuvrel::chosenPlatform(display); !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    // The program's own options are read above: only its name is passed on to Qt.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Tuvrel"));
    QApplication::setApplicationVersion(QStringLiteral(TUVREL_VERSION));
    // The desktop entry the windows belong to, for docks and task bars.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.tuvrel.Tuvrel"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    tuvrel::QtWindowSystem windows;
    windows.setFullscreen(commandLine.fullscreen);
    tuvrel::FormRegistry registry(&windows);
    registry.pointers().setCarryByTaps(commandLine.carryByTaps);
    if (commandLine.readAloud)
        tuvrel::startReadingAloud(registry, windows, tuvrel::DutchSpeech::installedEngines(), stderr);
    // Everything that can fail before the first event is reported as every
    // runtime failure is: a face that cannot be loaded, a form table that
    // does not hold together, a picture the program does not carry.
    tuvrel::startProgram(registry, tuvrel::registerProgramForms);
    if (registry.ended())
        return registry.exitCode();
    const int code = QApplication::exec();
    return registry.ended() ? registry.exitCode() : code;
}
