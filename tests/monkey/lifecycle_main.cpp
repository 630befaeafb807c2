// Restarts and reopens every form many times over and checks that memory stays
// flat: each cycle drops a picture on the form (so that there is state to
// release), restarts the form (its restart button where it shows one,
// otherwise Unload, Show and Refresh, what those buttons do), then closes its
// window through the frame and shows it again. The bytes allocated and the
// resident size are measured after a warm-up and after the cycles.
//
//   lifecycle [--cycles N] [--allowance BYTES] [--forms Name,Name,...]
#include "games/common/navigation.h"
#include "menu/form_catalog.h"
#include "tests/support/form_driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QWindow>
#include <cstdio>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>
#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (GCC does not ship its allocator header).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

long long allocatedBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long long>(m.uordblks) + static_cast<long long>(m.hblkhd);
#endif
}

long long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<long long>(resident) * sysconf(_SC_PAGESIZE);
}

// The button of this kind that a child can press now on the form, if any.
std::string buttonOf(const Form& f, NavigationKind kind)
{
    for (const NavigationButton& b : navigationButtons())
        if (f.name() == b.form && b.kind == kind)
            if (Control* c = f.find(b.name); c && c->visible())
                return c->name();
    return {};
}

// One picture dropped on one target of the form, a different pair each cycle.
void play(Form& f, int cycle)
{
    std::vector<std::string> sources, targets;
    for (const auto& c : f.controls()) {
        if (!c->visible() || !c->enabled() || c->controlClass() != ControlClass::Image)
            continue;
        if (static_cast<const Image&>(*c).dragAutomatic())
            sources.push_back(c->name());
        else if (const ControlHandlers* h = f.formClass().handlersFor(c->name()); h && h->dragDrop)
            targets.push_back(c->name());
    }
    if (!sources.empty() && !targets.empty())
        drag(f, sources[size_t(cycle) % sources.size()], targets[size_t(cycle / int(sources.size())) % targets.size()]);
}

void cycle(Program& program, const std::string& name, int n)
{
    Form& f = program.form(name);
    play(f, n);
    if (const std::string reset = buttonOf(f, NavigationKind::ResetInPlace); !reset.empty())
        click(f, reset);
    if (const std::string restart = buttonOf(f, NavigationKind::Restart); !restart.empty())
        click(f, restart);
    else
        restartForm(f);  // what the restart buttons do, for a form that shows none now
    settle();
    if (FormWindow* w = windowOf(f))
        w->windowHandle()->close();  // through the frame
    settle();
    program.registry().show(name);
    settle();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    int cycles = 10000;
    long long allowance = sanitized ? 8 * 1024 : 64 * 1024;  // the sanitizer counts bytes exactly
    QStringList only;
    const QStringList args = QApplication::arguments().mid(1);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        bool ok = true;
        if (args[i] == QLatin1String("--cycles"))
            cycles = args[i + 1].toInt(&ok);
        else if (args[i] == QLatin1String("--allowance"))
            allowance = args[i + 1].toLongLong(&ok);
        else if (args[i] == QLatin1String("--forms"))
            only = args[i + 1].split(QLatin1Char(','));
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "usage: lifecycle [--cycles N] [--allowance BYTES] [--forms Name,Name,...]\n");
            return 2;
        }
    }
    if (args.size() % 2) {
        std::fprintf(stderr, "usage: lifecycle [--cycles N] [--allowance BYTES] [--forms Name,Name,...]\n");
        return 2;
    }

    std::vector<std::string> forms;
    {
        Program probe;
        forms = probe.registry().formNames();
    }
    if (!only.isEmpty()) {
        forms.clear();
        for (const QString& name : only)
            forms.push_back(cs(name));
    }
    const int warmUp = std::min(cycles, 50);
    bool flat = true;
    QElapsedTimer total;
    total.start();
    std::printf("lifecycle: %d restarts and %d close-and-reopen cycles of each form, allowance %lld bytes\n", cycles,
                cycles, allowance);
    for (const std::string& name : forms) {
        Program program;
        program.show("Start");
        // Another form stays open, so that closing this one does not end the program.
        program.show(name == "Start" ? program.registry().formNames().at(1) : name);
        program.show(name);
        for (int n = 0; n < warmUp; ++n)
            cycle(program, name, n);
        const long long bytesBefore = allocatedBytes(), residentBefore = residentBytes();
        QElapsedTimer clock;
        clock.start();
        for (int n = 0; n < cycles; ++n)
            cycle(program, name, warmUp + n);
        const double seconds = double(clock.elapsed()) / 1000.0;
        long long grown = allocatedBytes() - bytesBefore, residentGrown = residentBytes() - residentBefore;
        // Under AddressSanitizer the resident size follows its quarantine of freed blocks, not the program.
        auto within = [&](long long bytes, long long resident, long long limit) {
            return bytes <= limit && (sanitized || resident <= 4 * limit);
        };
        bool ok = within(grown, residentGrown, allowance);
        QString note;
        if (!ok && !program.registry().ended()) {
            // A cache filling up once (a font's glyphs, a timer's object) is no leak: a leak
            // goes on growing over as many cycles again.
            const long long bytesThen = allocatedBytes(), residentThen = residentBytes();
            for (int n = 0; n < cycles; ++n)
                cycle(program, name, warmUp + cycles + n);
            const long long more = allocatedBytes() - bytesThen, residentMore = residentBytes() - residentThen;
            ok = within(more, residentMore, allowance / 2);
            note = QStringLiteral(", then %1 B and %2 kB over %3 more cycles")
                       .arg(more)
                       .arg(residentMore / 1024)
                       .arg(cycles);
        }
        ok = ok && !program.registry().ended();
        flat = flat && ok;
        std::printf("  %-16s %6.1f s  allocated %+8lld B  resident %+8lld kB%s  %s\n", name.c_str(), seconds, grown,
                    residentGrown / 1024, qPrintable(note),
                    ok                           ? "flat"
                    : program.registry().ended() ? "ENDED"
                                                 : "GROWS");
        std::fflush(stdout);
    }
    std::printf("lifecycle: %s in %.0f s\n", flat ? "memory flat for every form" : "memory GROWS",
                double(total.elapsed()) / 1000.0);
    return flat ? 0 : 1;
}
