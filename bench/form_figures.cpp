// Opening, repainting and dragging, measured on the program's real form
// windows inside this process, each against a bare window of the same size.
#include "bench/figures.h"

#include "desktop/form_window.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"

#include <QCoreApplication>
#include <QWidget>
#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace tuvrel::bench {

namespace {

long area(const QRegion& region)
{
    long pixels = 0;
    for (const QRect& r : region)
        pixels += long(r.width()) * r.height();
    return pixels;
}

FormCanvas* canvasOf(const Form& form)
{
    FormWindow* window = QtWindowSystem::windowOf(form);
    return window ? window->canvas() : nullptr;
}

// Show of a form that is not loaded, until its canvas has been painted and
// the frame handed to the screen.
bool openForm(Form& form, PaintLog& log, double& ms)
{
    log.reset();
    const double start = monotonicMs();
    form.show();
    FormCanvas* canvas = canvasOf(form);
    const bool painted = canvas && waitUntil([&] { return log.painted(canvas); });
    ms = monotonicMs() - start;
    return painted;
}

void closeForm(Form& form)
{
    form.unload();
    settle();
}

// The baseline of opening: an empty window of the same size.
bool openEmptyWindow(QSize size, PaintLog& log, double& ms)
{
    log.reset();
    const double start = monotonicMs();
    auto window = std::make_unique<QWidget>();
    window->resize(size);
    window->show();
    const bool painted = waitUntil([&] { return log.painted(window.get()); });
    ms = monotonicMs() - start;
    window.reset();
    settle();
    return painted;
}

bool repaintOnce(QWidget* canvas, PaintLog& log, double& ms)
{
    log.reset(canvas);
    const double start = monotonicMs();
    canvas->repaint();
    ms = monotonicMs() - start;
    return log.painted(canvas);
}

}  // namespace

Image* draggablePicture(const Form& form)
{
    for (const auto& c : form.controls()) {
        if (c->controlClass() != ControlClass::Image || !c->visible())
            continue;
        auto* image = static_cast<Image*>(c.get());
        if (image->dragAutomatic() && !image->picture().isEmpty() && form.hitTest(image->pixelRect().center()) == image)
            return image;
    }
    return nullptr;
}

QPoint circlePoint(int i)
{
    // The pointer goes round a small circle, a few pixels a move, as a hand does.
    static constexpr std::array<QPoint, 8> Circle = {QPoint(8, 0),  QPoint(6, 6),   QPoint(0, 8),  QPoint(-6, 6),
                                                     QPoint(-8, 0), QPoint(-6, -6), QPoint(0, -8), QPoint(6, -6)};
    const int n = int(Circle.size());
    return Circle[size_t((i % n + n) % n)];
}

