#include "app/command_line.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace tuvrel {

namespace {

const char kDescription[] = "Sinterklaasspelletjes voor groep 1 en 2: Piet aankleden, plaatjes in de zak,\n"
                            "welk pakje, puzzels, tellen, sudoku's en vier op een rij.\n"
                            "Sinterklaas picture games for children of four to six: dress Piet, odd one\n"
                            "out, which package, puzzles, counting, picture sudoku and rows of four.\n"
                            "Speel met de muis of met je vinger. Play with the mouse or a finger.";

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kDescription));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Toon deze hulp en stop. Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Toon de versie en stop. Show the version and exit."));
    const QCommandLineOption fullscreen({QStringLiteral("f"), QStringLiteral("fullscreen")},
                                        QStringLiteral("Elk venster vult het hele scherm (F11 aan/uit, Esc uit). "
                                                       "Every window fills the screen (F11 toggles, Escape leaves)."));
    const QCommandLineOption readAloud(
        QStringLiteral("voorlezen"),
        QString::fromUtf8("Lees de titel en de opdracht van elk spel voor, en een tekst waarop getikt wordt "
                          "(met een Nederlandse stem van de computer; zonder speelt Tuvrel stil). "
                          "Read each game's title and instruction aloud, and a text that is tapped "
                          "(with the computer's Dutch voice; without one Tuvrel plays silently)."));
    const QCommandLineOption carryByTaps(
        QStringLiteral("tikken"),
        QString::fromUtf8("Een plaatje verplaatsen met tikken in plaats van slepen: tik erop om het op te "
                          "pakken, tik waar het heen moet om het neer te leggen. "
                          "Move a picture by tapping instead of dragging: tap it to pick it up, tap where "
                          "it goes to put it down."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(fullscreen);
    parser.addOption(readAloud);
    parser.addOption(carryByTaps);

    CommandLine result;
    // The usage names the program as it is installed, whatever path started it
    // (read before the application object exists, Qt would not know it at all).
    QString usage = parser.helpText();
    usage.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")), QStringLiteral("Usage: tuvrel"));
    if (!parser.parse(arguments)) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("tuvrel: %1\n\n%2").arg(parser.errorText(), usage);
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = CommandLine::Action::Error;
        result.text = QStringLiteral("tuvrel: unexpected argument '%1'\n\n%2")
                          .arg(parser.positionalArguments().constFirst(), usage);
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Help;
        result.text = usage;
    } else if (parser.isSet(version)) {
        result.action = CommandLine::Action::Version;
        result.text = QStringLiteral("tuvrel %1\n").arg(QStringLiteral(TUVREL_VERSION));
    }
    result.fullscreen = parser.isSet(fullscreen);
    result.readAloud = parser.isSet(readAloud);
    result.carryByTaps = parser.isSet(carryByTaps);
    return result;
}

}  // namespace tuvrel
