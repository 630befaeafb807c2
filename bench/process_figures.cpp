// Start-up, memory and idle figures: each run is a fresh process, the program
// against a bare Qt process doing the same with empty windows.
#include "bench/child_process.h"
#include "bench/figures.h"

#include "desktop/picture_pixels.h"
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <sstream>

namespace tuvrel::bench {

namespace {

QString firstLines(const std::string& text)
{
    QStringList lines = QString::fromStdString(text).trimmed().split(QLatin1Char('\n'));
    while (lines.size() > 3)
        lines.removeFirst();
    return lines.join(QLatin1String(" / "));
}

std::string sizesArgument(const std::vector<FormFigures>& forms)
{
    std::ostringstream out;
    for (const FormFigures& f : forms) {
        if (!f.windowSize.isValid())
            continue;
        if (out.tellp() > 0)
            out << ',';
        out << f.windowSize.width() << 'x' << f.windowSize.height();
    }
    return out.str();
}

// One child of each side per run, in turn.
template <class Take>
void inTurn(int runs, Take take)
{
    for (int i = 0; i < runs; ++i) {
        take(false);
        take(true);
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, "\n");
}

}  // namespace

ProcessFigures measureProcesses(const std::vector<FormFigures>& forms, const Settings& settings,
                                const std::string& self)
{
    ProcessFigures p;
    p.taken = true;

    // ---- start-up: spawned until the first frame is painted, as the probe reports it
    std::fprintf(stderr, "  start-up");
    const Environment probe = {{"LD_PRELOAD", TUVREL_FIRST_PAINT_PROBE}, {"FIRST_PAINT_PROBE_FD", "3"}};
    const Environment probeAt2 = {
        {"LD_PRELOAD", TUVREL_FIRST_PAINT_PROBE}, {"FIRST_PAINT_PROBE_FD", "3"}, {"QT_SCALE_FACTOR", "2"}};
    auto startOnce = [&](bool program, bool atTwo = false) {
        const std::string binary = program ? TUVREL_PROGRAM : TUVREL_EMPTY_WINDOW;
        ChildRun run = runChild({binary}, atTwo ? probeAt2 : probe, 30000);
        if (!run.ok) {
            (atTwo ? p.scaleFailure : p.startupFailure) = QString::fromStdString(binary) + ": " +
                                                          firstLines(run.diagnostics);
            return -1.0;
        }
        return reportNumber(run.report, "painted_ns") / 1e6 - run.spawnedMs;
    };
    // Once each, unmeasured, so that both start from a warm file cache.
    startOnce(false);
    startOnce(true);
    inTurn(settings.startupRuns, [&](bool program) {
        const double ms = startOnce(program);
        if (ms >= 0)
            (program ? p.startupMs.program : p.startupMs.baseline).add(ms);
    });

    // ---- the first frame on an X server, seen from outside the program
    if (qgetenv("QT_QPA_PLATFORM") == "xcb") {
        std::fprintf(stderr, "  first frame on the X server");
        auto watchOnce = [&](bool program) {
            const std::string binary = program ? TUVREL_PROGRAM : TUVREL_EMPTY_WINDOW;
            ChildRun run = runChild({TUVREL_FIRST_FRAME_WATCHER, binary}, {}, 30000);
            if (!run.ok) {
                p.firstFrameFailure = QString::fromStdString(binary) + ": " + firstLines(run.diagnostics);
                return -1.0;
            }
            return reportNumber(run.report, "first_frame_ms");
        };
        watchOnce(false);
        watchOnce(true);
        inTurn(settings.startupRuns, [&](bool program) {
            const double ms = watchOnce(program);
            if (ms >= 0)
                (program ? p.firstFrameMs.program : p.firstFrameMs.baseline).add(ms);
        });
    }

    // ---- start-up at a device pixel ratio of 2, against the program at 1
    std::fprintf(stderr, "  start-up at QT_SCALE_FACTOR=2");
    startOnce(true, true);
    inTurn(settings.startupRuns, [&](bool atTwo) {
        const double ms = startOnce(true, atTwo);
        if (ms >= 0)
            (atTwo ? p.startupAt2Ms.program : p.startupAt2Ms.baseline).add(ms);
        // And what Qt's own empty window costs at 2, against row 1's at 1.
        if (atTwo) {
            const double empty = startOnce(false, true);
            if (empty >= 0)
                p.emptyStartupAt2Ms.program.add(empty);
        }
    });
    p.emptyStartupAt2Ms.baseline = p.startupMs.baseline;

    // ---- peak memory with every form open, against as many empty windows
    std::fprintf(stderr, "  memory");
    const std::string sizes = sizesArgument(forms);
    inTurn(settings.memoryRuns, [&](bool program) {
        ChildRun run = program ? runChild({self, "--child", "forms-open"}, {}, 120000)
                               : runChild({self, "--child", "windows-open", sizes}, {}, 120000);
        if (!run.ok) {
            p.memoryFailure = firstLines(run.diagnostics);
            return;
        }
        (program ? p.peakMb.program : p.peakMb.baseline).add(reportNumber(run.report, "peak_mb"));
        if (program) {
            p.formsOpen = int(reportNumber(run.report, "forms"));
            p.pictureMb = reportNumber(run.report, "pictures_mb");
        }
    });

    // ---- the same at a device pixel ratio of 2, the program and the empty windows
    std::fprintf(stderr, "  memory at QT_SCALE_FACTOR=2");
    const Environment atTwo = {{"QT_SCALE_FACTOR", "2"}};
    inTurn(settings.memoryRuns, [&](bool program) {
        ChildRun run = program ? runChild({self, "--child", "forms-open"}, atTwo, 120000)
                               : runChild({self, "--child", "windows-open", sizes}, atTwo, 120000);
        if (!run.ok) {
            p.scaleFailure = firstLines(run.diagnostics);
            return;
        }
        (program ? p.peakAt2Mb.program : p.emptyPeakAt2Mb.program).add(reportNumber(run.report, "peak_mb"));
        if (program)
            p.pictureAt2Mb = reportNumber(run.report, "pictures_mb");
    });
    p.peakAt2Mb.baseline = p.peakMb.program;
    p.emptyPeakAt2Mb.baseline = p.peakMb.baseline;

    // ---- restarts of the largest form: the one with the most controls
    const FormFigures* largest = nullptr;
    for (const FormFigures& f : forms)
        if (f.failure.isEmpty() && (!largest || f.controls > largest->controls))
            largest = &f;
    if (largest) {
        p.restartForm = largest->name;
        p.restarts = settings.restarts;
        std::fprintf(stderr, "  %d restarts of %s", settings.restarts, qPrintable(largest->name));
        const std::string times = std::to_string(settings.restarts);
        const std::string size = std::to_string(largest->windowSize.width()) + "x" +
                                 std::to_string(largest->windowSize.height());
        inTurn(settings.memoryRuns, [&](bool program) {
            ChildRun run = program ? runChild({self, "--child", "form-restarts", largest->name.toStdString(), times},
                                              {}, 900000)
                                   : runChild({self, "--child", "window-restarts", size, times}, {}, 900000);
            if (!run.ok) {
                p.restartFailure = firstLines(run.diagnostics);
                return;
            }
            (program ? p.restartGrowthMb.program : p.restartGrowthMb.baseline)
                .add(reportNumber(run.report, "growth_mb"));
        });
    }

    // ---- idle: every form open, no input
    std::fprintf(stderr, "  idle, %d s a run", settings.idleSeconds);
    p.idleSeconds = settings.idleSeconds;
    const std::string seconds = std::to_string(settings.idleSeconds);
    inTurn(settings.idleRuns, [&](bool program) {
        ChildRun run = program ? runChild({self, "--child", "forms-idle", seconds}, {}, 120000)
                               : runChild({self, "--child", "windows-idle", seconds, sizes}, {}, 120000);
        if (!run.ok) {
            p.idleFailure = firstLines(run.diagnostics);
            return;
        }
        Paired& cpu = p.idleCpuMs;
        Paired& timers = p.idleTimerEvents;
        (program ? cpu.program : cpu.baseline).add(reportNumber(run.report, "cpu_ms"));
        (program ? timers.program : timers.baseline).add(reportNumber(run.report, "timer_events"));
    });
    return p;
}

// ------------------------------------------------------------------ child modes

namespace {

std::vector<QSize> parseSizes(const QString& text)
{
    std::vector<QSize> sizes;
    for (const QString& s : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList wh = s.split(QLatin1Char('x'));
        if (wh.size() == 2)
            sizes.emplace_back(wh[0].toInt(), wh[1].toInt());
    }
    return sizes;
}

// The program as app/main.cpp starts it, with every one of its forms open.
struct OpenProgram {
    BenchWindowSystem windows;
    FormRegistry registry{&windows};
    PaintLog log;
    bool allPainted = false;

