// Plays Tuvrel with seeded random input: sequence after sequence, each a fresh
// program, until the number of events asked for has been sent or a rule breaks.
//
//   monkey [--events N] [--seed S] [--length L]      a run; its seed is drawn when not given
//   monkey --replay S [--length L] [--first FORM] [--trace]
//                                                    one sequence again, event by event
//   --touch T                                         the share of sequences played on a touch
//                                                     screen, 0 to 1 (0.3 when not given)
//
// A run starts each sequence at the form that has had the fewest events so
// far, so that every form gets its share, also the last one of a family that
// a child reaches only through the arrows; a replay names that form again.
//
// Prints the events per second and, on a failure, its seed, the events and the
// replay command; exits with 1 then.
#include "menu/form_catalog.h"
#include "runtime/form_registry.h"
#include "tests/monkey/monkey.h"
#include "tests/monkey/rng.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace tuvrel::monkey;
using tuvrel::test::qs;

namespace {

bool parseNumber(const QString& text, std::uint64_t& value)
{
    bool ok = false;
    value = text.startsWith(QLatin1String("0x")) ? text.mid(2).toULongLong(&ok, 16) : text.toULongLong(&ok, 10);
    return ok;
}

int usage()
{
    std::fprintf(stderr, "usage: monkey [--events N] [--seed S] [--length L] [--touch T]\n"
                         "       monkey --replay S [--length L] [--first FORM] [--trace] [--touch T]\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    tuvrel::test::useTouchBoardScreen();
    QApplication app(argc, argv);
    QString self = QString::fromLocal8Bit(argv[0]);

    std::uint64_t events = 20000, seed = 0, length = 2000, replay = 0;
    bool seedGiven = false, replaying = false, trace = false;
    double touchShare = MonkeyOptions().touchShare;
    bool touchGiven = false;
    std::string first;
    const QStringList args = QApplication::arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--trace"))
            trace = true;
        else if (a == QLatin1String("--events") && hasValue && parseNumber(args[++i], events))
            ;  // NOLINT(bugprone-branch-clone): each empty branch has read its value in the condition
        else if (a == QLatin1String("--first") && hasValue)
            first = args[++i].toStdString();
        else if (a == QLatin1String("--length") && hasValue && parseNumber(args[++i], length) && length > 0)
            ;
        else if (a == QLatin1String("--seed") && hasValue && parseNumber(args[++i], seed))
            seedGiven = true;
        else if (a == QLatin1String("--replay") && hasValue && parseNumber(args[++i], replay))
            replaying = true;
        else if (a == QLatin1String("--touch") && hasValue &&
                 (touchShare = args[++i].toDouble(&touchGiven), touchGiven) && touchShare >= 0 && touchShare <= 1)
            ;
        else
            return usage();
    }

    // The replay commands carry the share of touch sequences, which decides how a sequence plays.
    if (touchGiven)
        self += QStringLiteral(" --touch %1").arg(touchShare);
    static const QByteArray crashSelf = self.toLocal8Bit();
    reportSeedOnCrash(crashSelf.constData());
    MonkeyOptions options;
    options.touchShare = touchShare;
    options.invariantSets = familyInvariants();
    options.length = int(length);
    options.trace = trace;
    Monkey monkey(options);

    if (replaying) {
        const SequenceResult r = monkey.play(replay, int(length), first);
        if (r.failure) {
            std::printf("%s", qPrintable(report(*r.failure, self)));
            return 1;
        }
        std::printf("sequence 0x%016llx: %d events, %s, nothing broken\n", static_cast<unsigned long long>(replay),
                    r.events, qPrintable(r.ending));
        return 0;
    }

    if (!seedGiven) {
        std::random_device device;
        const std::uint64_t drawn = (std::uint64_t(device()) << 32) | device();
        seed = mix64(drawn ^ std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));
    }
    std::printf("monkey: %llu events over %d invariant sets, run seed 0x%016llx\n",
                static_cast<unsigned long long>(events), int(options.invariantSets.size()),
                static_cast<unsigned long long>(seed));
    std::fflush(stdout);

    QElapsedTimer clock;
    clock.start();
    std::uint64_t sent = 0, sequences = 0, idle = 0, ended = 0, handled = 0, touched = 0, touchEvents = 0;
    std::map<std::string, std::uint64_t> perForm, startedAt, eventsFrom;
    std::vector<std::string> forms;  // the program's forms, in the order of its catalog
    {
        tuvrel::FormRegistry catalog;
        tuvrel::registerProgramForms(catalog);
        forms = catalog.formNames();
    }
    for (const std::string& name : forms)
        perForm[name] = 0;
    qint64 lastNote = 0;
    while (sent < events) {
        const std::uint64_t s = sequenceSeed(seed, sequences++);
        const int room = int(std::min<std::uint64_t>(length, events - sent));
        // The form with the fewest events so far, the first of them in the catalog.
        const std::string least = *std::min_element(
            forms.begin(), forms.end(),
            [&perForm](const std::string& a, const std::string& b) { return perForm[a] < perForm[b]; });
        const SequenceResult r = monkey.play(s, room, least);
        sent += std::uint64_t(r.events);
        if (r.failure) {
            std::printf("\nmonkey: FAILED after %llu events\n%s", static_cast<unsigned long long>(sent),
                        qPrintable(report(*r.failure, self)));
            return 1;
        }
        ended += r.ending == QLatin1String("the program ended");
        touched += r.byTouch;
        touchEvents += r.byTouch ? std::uint64_t(r.events) : 0;
        handled += std::uint64_t(r.handled);
        for (const auto& [form, count] : r.perForm)
            perForm[form] += std::uint64_t(count);
        startedAt[r.firstForm] += 1;
        eventsFrom[r.firstForm] += std::uint64_t(r.events);
        idle = r.events == 0 ? idle + 1 : 0;
        if (idle > 10) {
            std::printf("monkey: the sequences send no events\n");
            return 1;
        }
        if (clock.elapsed() - lastNote > 30000) {
            lastNote = clock.elapsed();
            std::printf("  %llu events, %.0f events/s\n", static_cast<unsigned long long>(sent),
                        sent * 1000.0 / double(lastNote));
            std::fflush(stdout);
        }
    }
    const double seconds = double(clock.elapsed()) / 1000.0;
    QStringList byForm;
    for (const auto& [form, count] : perForm)
        byForm << QStringLiteral("%1 %2").arg(qs(form)).arg(count);
    QStringList starts;
    for (const auto& [form, count] : startedAt)
        starts << QStringLiteral("%1 %2 (%3 events)").arg(qs(form)).arg(count).arg(eventsFrom[form]);
    std::printf("events by form: %s\nsequences by the form they started at: %s\n%llu events ran a handler\n"
                "%llu sequences played on the touch screen (%llu events)\n",
                qPrintable(byForm.join(QLatin1String(", "))), qPrintable(starts.join(QLatin1String(", "))),
                static_cast<unsigned long long>(handled), static_cast<unsigned long long>(touched),
                static_cast<unsigned long long>(touchEvents));
    std::printf(
        "monkey: %llu events in %llu sequences (%llu ended by the program) in %.1f s: %.0f events/s, nothing broken "
        "(run seed 0x%016llx)\n",
        static_cast<unsigned long long>(sent), static_cast<unsigned long long>(sequences),
        static_cast<unsigned long long>(ended), seconds, double(sent) / std::max(seconds, 0.001),
        static_cast<unsigned long long>(seed));
    return 0;
}
