#include "runtime/form_class.h"

#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <algorithm>

namespace tuvrel {

FormClass::FormClass(FormDescription description) : description_(std::move(description))
{
    static std::uint64_t lastIdentity = 0;
    identity_ = ++lastIdentity;
}

ControlHandlers& FormClass::slot(std::string_view control)
{
    const bool known = std::any_of(
        description_.rows.begin(), description_.rows.end(),
        [&](const ControlDescription& row) { return equalsIgnoringCase(row.name, control); });
    if (!known)
        throw RuntimeError("form " + description_.name + " has no control " + std::string(control));
    return handlers_[asciiLower(control)];
}

FormClass& FormClass::onClick(std::string_view control, ClickHandler handler)
{
    slot(control).click = std::move(handler);
    return *this;
}

FormClass& FormClass::onDragDrop(std::string_view control, DragDropHandler handler)
{
    slot(control).dragDrop = std::move(handler);
    return *this;
}

FormClass& FormClass::onChange(std::string_view control, ChangeHandler handler)
{
    slot(control).change = std::move(handler);
    return *this;
}

int FormClass::rowOf(std::string_view control, ControlClass cls) const
{
    const auto& rows = description_.rows;
    for (size_t i = 0; i < rows.size(); ++i)
        if (equalsIgnoringCase(rows[i].name, control)) {
            if (rows[i].controlClass != cls)
                break;
            return int(i);
        }
    throw RuntimeError("form " + description_.name + " has no control " + std::string(control) +
                       " of the class asked for");
}

const ControlHandlers* FormClass::handlersFor(std::string_view control) const
{
    auto it = handlers_.find(asciiLower(control));
    return it == handlers_.end() ? nullptr : &it->second;
}

}  // namespace tuvrel
