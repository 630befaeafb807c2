#include "runtime/form_class.h"

#include "runtime/runtime_error.h"

#include <algorithm>

namespace tuvrel {

FormClass::FormClass(FormDescription description) : description_(std::move(description)) {}

ControlHandlers& FormClass::slot(const QString& control)
{
    const bool known = std::any_of(
        description_.rows.begin(), description_.rows.end(),
        [&](const ControlDescription& row) { return row.name.compare(control, Qt::CaseInsensitive) == 0; });
    if (!known)
        throw RuntimeError("form " + description_.name.toStdString() + " has no control " + control.toStdString());
    return handlers_[control.toLower()];
}

FormClass& FormClass::onClick(const QString& control, ClickHandler handler)
{
    slot(control).click = std::move(handler);
    return *this;
}

FormClass& FormClass::onDragDrop(const QString& control, DragDropHandler handler)
{
    slot(control).dragDrop = std::move(handler);
    return *this;
}

FormClass& FormClass::onChange(const QString& control, ChangeHandler handler)
{
    slot(control).change = std::move(handler);
    return *this;
}

const ControlHandlers* FormClass::handlersFor(const QString& control) const
{
    auto it = handlers_.constFind(control.toLower());
    return it == handlers_.constEnd() ? nullptr : &*it;
}

}  // namespace tuvrel