    OpenProgram()
    {
        setUpLikeTheProgram();
        registerProgramForms(registry);
        for (const std::string& name : registry.formNames())
            registry.show(name);
        allPainted = waitUntil([&] {
            for (Form* f : registry.loadedForms()) {
                FormWindow* w = QtWindowSystem::windowOf(*f);
                if (!w || !log.painted(w->canvas()))
                    return false;
            }
            return true;
        });
        settle();
    }
};

struct EmptyWindows {
    PaintLog log;
    std::vector<std::unique_ptr<QWidget>> windows;
    bool allPainted = false;

    explicit EmptyWindows(const std::vector<QSize>& sizes)
    {
        for (QSize size : sizes) {
            windows.push_back(std::make_unique<QWidget>());
            windows.back()->resize(size);
            windows.back()->show();
        }
        allPainted = waitUntil([&] {
            for (const auto& w : windows)
                if (!log.painted(w.get()))
                    return false;
            return true;
        });
        settle();
    }
};

// Counts the timer events delivered to anything but the one timer that ends the wait.
class TimerCount : public QObject {
public:
    explicit TimerCount(const QObject* own) : own_(own) { qApp->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer && watched != own_)
            ++count;
        return false;
    }

private:
    const QObject* own_;
};

void reportIdle(int seconds)
{
    // exit(), not quit(): quit() first asks every window to close.
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, qApp, [] { QCoreApplication::exit(0); });
    // Let whatever the windows still had to do be done before the quiet time.
    stop.start(500);
    QApplication::exec();