namespace {

struct MoveResult {
    double ms = 0;
    QRegion painted;
    QRegion expected;
    int otherPaints = 0;
    bool ok = false;
};

// One move of the pointer with the button held, until its repaint is done.
// boxNow() gives the dragged rectangle as the window knows it.
template <class BoxNow>
MoveResult moveOnce(QWidget* canvas, QPoint to, PaintLog& log, BoxNow boxNow)
{
    MoveResult r;
    const QRect old = boxNow();
    log.reset(canvas);
    const double start = monotonicMs();
    pointerMove(canvas, to, true);
    // The move asks for a repaint; it is delivered with the posted events.
    QCoreApplication::sendPostedEvents();
    if (!log.painted(canvas))
        waitUntil([&] { return log.painted(canvas); }, 2000);
    r.ms = monotonicMs() - start;
    r.ok = log.painted(canvas);
    r.painted = log.trackedRegion();
    r.expected = (QRegion(old) + QRegion(boxNow())) & QRegion(canvas->rect());
    r.otherPaints = log.otherPaints();
    return r;
}

// The form opened again for the next figures; when it is not painted, that
// is its failure and it is closed again.
bool reopen(FormFigures& f, Form& form, PaintLog& log)
{
    double ms = 0;
    if (openForm(form, log, ms)) {
        settle();
        return true;
    }
    f.failure = "the window was never painted";
    closeForm(form);
    return false;
}

// A drag of the form's draggable picture, in canvas pixels (the canvas may
// show the form at any scale), against a bare canvas of the same size dragging
// a box as large as the outline.
void measureDrag(FormFigures& f, DragFigures& into, Form& form, BareWindow& bare, PaintLog& log,
                 const Settings& settings)
{
    Image* source = draggablePicture(form);
    if (!source)
        return;
    f.dragSource = toQt(source->name());
    FormCanvas* canvas = canvasOf(form);
    const FormTransform t = canvas->transform();
    const QPoint from = toQt(t.toCanvas(source->pixelRect().center()));
    BareCanvas* bareCanvas = bare.canvas();
    bareCanvas->setBox(toQt(t.toCanvas(source->pixelRect())));

    // Blocks of moves, the bare window's and the form's in turn, so that both
    // meet the same moments of a busy machine. The first block of each warms
    // up and is not counted.
    constexpr int Block = 25;
    int done = -Block;
    while (done < settings.dragMoves) {
        const int n = std::min(Block, settings.dragMoves - done);
        const bool counted = done >= 0;

        pointerPress(bareCanvas, from);
        settle();
        for (int i = 0; i < n; ++i) {
            MoveResult m = moveOnce(bareCanvas, from + circlePoint(done + i), log, [&] { return bareCanvas->box(); });
            if (m.ok && counted)
                into.move.baseline.add(m.ms);
        }
        pointerMove(bareCanvas, from, true);
        pointerRelease(bareCanvas, from);
        settle();

        pointerPress(canvas, from);
        settle();
        if (!form.drag()) {
            f.failure = "pressing " + f.dragSource + " started no drag";
            return;
        }
        for (int i = 0; i < n; ++i) {
            MoveResult m = moveOnce(canvas, from + circlePoint(done + i), log,
                                    [&] { return form.drag() ? toQt(t.toCanvas(form.drag()->outline)) : QRect(); });
            if (!m.ok) {
                f.failure = "a drag move was not repainted";
                continue;
            }
            if (!counted)
                continue;
            into.move.program.add(m.ms);
            into.paintedPixels.add(double(area(m.painted)));
            into.outlinePixels.add(double(area(m.expected)));
            if (!(m.painted - m.expected).isEmpty())
                ++into.movesBeyondOutline;
            if (!(m.expected - m.painted).isEmpty())
                ++into.movesShortOfOutline;
            into.otherWidgetPaints += m.otherPaints;
        }
        // Back over the picture itself: released there, nothing is dropped.
        pointerMove(canvas, from, true);
        pointerRelease(canvas, from);
        settle();
        done += n;
    }
}

// Lets the event loop run for a while: a window whose scale has just changed
// is painted exactly once it has settled.
void waitForSettledScale()
{
    waitUntil([] { return false; }, 300);
}

// The window and the bare window made to show canvases of one size, each
// painted; false if either was not.
bool resizeBoth(FormWindow* window, BareWindow& bare, QSize windowSize, PaintLog& log)
{
    auto resized = [&](QWidget* canvas, const std::function<void()>& resize) {
        const QSize before = canvas->size();
        log.reset();
        resize();
        settle();
        return canvas->size() == before || waitUntil([&] { return log.painted(canvas); });
    };
    return resized(window->canvas(), [&] { window->resize(windowSize); }) &&
           resized(bare.canvas(), [&] { bare.setCanvasSize(window->canvas()->size()); });
}

// The form fullscreen on a screen of this size: full repaints and a drag.
void measureScreen(FormFigures& f, ScreenFigures& into, Form& form, PaintLog& log, const Settings& settings)
{
    FormWindow* window = QtWindowSystem::windowOf(form);
    BareWindow bare(f.canvasSize);
    bare.show();
    waitUntil([&] { return log.painted(bare.canvas()); });
    if (!resizeBoth(window, bare, into.screen, log)) {
        f.failure = QStringLiteral("not painted at %1x%2").arg(into.screen.width()).arg(into.screen.height());
        return;
    }
    waitForSettledScale();
    double ms = 0;
    for (int i = 0; i < settings.paintRepeats; ++i) {
        if (repaintOnce(bare.canvas(), log, ms))
            into.repaint.baseline.add(ms);
        if (repaintOnce(window->canvas(), log, ms))
            into.repaint.program.add(ms);
    }
    measureDrag(f, into.drag, form, bare, log, settings);
}

// The window's corner dragged out step by step from the form's own size, as a
// hand does, each step until the canvas is repainted; against a bare window
// resized the same. Then the exact repaint once the corner has stopped.
void measureResize(FormFigures& f, Form& form, PaintLog& log, const Settings& settings)
{
    FormWindow* window = QtWindowSystem::windowOf(form);
    BareWindow bare(f.canvasSize);
    bare.show();
    waitUntil([&] { return log.painted(bare.canvas()); });
    if (!resizeBoth(window, bare, f.windowSize, log))
        return;
    waitForSettledScale();
    constexpr QSize Step(12, 8);
    for (int i = 1; i <= settings.resizeSteps; ++i) {
        log.reset(bare.canvas());
        double start = monotonicMs();
        bare.setCanvasSize(f.canvasSize + Step * i);
        if (waitUntil([&] { return log.painted(bare.canvas()); }))
            f.resizeStep.baseline.add(monotonicMs() - start);
        log.reset(window->canvas());
        start = monotonicMs();
        window->resize(f.windowSize + Step * i);
        if (waitUntil([&] { return log.painted(window->canvas()); }))
            f.resizeStep.program.add(monotonicMs() - start);
    }
    log.reset(window->canvas());
    if (waitUntil([&] { return log.painted(window->canvas()); }, 2000))
        f.settledRepaintMs = monotonicMs() - log.trackedPaintStartMs();
}

}  // namespace

