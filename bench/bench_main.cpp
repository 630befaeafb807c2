// tuvrel_bench: how fast the program starts, opens, paints and drags its
// forms, how much memory it holds and what it does when idle, each figure
// against a bare Qt window doing the same, on the platform Qt is given.
//
//   tuvrel_bench [--quick]          the tables, on stdout
//   tuvrel_bench --only FORM,...    only these forms' opening, repaint and drag figures
//   tuvrel_bench --child MODE ...   one measurement in a fresh process (used by the above)
//   tuvrel_bench --child open|repaint|drag FORM TIMES
//                                   one form opened, repainted or dragged in again and again, to profile
#include "bench/figures.h"
#include "bench/report.h"

#include "menu/form_catalog.h"
#include "runtime/form_registry.h"

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sched.h>
#include <string>
#include <unistd.h>

tuvrel::bench::Settings tuvrel::bench::Settings::quick()
{
    Settings s;
    s.startupRuns = 5;
    s.openRounds = 4;
    s.paintRepeats = 30;
    s.dragMoves = 50;
    s.memoryRuns = 1;
    s.restarts = 200;
    s.idleRuns = 1;
    s.idleSeconds = 2;
    return s;
}

namespace {

// Qt wants a private runtime directory; a run without one gets its own.
void ensureRuntimeDirectory()
{
    if (std::getenv("XDG_RUNTIME_DIR"))
        return;
    char path[] = "/tmp/tuvrel-bench-XXXXXX";
    if (mkdtemp(path))
        setenv("XDG_RUNTIME_DIR", path, 1);
}

std::string selfPath()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    path[n] = '\0';
    return path;
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace tuvrel::bench;
    ensureRuntimeDirectory();
    silencePlatformNotes();

    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    int qtArgc = 1;
    if (args.value(0) == QLatin1String("--child")) {
        QApplication app(qtArgc, argv);
        return runChildMode(args.mid(1));
    }
    bool quick = false;
    QStringList only;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--quick")) {
            quick = true;
        } else if (args[i] == QLatin1String("--only") && i + 1 < args.size()) {
            only = args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        } else {
            std::fprintf(stderr, "usage: tuvrel_bench [--quick] [--only FORM,...]\n");
            return 2;
        }
    }
    Settings settings = quick ? Settings::quick() : Settings();
    settings.onlyForms = only;

    // No platform named and no display: the offscreen platform.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if ((!platform || !*platform) && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(qtArgc, argv);
    // Children run on the platform this process got, whatever chose it.
    setenv("QT_QPA_PLATFORM", QGuiApplication::platformName().toLocal8Bit().constData(), 1);

    RunInfo info;
    info.platform = QGuiApplication::platformName().toStdString();
    info.qtVersion = qVersion();
    info.machine = machineDescription();
    info.loadBefore = loadAverage();
    const double started = monotonicMs();
    std::fprintf(stderr, "tuvrel_bench on %s:\n", info.platform.c_str());

    // The form windows are measured here and closed again before the
    // processes of the other figures run.
    std::vector<FormFigures> forms;
    ProcessFigures process;
    {
        setUpLikeTheProgram();
        BenchWindowSystem windows;
        tuvrel::FormRegistry registry(&windows);
        tuvrel::registerProgramForms(registry);
        // On one processor: on an otherwise idle machine the scheduler moves
        // this thread from one processor to the other between events, and the
        // cold caches after a move cost a drag move up to three times its time,
        // more or less often from run to run.
        cpu_set_t all, one;
        const bool pinned = sched_getaffinity(0, sizeof all, &all) == 0 && sched_getcpu() >= 0;
        if (pinned) {
            CPU_ZERO(&one);
            CPU_SET(sched_getcpu(), &one);
            sched_setaffinity(0, sizeof one, &one);
        }
        forms = measureForms(registry, settings);
        if (pinned)
            sched_setaffinity(0, sizeof all, &all);
    }
    if (settings.onlyForms.isEmpty())
        process = measureProcesses(forms, settings, selfPath());

    info.loadAfter = loadAverage();
    info.seconds = (monotonicMs() - started) / 1000.0;
    std::fflush(stderr);
    printReport(info, forms, process);
    return 0;
}
