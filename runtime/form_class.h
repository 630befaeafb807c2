#pragma once
// A form class: the description a form is built from and the handlers of its
// controls, bound by control name. It holds no state, so a form rebuilt after
// Unload has its handlers again without any wiring.
#include "runtime/form_description.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tuvrel {

class Form;
class Control;
class Image;
class Label;
class CommandButton;
class Shape;
class Line;
class FormClass;

// A control of a form class, resolved once by name and class: a form gives
// its control for it without looking the name up (`form[handle]`). Handles
// are made when the form class is built, so that a name a handler uses but
// the description lacks stops the program at its start, not when a child
// reaches that handler; they hold for every load of the form, since a form is
// always built from the same rows.
template <class T>
class ControlHandle {
public:
    ControlHandle() = default;
    int row() const { return row_; }
    // The form class it was made by (FormClass::identity()).
    std::uint64_t formClass() const { return class_; }

private:
    friend class FormClass;
    ControlHandle(std::uint64_t cls, int row) : class_(cls), row_(row) {}
    std::uint64_t class_ = 0;
    int row_ = -1;
};
using ImageHandle = ControlHandle<Image>;
using LabelHandle = ControlHandle<Label>;
using ButtonHandle = ControlHandle<CommandButton>;
using ShapeHandle = ControlHandle<Shape>;
using LineHandle = ControlHandle<Line>;

using ClickHandler = std::function<void(Form&)>;
using DragDropHandler = std::function<void(Form&, Image& source)>;
using ChangeHandler = std::function<void(Form&)>;

struct ControlHandlers {
    ClickHandler click;
    DragDropHandler dragDrop;
    ChangeHandler change;
};

class FormClass {
public:
    explicit FormClass(FormDescription description);

    const std::string& name() const { return description_.name; }
    // A number of its own, kept when the class is copied or moved into the
    // program's list, so that a handle knows the class it belongs to.
    std::uint64_t identity() const { return identity_; }
    const FormDescription& description() const { return description_; }

    // Control names are compared without regard to letter case; a name the
    // description does not have is an error at once.
    FormClass& onClick(std::string_view control, ClickHandler handler);
    FormClass& onDragDrop(std::string_view control, DragDropHandler handler);
    FormClass& onChange(std::string_view control, ChangeHandler handler);

    const ControlHandlers* handlersFor(std::string_view control) const;

    // Handles of the described controls; a name the description lacks, or a
    // control of another class, is a RuntimeError.
    ImageHandle image(std::string_view control) const { return handle<Image>(control, ControlClass::Image); }
    LabelHandle label(std::string_view control) const { return handle<Label>(control, ControlClass::Label); }
    ButtonHandle button(std::string_view control) const
    {
        return handle<CommandButton>(control, ControlClass::CommandButton);
    }
    ShapeHandle shape(std::string_view control) const { return handle<Shape>(control, ControlClass::Shape); }
    LineHandle line(std::string_view control) const { return handle<Line>(control, ControlClass::Line); }

private:
    int rowOf(std::string_view control, ControlClass cls) const;
    template <class T>
    ControlHandle<T> handle(std::string_view control, ControlClass cls) const
    {
        return ControlHandle<T>(identity_, rowOf(control, cls));
    }

    ControlHandlers& slot(std::string_view control);

    FormDescription description_;
    std::uint64_t identity_;
    std::unordered_map<std::string, ControlHandlers> handlers_;  // key: lower-case control name
};

}  // namespace tuvrel
