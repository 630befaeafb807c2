#pragma once
// The program's command line: --fullscreen, --help, --version. Read before the
// application object exists, so that help, version and a bad option never
// need a display and never open a window.
#include <QString>
#include <QStringList>

namespace tuvrel {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    bool fullscreen = false;
    QString text;  // what to print for Help, Version and Error
};

// arguments[0] is the program's name, as in argv.
CommandLine parseCommandLine(const QStringList& arguments);

// Exit codes of the actions that do not run the program.
inline constexpr int kExitUsage = 2;

}  // namespace tuvrel
