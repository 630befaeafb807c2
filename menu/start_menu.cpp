#include "menu/start_menu.h"

#include "forms/descriptions.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/runtime_error.h"

#include <string>

namespace tuvrel {

FormClass startMenuClass(const std::vector<GameFamily>& families)
{
    FormClass start(forms::Start());
    for (const GameFamily& family : families) {
        if (family.forms.empty())
            throw RuntimeError("the game of the button " + family.startButton + " has no form");
        // A button of Start, each opening one game.
        start.button(family.startButton);
        if (const ControlHandlers* bound = start.handlersFor(family.startButton); bound && bound->click)
            throw RuntimeError("the button " + family.startButton + " of Start opens two games");
        const std::string first = family.forms.front().name();
        start.onClick(family.startButton, [first](Form& form) { form.registry().show(first); });
    }
    start.onClick("knopStop", [](Form& form) { form.registry().end(); });
    return start;
}

}  // namespace tuvrel