std::vector<FormFigures> measureForms(FormRegistry& registry, const Settings& settings)
{
    PaintLog log;
    std::vector<FormFigures> all;

    // The first Show of every form: its pictures are decoded now, once per
    // asset; the window's size is learnt for the baselines.
    std::vector<std::string> names = registry.formNames();
    if (!settings.onlyForms.isEmpty()) {
        names.clear();
        for (const QString& name : settings.onlyForms)
            names.push_back(fromQt(name));
    }
    for (const std::string& name : names) {
        FormFigures f;
        f.name = toQt(name);
        try {
            if (!registry.knows(name))
                throw std::runtime_error("no such form");
            Form& form = registry.form(name);
            if (!openForm(form, log, f.firstOpenMs))
                f.failure = "the window was never painted";
            if (FormWindow* window = QtWindowSystem::windowOf(form)) {
                f.windowSize = window->size();
                f.canvasSize = window->canvas()->size();
            }
            if (form.isLoaded())
                f.controls = int(form.controls().size());
            closeForm(form);
        } catch (const std::exception& e) {
            f.failure = QString::fromUtf8(e.what());
        }
        all.push_back(f);
    }
    // Qt's own first window costs more than any later one; not part of the baseline.
    double ignored = 0;
    openEmptyWindow(QSize(1021, 673), log, ignored);

    std::fprintf(stderr, "  opening forms");
    for (int round = 0; round < settings.openRounds; ++round) {
        for (FormFigures& f : all) {
            if (!f.failure.isEmpty())
                continue;
            double ms = 0;
            if (openEmptyWindow(f.windowSize, log, ms))
                f.open.baseline.add(ms);
            Form& form = registry.form(fromQt(f.name));
            if (openForm(form, log, ms))
                f.open.program.add(ms);
            closeForm(form);
        }
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, "\n  repainting and dragging");

    for (FormFigures& f : all) {
        if (!f.failure.isEmpty())
            continue;
        Form& form = registry.form(fromQt(f.name));
        BareWindow bare(f.canvasSize);
        bare.show();
        waitUntil([&] { return bare.canvas()->isVisible() && log.painted(bare.canvas()); });
        if (!reopen(f, form, log))
            continue;
        double ms = 0;
        for (int i = 0; i < settings.paintRepeats; ++i) {
            if (repaintOnce(bare.canvas(), log, ms))
                f.repaint.baseline.add(ms);
            if (repaintOnce(canvasOf(form), log, ms))
                f.repaint.program.add(ms);
        }
        measureDrag(f, f.drag, form, bare, log, settings);
        closeForm(form);
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, "\n  fullscreen and resized");

    for (FormFigures& f : all) {
        if (!f.failure.isEmpty())
            continue;
        Form& form = registry.form(fromQt(f.name));
        if (!reopen(f, form, log))
            continue;
        measureScreen(f, f.fullHd, form, log, settings);
        measureScreen(f, f.ultraHd, form, log, settings);
        measureResize(f, form, log, settings);
        closeForm(form);
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, "\n");
    settle();
    return all;
}

}  // namespace tuvrel::bench
