#include "bench/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>
#include <tuple>

namespace tuvrel::bench {

namespace {

std::string number(double v)
{
    char text[32];
    const double a = std::fabs(v);
    const char* format = a >= 100 ? "%.0f" : a >= 10 ? "%.1f" : a >= 1 ? "%.2f" : "%.3f";
    std::snprintf(text, sizeof text, format, v);
    return text;
}

std::string spread(const Samples& s)
{
    if (s.empty())
        return "-";
    const Summary m = s.summary();
    return number(m.median) + " [" + number(m.min) + "-" + number(m.max) + "]";
}

// Ratio of the medians; none when either side is missing or the baseline is nothing.
std::string ratioText(const Paired& p)
{
    if (p.program.empty() || p.baseline.empty() || p.baseline.summary().median <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", p.program.summary().median / p.baseline.summary().median);
    return text;
}

double ratio(const Paired& p)
{
    if (p.program.empty() || p.baseline.empty() || p.baseline.summary().median <= 0)
        return NAN;
    return p.program.summary().median / p.baseline.summary().median;
}

double median(const Samples& s)
{
    return s.empty() ? NAN : s.summary().median;
}

class Table {
public:
    void row(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
    void print() const
    {
        std::vector<size_t> width;
        for (const auto& r : rows_)
            for (size_t i = 0; i < r.size(); ++i) {
                if (width.size() <= i)
                    width.push_back(0);
                width[i] = std::max(width[i], characters(r[i]));
            }
        for (const auto& r : rows_) {
            std::string line;
            for (size_t i = 0; i < r.size(); ++i) {
                line += r[i];
                if (i + 1 < r.size())
                    line += std::string(width[i] - characters(r[i]) + 2, ' ');
            }
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            std::printf("%s\n", line.c_str());
        }
    }

private:
    // Columns are lined up by characters, not bytes (the tables hold "≤" and "×").
    static size_t characters(const std::string& s)
    {
        return size_t(
            std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    }
    std::vector<std::vector<std::string>> rows_;
};

// A note in lines of at most about 110 characters, the later ones indented.
void printWrapped(const std::string& text)
{
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > 110) {
            std::printf("%s\n", line.c_str());
            line = "  ";
        } else if (!line.empty() && line != "  ") {
            line += ' ';
        }
        line += word;
    }
    if (!line.empty())
        std::printf("%s\n", line.c_str());
}

std::string yesNo(bool met)
{
    return met ? "yes" : "NO";
}

const FormFigures* worst(const std::vector<FormFigures>& forms, const std::function<double(const FormFigures&)>& value)
{
    const FormFigures* w = nullptr;
    double most = -1;
    for (const FormFigures& f : forms) {
        const double v = value(f);
        if (!std::isnan(v) && v > most) {
            most = v;
            w = &f;
        }
    }
    return w;
}

// The rows of a drag: the worst form's move time against its goal, and what
// the moves repainted against the outline's old and new rectangles.
template <class Judged>
void dragRows(Table& t, std::vector<std::string>& notes, const std::vector<FormFigures>& forms, const std::string& row,
              const std::string& where, const std::function<const DragFigures&(const FormFigures&)>& of, double goalMs,
              Judged& judged)
{
    const FormFigures* w = worst(forms, [&](const FormFigures& f) { return median(of(f).move.program); });
    if (!w)
        return;
    const DragFigures& d = of(*w);
    std::ostringstream goal;
    goal << "≤ " << goalMs << " ms";
    t.row({row, "one move in a drag" + where + " until repainted, worst form (" + w->name.toStdString() + "), ms",
           std::to_string(d.move.program.count()), spread(d.move.program), spread(d.move.baseline), ratioText(d.move),
           goal.str(), judged(median(d.move.program) <= goalMs)});
    int dragForms = 0, moves = 0, beyond = 0, shortOf = 0, others = 0;
    Samples painted, outline;
    for (const FormFigures& f : forms) {
        const DragFigures& x = of(f);
        if (x.move.program.empty())
            continue;
        ++dragForms;
        moves += x.move.program.count();
        beyond += x.movesBeyondOutline;
        shortOf += x.movesShortOfOutline;
        others += x.otherWidgetPaints;
        painted.add(median(x.paintedPixels));
        outline.add(median(x.outlinePixels));
    }
    t.row({row, "pixels repainted a move" + where + ", " + std::to_string(dragForms) + " forms", std::to_string(moves),
           spread(painted), spread(outline), "-", "outline only", judged(beyond == 0 && shortOf == 0 && others == 0)});
    notes.push_back(row + ": the baseline drags a box of the same size over a bare canvas" + where +
                    ", repainting its old and new places; in the pixel row it is the area of the outline's old and new "
                    "rectangles, in canvas pixels. Moves that repainted beyond them: " +
                    std::to_string(beyond) + " of " + std::to_string(moves) + ", short of them: " +
                    std::to_string(shortOf) + "; paints of other widgets: " + std::to_string(others));
}

}  // namespace

int printReport(const RunInfo& info, const std::vector<FormFigures>& forms, const ProcessFigures& p)
{
    int notMet = 0;
    auto judged = [&](bool met) {
        notMet += met ? 0 : 1;
        return yesNo(met);
    };
    const bool offscreen = info.platform == "offscreen";

    std::printf("Tuvrel benchmark, platform %s, Qt %s, %s\n", info.platform.c_str(), info.qtVersion.c_str(),
                info.machine.c_str());
    std::printf("load average before %s, after %s; the run took %.0f s\n", info.loadBefore.c_str(),
                info.loadAfter.c_str(), info.seconds);
    std::printf("Each figure: median [min-max] of n runs; the baseline is taken in the same run, in turn with it.\n\n");

    Table t;
    t.row({"#", "figure", "n", "Tuvrel", "baseline", "ratio", "goal", "met"});
    std::vector<std::string> notes;

    // 1 start-up
    if (p.taken) {
        const double r = ratio(p.startupMs);
        t.row({"1", "start-up until Start is painted, ms", std::to_string(p.startupMs.program.count()),
               spread(p.startupMs.program), spread(p.startupMs.baseline), ratioText(p.startupMs), "ratio ≤ 1.3",
               std::isnan(r) ? judged(false) : judged(r <= 1.3)});
        notes.emplace_back(
            "1: the baseline is a process showing one empty 1021×673 window; both from spawn to first frame");
    }
    // 1b the first frame as the X server has it
    if (p.taken && p.firstFrameMs.program.count() > 0) {
        const double r = ratio(p.firstFrameMs);
        t.row({"1b", "first frame of Start on the X server, seen from outside, ms",
               std::to_string(p.firstFrameMs.program.count()), spread(p.firstFrameMs.program),
               spread(p.firstFrameMs.baseline), ratioText(p.firstFrameMs), "ratio ≤ 1.3",
               std::isnan(r) ? judged(false) : judged(r <= 1.3)});
        notes.emplace_back("1b: a watcher spawns each and reads the window's pixels from the X server until they "
                           "change from what the window showed when it was mapped; the baseline as in 1");
    }
    // 2 opening
    if (const FormFigures* w = worst(forms, [](const FormFigures& f) { return ratio(f.open); })) {
        const double r = ratio(w->open);
        t.row({"2", "Show until painted, worst form (" + w->name.toStdString() + "), ms",
               std::to_string(w->open.program.count()), spread(w->open.program), spread(w->open.baseline),
               ratioText(w->open), "ratio ≤ 2.0", judged(r <= 2.0)});
        notes.push_back("2: of " + std::to_string(forms.size()) +
                        " forms, by ratio; the baseline shows an empty window of the same size");
    }
    // 3 painting
    if (const FormFigures* w = worst(forms, [](const FormFigures& f) { return median(f.repaint.program); })) {
        const double ms = median(w->repaint.program);
        t.row({"3", "one full repaint, worst form (" + w->name.toStdString() + "), ms",
               std::to_string(w->repaint.program.count()), spread(w->repaint.program), spread(w->repaint.baseline),
               ratioText(w->repaint), "< 0.5 ms offscreen", offscreen ? judged(ms < 0.5) : "(offscreen)"});
        notes.emplace_back("3: the baseline repaints the bare background on a canvas of the same size");
    }
    // 4 dragging
    dragRows(
        t, notes, forms, "4", "", [](const FormFigures& f) -> const DragFigures& { return f.drag; }, 0.2, judged);
    // 5 memory
    if (p.taken) {
        const double r = ratio(p.peakMb);
        t.row({"5", "peak resident memory, " + std::to_string(p.formsOpen) + " forms open, MB",
               std::to_string(p.peakMb.program.count()), spread(p.peakMb.program), spread(p.peakMb.baseline),
               ratioText(p.peakMb), "ratio ≤ 1.2", std::isnan(r) ? judged(false) : judged(r <= 1.2)});
        const double growth = median(p.restartGrowthMb.program);
        t.row({"5",
               "resident growth over " + std::to_string(p.restarts) + " restarts of " + p.restartForm.toStdString() +
                   ", MB",
               std::to_string(p.restartGrowthMb.program.count()), spread(p.restartGrowthMb.program),
               spread(p.restartGrowthMb.baseline), "-", "< 1 MB",
               std::isnan(growth) ? judged(false) : judged(growth < 1.0)});
        notes.push_back("5: the baselines are as many empty windows of the same sizes, and one empty window made and "
                        "destroyed as often; the program's decoded pictures take " +
                        number(p.pictureMb) + " MB; the restarted form is the one with the most controls");
    }
    // 6 idle
    if (p.taken) {
        t.row({"6", "CPU time while idle, every form open, ms", std::to_string(p.idleCpuMs.program.count()),
               spread(p.idleCpuMs.program), spread(p.idleCpuMs.baseline), ratioText(p.idleCpuMs), "none", "-"});
        t.row({"6", "timer events in that time", std::to_string(p.idleTimerEvents.program.count()),
               spread(p.idleTimerEvents.program), spread(p.idleTimerEvents.baseline), "-", "no timers",
               p.idleTimerEvents.program.empty() ? judged(false) : judged(median(p.idleTimerEvents.program) == 0)});
        notes.push_back("6: " + std::to_string(p.idleSeconds) +
                        " s without input; the baseline is as many empty windows");
    }
    // 7 at a larger scale
    if (p.taken) {
        const double r = ratio(p.startupAt2Ms);
        t.row({"7", "start-up at QT_SCALE_FACTOR=2 until Start is painted, ms",
               std::to_string(p.startupAt2Ms.program.count()), spread(p.startupAt2Ms.program),
               spread(p.startupAt2Ms.baseline), ratioText(p.startupAt2Ms), "ratio ≤ 1.5",
               std::isnan(r) ? judged(false) : judged(r <= 1.5)});
        const double m = ratio(p.peakAt2Mb);
        t.row({"7", "peak resident memory at QT_SCALE_FACTOR=2, " + std::to_string(p.formsOpen) + " forms open, MB",
               std::to_string(p.peakAt2Mb.program.count()), spread(p.peakAt2Mb.program), spread(p.peakAt2Mb.baseline),
               ratioText(p.peakAt2Mb), "ratio ≤ 2.0", std::isnan(m) ? judged(false) : judged(m <= 2.0)});
        notes.push_back(
            "7: the baselines are the program at QT_SCALE_FACTOR=1, taken in turn with it (start-up) and in "
            "row 5 (memory). The empty window of row 1 starts in " +
            spread(p.emptyStartupAt2Ms.program) + " ms at 2 against " + spread(p.emptyStartupAt2Ms.baseline) +
            " at 1 (ratio " + ratioText(p.emptyStartupAt2Ms) + "). As many empty windows take " +
            spread(p.emptyPeakAt2Mb.program) + " MB at 2 against " + spread(p.emptyPeakAt2Mb.baseline) +
            " at 1 (ratio " + ratioText(p.emptyPeakAt2Mb) +
            "): a window's buffer grows with the square of the factor. "
            "The program's decoded pictures take " +
            number(p.pictureAt2Mb) + " MB at 2");
    }
    for (const auto& [screen, of, goalMs] : {std::tuple{std::string("1920×1080"), &FormFigures::fullHd, 2.0},
                                             std::tuple{std::string("3840×2160"), &FormFigures::ultraHd, 6.0}}) {
        const auto figuresAt = of;  // clang before 16 cannot capture a structured binding
        const FormFigures* w = worst(
            forms, [figuresAt](const FormFigures& f) { return median((f.*figuresAt).repaint.program); });
        if (!w)
            continue;
        const Paired& r = (w->*of).repaint;
        std::ostringstream goal;
        goal << "≤ " << goalMs << " ms offscreen";
        t.row({"7", "one full repaint fullscreen at " + screen + ", worst form (" + w->name.toStdString() + "), ms",
               std::to_string(r.program.count()), spread(r.program), spread(r.baseline), ratioText(r), goal.str(),
               offscreen ? judged(median(r.program) <= goalMs) : "(offscreen)"});
    }
    dragRows(
        t, notes, forms, "7", " at 3840×2160",
        [](const FormFigures& f) -> const DragFigures& { return f.ultraHd.drag; }, 1.0, judged);
    if (const FormFigures* w = worst(forms, [](const FormFigures& f) {
            return f.resizeStep.program.empty() ? NAN : f.resizeStep.program.summary().max;
        })) {
        const Summary step = w->resizeStep.program.summary();
        const Summary bare = w->resizeStep.baseline.summary();
        t.row({"7",
               "slowest of " + std::to_string(step.count) + " resize steps of a corner drag, worst form (" +
                   w->name.toStdString() + "), ms",
               std::to_string(step.count), number(step.max) + " (median " + number(step.median) + ")",
               number(bare.max) + " (median " + number(bare.median) + ")", "-", "≤ 16 ms", judged(step.max <= 16)});
        notes.push_back(
            "7: the fullscreen rows against a bare canvas of the same size; the resize row: the window's "
            "corner dragged out 12 by 8 pixels a step from the form's own size, each step until the canvas is "
            "repainted, against a bare window resized the same. While the scale changes, a picture not at hand "
            "at the new size is drawn smoothly from the rendering that is; the exact repaint once the corner "
            "stops took " +
            number(w->settledRepaintMs) + " ms on " + w->name.toStdString());
    }
    t.print();
    std::printf("\n");
    for (const std::string& note : notes)
        printWrapped(note);

    for (const QString& failure :
         {p.startupFailure, p.firstFrameFailure, p.memoryFailure, p.restartFailure, p.idleFailure, p.scaleFailure})
        if (!failure.isEmpty())
            std::printf("failed: %s\n", qPrintable(failure));

    std::printf("\nEvery form, ms; each figure beside its baseline's median (an empty window of the same size, the\n"
                "bare background) and the ratio; pixels repainted by a drag move beside the outline's old and new "
                "rectangles\n");
    Table f;
    f.row({"form", "controls", "first Show", "Show", "empty", "ratio", "repaint", "bare", "ratio", "drag move", "bare",
           "ratio", "dragged", "px a move", "outline px"});
    auto med = [](const Samples& s) { return s.empty() ? std::string("-") : number(median(s)); };
    for (const FormFigures& x : forms) {
        if (!x.failure.isEmpty() && x.open.program.empty()) {
            f.row({x.name.toStdString(), std::to_string(x.controls), "failed: " + x.failure.toStdString()});
            continue;
        }
        const bool drags = !x.drag.move.program.empty();
        f.row({x.name.toStdString(), std::to_string(x.controls), number(x.firstOpenMs), spread(x.open.program),
               med(x.open.baseline), ratioText(x.open), spread(x.repaint.program), med(x.repaint.baseline),
               ratioText(x.repaint), drags ? spread(x.drag.move.program) : "-", drags ? med(x.drag.move.baseline) : "-",
               drags ? ratioText(x.drag.move) : "-", drags ? x.dragSource.toStdString() : "-",
               drags ? number(median(x.drag.paintedPixels)) : "-", drags ? number(median(x.drag.outlinePixels)) : "-"});
        if (!x.failure.isEmpty())
            std::printf("%s: %s\n", qPrintable(x.name), qPrintable(x.failure));
    }
    f.print();

    std::printf("\nEvery form at larger sizes, ms: fullscreen on a 1920×1080 and a 3840×2160 screen, and its window's\n"
                "corner dragged out in %d steps, each figure beside a bare canvas of the same size; the slowest step,\n"
                "and the exact repaint once the corner has stopped\n",
                forms.empty() ? 0 : forms.front().resizeStep.program.count());
    Table l;
    l.row({"form", "1920×1080", "bare", "3840×2160", "bare", "drag move", "bare", "slowest step", "bare", "settled"});
    auto slowest = [](const Samples& s) { return s.empty() ? std::string("-") : number(s.summary().max); };
    for (const FormFigures& x : forms) {
        if (x.fullHd.repaint.program.empty())
            continue;
        const bool drags = !x.ultraHd.drag.move.program.empty();
        l.row({x.name.toStdString(), spread(x.fullHd.repaint.program), med(x.fullHd.repaint.baseline),
               spread(x.ultraHd.repaint.program), med(x.ultraHd.repaint.baseline),
               drags ? spread(x.ultraHd.drag.move.program) : "-", drags ? med(x.ultraHd.drag.move.baseline) : "-",
               slowest(x.resizeStep.program), slowest(x.resizeStep.baseline),
               x.settledRepaintMs > 0 ? number(x.settledRepaintMs) : "-"});
    }
    l.print();
    std::printf("\nGoals not met: %d\n", notMet);
    return notMet;
}

}  // namespace tuvrel::bench
