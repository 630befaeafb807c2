#pragma once
// What the core asks of a front end's windows. The core runs without any of
// it (views may be absent), which is how the model is tested.
#include "runtime/geometry.h"

#include <memory>
#include <string>
#include <vector>

namespace tuvrel {

class Form;

// Where a form's window stood when it was destroyed, for the window that
// replaces it: its client area on the screen (outside a maximised or
// fullscreen state) and whether it was maximised. Kept by the form for its
// front end.
struct WindowPlacement {
    Rect geometry;
    bool maximized = false;
};

// The window (or page layer) of one loaded form.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void invalidate(const Rect& pixelArea) = 0;  // repaint this area soon
    virtual void repaintNow() = 0;                       // repaint everything before returning
    virtual void bringToFront() = 0;                     // show, raise and activate
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    virtual std::unique_ptr<FormView> createView(Form& form) = 0;
    // Modal box with the exclamation icon, the title (possibly empty) and one
    // OK button; returns once it is closed.
    virtual void messageBox(const std::string& text, const std::string& title) = 0;
    // The program ends: leave the event loop with this exit code.
    virtual void quit(int exitCode) = 0;
    // A runtime operation failed; tell the user before the program stops.
    virtual void reportError(const std::string& message) = 0;
    // Reads the texts aloud, one after the other, in place of whatever is
    // being read now; an empty list only stops it. The registry asks only
    // while reading aloud is on (FormRegistry::setReadAloud). A front end
    // without a voice for the program's language stays silent.
    virtual void readAloud(const std::vector<std::string>& texts) { (void)texts; }
};

}  // namespace tuvrel
