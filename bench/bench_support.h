#pragma once
// What every part of the benchmark shares: the clock, repeated samples, the
// application set up as the program sets itself up, a log of paint events,
// waiting for a paint, and reading the process's own memory and CPU time.
#include "desktop/form_window.h"

#include <QObject>
#include <QRegion>
#include <QSet>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace tuvrel::bench {

// CLOCK_MONOTONIC in milliseconds: the same clock in every process, so that a
// child can report when it painted and the parent can subtract when it spawned it.
double monotonicMs();

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
    int count = 0;
};

class Samples {
public:
    void add(double value) { values_.push_back(value); }
    bool empty() const { return values_.empty(); }
    int count() const { return int(values_.size()); }
    Summary summary() const;

private:
    std::vector<double> values_;
};

// The application as app/main.cpp makes it: name, Fusion style, bundled fonts;
// Qt's notes about what the offscreen platform cannot do are kept quiet.
void setUpLikeTheProgram();
void silencePlatformNotes();

// The program's window system without the parts that end or interrupt a run.
class BenchWindowSystem : public QtWindowSystem {
public:
    BenchWindowSystem() : QtWindowSystem(false) {}
    void quit(int) override {}
    void messageBox(const std::string&, const std::string&) override {}
};

// Watches every paint event of the application: which widgets were painted
// since the last reset, and the region painted on one tracked widget.
class PaintLog : public QObject {
public:
    PaintLog();
    ~PaintLog() override;
    void reset(QWidget* tracked = nullptr);
    bool painted(const QObject* widget) const { return painted_.contains(widget); }
    int paintCount() const { return count_; }
    // Paint events of widgets other than the tracked one.
    int otherPaints() const { return others_; }
    const QRegion& trackedRegion() const { return region_; }
    // monotonicMs() when the tracked widget's last paint began.
    double trackedPaintStartMs() const { return trackedStartMs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSet<const QObject*> painted_;
    const QObject* tracked_ = nullptr;
    QRegion region_;
    double trackedStartMs_ = 0;
    int count_ = 0;
    int others_ = 0;
};

// Runs the event loop until done() holds or the time is up; false on time-out.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Lets deferred deletions and posted events run.
void settle();

// A window with nothing on it but the form's face colour, painted by a child
// canvas of the given size, as a form window paints its canvas. A press in
// the box drags it: the canvas repaints the box's old and new places.
class BareCanvas : public QWidget {
public:
    explicit BareCanvas(QSize size, QWidget* parent);
    void setBox(QRect box) { box_ = box; }
    QRect box() const { return box_; }
    bool dragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect box_;
    QPoint grab_;
    bool dragging_ = false;
};

class BareWindow : public QWidget {
public:
    explicit BareWindow(QSize canvasSize);
    BareCanvas* canvas() const { return canvas_; }
    // The window made to fit a canvas of another size, as a resize does.
    void setCanvasSize(QSize size);

private:
    BareCanvas* canvas_;
};

// Pointer input through Qt's window-system entry point, as a platform delivers it.
void pointerPress(QWidget* widget, QPoint at);
void pointerMove(QWidget* widget, QPoint at, bool buttonHeld);
void pointerRelease(QWidget* widget, QPoint at);

// This process's resident set now and at its peak, and its CPU time so far.
double residentMb();
double peakResidentMb();
// Memory the allocator has handed out and not yet been given back.
double heapInUseMb();
double cpuMs();

// The reports children write on file descriptor 3 (or stdout when it is not open).
void report(const std::string& line);

std::string machineDescription();
std::string loadAverage();

}  // namespace tuvrel::bench
