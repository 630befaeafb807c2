#pragma once
// A form class: the description a form is built from and the handlers of its
// controls, bound by control name. It holds no state, so a form rebuilt after
// Unload has its handlers again without any wiring.
#include "runtime/form_description.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tuvrel {

class Form;
class Image;

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
    const FormDescription& description() const { return description_; }

    // Control names are compared without regard to letter case; a name the
    // description does not have is an error at once.
    FormClass& onClick(std::string_view control, ClickHandler handler);
    FormClass& onDragDrop(std::string_view control, DragDropHandler handler);
    FormClass& onChange(std::string_view control, ChangeHandler handler);

    const ControlHandlers* handlersFor(std::string_view control) const;

private:
    ControlHandlers& slot(std::string_view control);

    FormDescription description_;
    std::unordered_map<std::string, ControlHandlers> handlers_;  // key: lower-case control name
};

}  // namespace tuvrel
