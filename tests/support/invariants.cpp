#include "tests/support/invariants.h"

#include <algorithm>
#include <cstdio>

namespace tuvrel::test {

std::string hex8(std::uint32_t value)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", unsigned(value));
    return digits;
}

std::string rectText(const Rect& r)
{
    return says(r.left(), ',', r.top(), ' ', r.width(), 'x', r.height());
}

std::string joined(const std::vector<std::string>& items, std::string_view separator)
{
    std::string all;
    for (const std::string& item : items) {
        if (!all.empty())
            all += separator;
        all += item;
    }
    return all;
}

bool containsName(const std::vector<std::string>& names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return equalsIgnoringCase(n, name); });
}

std::vector<std::string> brokenInvariants(const InvariantSet& set, const Form& form)
{
    std::vector<std::string> broken;
    if (!form.isLoaded() || !containsName(set.forms, form.name()))
        return broken;
    for (const Invariant& i : set.invariants) {
        const std::string why = i.broken(form);
        if (!why.empty())
            broken.push_back(says(i.name, " on ", form.name(), ": ", why));
    }
    return broken;
}

std::vector<std::string> brokenInvariants(const InvariantSet& set, const FormRegistry& registry)
{
    std::vector<std::string> broken;
    for (const Form* f : registry.loadedForms()) {
        std::vector<std::string> more = brokenInvariants(set, *f);
        broken.insert(broken.end(), more.begin(), more.end());
    }
    return broken;
}

std::vector<std::string> brokenFormRules(const Form& form, bool pointerHeld)
{
    std::vector<std::string> broken;
    if (!form.isLoaded())
        return broken;
    const auto& controls = form.controls();

    // A drag is of a visible, enabled, draggable image of the form itself.
    const auto& drag = form.drag();
    if (drag) {
        const bool own = std::any_of(controls.begin(), controls.end(),
                                     [&](const auto& c) { return c.get() == drag->source; });
        if (!own || !drag->source->visible() || !drag->source->enabled() || !drag->source->dragAutomatic())
            broken.push_back(says(form.name(), " drags ", own ? drag->source->name() : "a control of no form",
                                  ", which cannot be dragged"));
    }
    // Nothing is held once the button is up and no finger holds.
    if (!pointerHeld && (drag || form.pressedButton()))
        broken.push_back(says(form.name(), " still holds ",
                              drag ? std::string("a drag") : "the button " + form.pressedButton()->name(),
                              " with no button or finger down"));

    // The keyboard focus is on a visible button of the form, when it has one.
    const CommandButton* focus = form.focusedButton();
    const bool anyVisible = std::any_of(controls.begin(), controls.end(), [](const auto& c) {
        return c->controlClass() == ControlClass::CommandButton && c->visible();
    });
    if (focus && (!focus->visible() || form.find(focus->name()) != focus))
        broken.push_back(says(form.name(), " has the focus on ", focus->name(), ", which is hidden or not its own"));
    if (anyVisible && !focus)
        broken.push_back(says(form.name(), " has visible buttons but none has the focus"));
    return broken;
}

}  // namespace tuvrel::test
