#pragma once
// A form class: the description a form is built from and the handlers of its
// controls, bound by control name. It holds no state, so a form rebuilt after
// Unload has its handlers again without any wiring.
#include "runtime/form_description.h"

#include <QHash>
#include <QString>
#include <functional>

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

    const QString& name() const { return description_.name; }
    const FormDescription& description() const { return description_; }

    // Control names are compared without regard to letter case.
    FormClass& onClick(const QString& control, ClickHandler handler);
    FormClass& onDragDrop(const QString& control, DragDropHandler handler);
    FormClass& onChange(const QString& control, ChangeHandler handler);

    const ControlHandlers* handlersFor(const QString& control) const;

private:
    ControlHandlers& slot(const QString& control);

    FormDescription description_;
    QHash<QString, ControlHandlers> handlers_;  // key: lower-case control name
};

}  // namespace tuvrel
