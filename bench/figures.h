#pragma once
// The figures the benchmark takes, each with its baseline from the same run.
#include "bench/bench_support.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

namespace tuvrel {
class Form;
class FormRegistry;
class Image;
}  // namespace tuvrel

namespace tuvrel::bench {

struct Settings {
    int startupRuns = 15;
    int openRounds = 11;
    int paintRepeats = 100;
    int dragMoves = 200;
    int resizeSteps = 60;
    int memoryRuns = 3;
    int restarts = 1000;
    int idleRuns = 3;
    int idleSeconds = 10;
    // When not empty: only these forms, and only the figures taken in this process.
    QStringList onlyForms;
    static Settings quick();
};

// Program against baseline.
struct Paired {
    Samples program;
    Samples baseline;
};

// One drag's moves: their times, and what each repainted against the
// outline's old and new rectangles (canvas pixels).
struct DragFigures {
    Paired move;                  // one pointer move, to its repaint done
    Samples paintedPixels;        // per move, what the canvas repainted
    Samples outlinePixels;        // per move, the outline's old and new rectangles together
    int movesBeyondOutline = 0;   // moves that repainted more than those rectangles
    int movesShortOfOutline = 0;  // moves that left part of them unpainted
    int otherWidgetPaints = 0;    // paints of anything but the canvas during moves
};

// A form window made as large as a screen (fullscreen).
struct ScreenFigures {
    QSize screen;
    Paired repaint;  // one full repaint of the canvas
    DragFigures drag;
};

// Figures of one form, taken inside this process against its real window.
struct FormFigures {
    QString name;
    QString failure;   // why a figure could not be taken, if so
    QSize windowSize;  // the whole window, menu bar included
    QSize canvasSize;
    int controls = 0;
    double firstOpenMs = 0;  // the very first Show, pictures not yet decoded
    Paired open;             // Show until the first paint is done
    Paired repaint;          // one full repaint of the canvas
    // Dragging, when the form has a picture that drags.
    QString dragSource;
    DragFigures drag;
    // Larger: the window fullscreen on a full-HD and on a 4K screen; its
    // corner dragged out step by step, each step until repainted, and the
    // exact repaint once the corner has stopped.
    ScreenFigures fullHd{QSize(1920, 1080), {}, {}};
    ScreenFigures ultraHd{QSize(3840, 2160), {}, {}};
    Paired resizeStep;
    double settledRepaintMs = 0;
};

std::vector<FormFigures> measureForms(FormRegistry& registry, const Settings& settings);

// The picture a child would drag: visible, dragging automatically, and the
// front-most control at its own centre; nullptr if the form has none.
Image* draggablePicture(const Form& form);
// Where the pointer is, relative to where it pressed, at the i-th move of a drag.
QPoint circlePoint(int i);

// Figures of whole processes: the program against bare Qt processes.
struct ProcessFigures {
    bool taken = false;
    Paired startupMs;
    QString startupFailure;
    // On an X server: from spawn until the window's pixels on the server are
    // no longer the one colour they had when it was mapped, seen from outside.
    Paired firstFrameMs;
    QString firstFrameFailure;
    Paired peakMb;  // all forms open against as many empty windows
    int formsOpen = 0;
    double pictureMb = 0;  // of the program's memory: the decoded pictures
    QString memoryFailure;
    QString restartForm;
    int restarts = 0;
    Paired restartGrowthMb;  // resident growth over the restarts
    QString restartFailure;
    int idleSeconds = 0;
    Paired idleCpuMs;
    Paired idleTimerEvents;
    QString idleFailure;
    // At a device pixel ratio of 2 (QT_SCALE_FACTOR=2), each against the same at 1.
    Paired startupAt2Ms;
    Paired emptyStartupAt2Ms;  // the empty window at 2 against at 1
    Paired peakAt2Mb;          // the program, every form open
    Paired emptyPeakAt2Mb;     // as many empty windows
    double pictureAt2Mb = 0;
    QString scaleFailure;
};

// self is this benchmark's own executable, run in its child modes.
ProcessFigures measureProcesses(const std::vector<FormFigures>& forms, const Settings& settings,
                                const std::string& self);

// The child modes: one measurement in a fresh process, reported on descriptor 3.
int runChildMode(const QStringList& args);

}  // namespace tuvrel::bench
