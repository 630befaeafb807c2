#pragma once
// What the widget-free model asks of the windowing layer. The model runs
// without any of it (views may be absent), which is how the model is tested.
#include <QRect>
#include <QString>
#include <memory>

namespace tuvrel {

class Form;

// Where a form's window stood when it was destroyed, for the window that
// replaces it: its client area on the screen (outside a maximised or
// fullscreen state) and whether it was maximised.
struct WindowPlacement {
    QRect geometry;
    bool maximized = false;
};

// The window of one loaded form.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void invalidate(const QRect& pixelArea) = 0;  // repaint this area soon
    virtual void repaintNow() = 0;                        // repaint everything before returning
    virtual void bringToFront() = 0;                      // show, raise and activate
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual std::unique_ptr<FormView> createView(Form& form) = 0;
    // Modal box with the exclamation icon, the title (possibly empty) and one OK button.
    virtual void messageBox(const QString& text, const QString& title) = 0;
    // The program ends: leave the event loop with this exit code.
    virtual void quit(int exitCode) = 0;
    // A runtime operation failed; tell the user before the program stops.
    virtual void reportError(const QString& message) = 0;
};

}  // namespace tuvrel
