#pragma once
// A form: one instance per form class, kept by the registry for the life of
// the program. While loaded it owns its controls; Unload destroys them and the
// next Show builds them afresh from the description. The form turns pointer
// and key input (in form pixels) into Click, DragDrop and Change.
#include "runtime/control.h"
#include "runtime/form_class.h"
#include "runtime/form_view.h"
#include "runtime/geometry.h"
#include "runtime/picture.h"
#include "runtime/runtime_error.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tuvrel {

class FormRegistry;

// The pointer's buttons and the keys that mean something to a form; a front
// end turns its platform's into these.
enum class MouseButton { Left, Right, Middle, Other };
enum class Key { Tab, Backtab, Space, Enter, Return, Other };

// An automatic drag in progress: the outline of the dragged image follows the pointer.
struct DragState {
    Image* source = nullptr;
    Point grabOffset;  // pointer position inside the source at the press
    Rect outline;      // form pixels
};

class Form {
public:
    Form(FormRegistry& registry, const FormClass& formClass);
    ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return class_.name(); }
    const FormClass& formClass() const { return class_; }
    const FormDescription& description() const { return class_.description(); }
    FormRegistry& registry() const { return registry_; }
    Size clientSize() const;  // pixels

    // ---- form operations ----
    void show();     // build if not loaded, then bring to the front
    void unload();   // destroy the controls and the window; safe inside the form's own handler
    void refresh();  // repaint at once
    bool isLoaded() const { return loaded_ != nullptr; }
    // Changes at every load and unload: code that ran a handler checks it to
    // know whether the controls it held still exist.
    std::uint64_t generation() const { return generation_; }

    // ---- controls (only while loaded) ----
    const std::vector<std::unique_ptr<Control>>& controls() const;
    Control* find(std::string_view name) const;  // any letter case; nullptr if none
    Image& image(std::string_view name) const;   // throw RuntimeError when missing or of another class
    Label& label(std::string_view name) const;
    CommandButton& button(std::string_view name) const;
    Shape& shape(std::string_view name) const;
    Line& line(std::string_view name) const;
    // The control of a handle of this form's class, without a lookup by name.
    template <class T>
    T& operator[](ControlHandle<T> handle) const
    {
        if (handle.formClass() != class_.identity())
            throw RuntimeError("form " + name() + " was given a control handle of another form");
        return static_cast<T&>(*controls().at(size_t(handle.row())));
    }
    Menu* menu() const;  // the menu-bar item, if the form has one
    const Picture& icon() const;
    const Picture& background() const;
    // Controls that are painted, from the back to the front (command buttons last).
    const std::vector<Control*>& paintOrder() const;

    // ---- input, in form pixels ----
    Control* hitTest(Point point) const;  // front-most visible image, label or button
    void mousePress(Point point, MouseButton button);
    void mouseMove(Point point);
    // overThisForm is false when the pointer is released outside the form's
    // window or over another window lying on top of it.
    void mouseRelease(Point point, MouseButton button, bool overThisForm = true);
    void keyPress(Key key);
    void chooseMenu();       // the menu-bar item was chosen
    void cancelInput();      // forget a press or drag in progress (the window lost the pointer)
    void restDragOutline();  // a drag under way shows its outline on the dragged picture again
    std::string toolTipAt(Point point) const;

    const std::optional<DragState>& drag() const;
    CommandButton* pressedButton() const;  // the button held down with the pointer over it
    CommandButton* focusedButton() const;

    // ---- called by controls ----
    void invalidate(const Rect& pixelArea) const;
    void raiseChange(Label& label);
    void controlVisibilityChanged(Control& control);

    // ---- window bookkeeping kept across loads ----
    std::optional<WindowPlacement> windowPlacement;  // where the window last stood on the screen
    FormView* view() const { return view_.get(); }

private:
    struct Loaded;

    void load();
    Loaded& loaded() const;
    template <class T>
    T& typed(std::string_view name, ControlClass cls) const;
    void setFocus(CommandButton* button);
    std::vector<CommandButton*> focusOrder() const;
    void moveFocus(int step);
    void raiseClick(Control& control);

    FormRegistry& registry_;
    const FormClass& class_;
    std::unique_ptr<Loaded> loaded_;
    std::unique_ptr<FormView> view_;
    std::uint64_t generation_ = 0;
};

}  // namespace tuvrel