    TimerCount timers(&stop);
    const double before = cpuMs();
    stop.start(seconds * 1000);
    QApplication::exec();
    const double used = cpuMs() - before;
    report("cpu_ms=" + std::to_string(used) + " timer_events=" + std::to_string(timers.count));
}

// Unload and Show, as the restart button does, and wait for the paint.
template <class Restart>
int reportRestarts(int times, Restart restart)
{
    // Caches fill in the first rounds: count the growth from after them.
    for (int i = 0; i < 20; ++i)
        if (!restart())
            return 1;
    const double before = residentMb();
    const double heapBefore = heapInUseMb();
    for (int i = 0; i < times; ++i)
        if (!restart())
            return 1;
    settle();
    const double after = residentMb();
    const double heapAfter = heapInUseMb();
    report("growth_mb=" + std::to_string(after - before) + " before_mb=" + std::to_string(before) +
           " after_mb=" + std::to_string(after) + " heap_growth_mb=" + std::to_string(heapAfter - heapBefore));
    return 0;
}

}  // namespace

int runChildMode(const QStringList& args)
{
    const QString mode = args.value(0);
    if (mode == QLatin1String("forms-open")) {
        OpenProgram program;
        if (!program.allPainted)
            return 1;
        // What the decoded pictures take: at their own size, their larger
        // renderings and the copies drawn for other sizes, each buffer once.
        const PictureMemory pictures = pictureMemory();
        report("peak_mb=" + std::to_string(peakResidentMb()) + " rss_mb=" + std::to_string(residentMb()) +
               " forms=" + std::to_string(program.registry.loadedCount()) +
               " pictures_mb=" + std::to_string(double(pictures.total()) / (1024.0 * 1024.0)) +
               " heap_mb=" + std::to_string(heapInUseMb()));
        return 0;
    }
    if (mode == QLatin1String("windows-open")) {
        EmptyWindows windows(parseSizes(args.value(1)));
        if (!windows.allPainted)
            return 1;
        report("peak_mb=" + std::to_string(peakResidentMb()) + " rss_mb=" + std::to_string(residentMb()) +
               " windows=" + std::to_string(windows.windows.size()) + " heap_mb=" + std::to_string(heapInUseMb()));
        return 0;
    }
    if (mode == QLatin1String("forms-idle")) {
        OpenProgram program;
        if (!program.allPainted)
            return 1;
        reportIdle(args.value(1).toInt());
        return 0;
    }
    if (mode == QLatin1String("windows-idle")) {
        EmptyWindows windows(parseSizes(args.value(2)));
        if (!windows.allPainted)
            return 1;
        reportIdle(args.value(1).toInt());
        return 0;
    }
    if (mode == QLatin1String("form-restarts")) {
        setUpLikeTheProgram();
        BenchWindowSystem windowSystem;
        FormRegistry registry(&windowSystem);
        registerProgramForms(registry);
        PaintLog log;
        Form& form = registry.form(fromQt(args.value(1)));
        return reportRestarts(args.value(2).toInt(), [&] {
            form.unload();
            settle();
            log.reset();
            form.show();
            FormWindow* w = QtWindowSystem::windowOf(form);
            return w && waitUntil([&] { return log.painted(w->canvas()); });
        });
    }
    if (mode == QLatin1String("window-restarts")) {
        const std::vector<QSize> sizes = parseSizes(args.value(1));
        PaintLog log;
        std::unique_ptr<QWidget> window;
        return reportRestarts(args.value(2).toInt(), [&] {
            window.reset();
            settle();
            log.reset();
            window = std::make_unique<QWidget>();
            window->resize(sizes.empty() ? QSize(1021, 673) : sizes.front());
            window->show();
            return waitUntil([&] { return log.painted(window.get()); });
        });
    }
    if (mode == QLatin1String("repaint") || mode == QLatin1String("drag") || mode == QLatin1String("open")) {
        // One form opened, repainted, or one of its pictures dragged round a
        // circle, over and over, for a profiler to look at.
        setUpLikeTheProgram();
        BenchWindowSystem windowSystem;
        FormRegistry registry(&windowSystem);
        registerProgramForms(registry);
        PaintLog log;
        Form& form = registry.form(fromQt(args.value(1)));
        form.show();
        FormWindow* w = QtWindowSystem::windowOf(form);
        if (!w || !waitUntil([&] { return log.painted(w->canvas()); }))
            return 1;
        settle();
        Samples ms;
        const int times = std::max(1, args.value(2).toInt());
        if (mode == QLatin1String("open")) {
            for (int i = 0; i < times; ++i) {
                form.unload();
                settle();
                log.reset();
                const double start = monotonicMs();
                form.show();
                w = QtWindowSystem::windowOf(form);
                if (!w || !waitUntil([&] { return log.painted(w->canvas()); }))
                    return 1;
                ms.add(monotonicMs() - start);
            }
        } else if (mode == QLatin1String("repaint")) {
            for (int i = 0; i < times; ++i) {
                const double start = monotonicMs();
                w->canvas()->repaint();
                ms.add(monotonicMs() - start);
            }
        } else {
            Image* source = draggablePicture(form);
            if (!source)
                return 1;
            const QPoint from = toQt(source->pixelRect().center());
            pointerPress(w->canvas(), from);
            settle();
            for (int i = 0; i < times; ++i) {
                log.reset(w->canvas());
                const double start = monotonicMs();
                pointerMove(w->canvas(), from + circlePoint(i), true);
                QCoreApplication::sendPostedEvents();
                ms.add(monotonicMs() - start);
            }
            pointerMove(w->canvas(), from, true);
            pointerRelease(w->canvas(), from);
        }
        const Summary s = ms.summary();
        report("median_ms=" + std::to_string(s.median) + " min_ms=" + std::to_string(s.min) +
               " max_ms=" + std::to_string(s.max));
        return 0;
    }
    std::fprintf(stderr, "tuvrel_bench: unknown child mode %s\n", qPrintable(mode));
    return 2;
}

}  // namespace tuvrel::bench
