#pragma once
// The program's command line: --fullscreen, the two settings a teacher turns
// on (--voorlezen, --tikken), --help, --version. Read before the
// application object exists, so that help, version and a bad option never
// need a display and never open a window.
#include <QString>
#include <QStringList>

namespace tuvrel {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    bool fullscreen = false;
    bool readAloud = false;    // --voorlezen: the texts of the games read aloud
    bool carryByTaps = false;  // --tikken: a tap picks a picture up, the next puts it down
    QString text;              // what to print for Help, Version and Error
};

// arguments[0] is the program's name, as in argv.
CommandLine parseCommandLine(const QStringList& arguments);

// Exit codes of the actions that do not run the program.
inline constexpr int kExitUsage = 2;

}  // namespace tuvrel
