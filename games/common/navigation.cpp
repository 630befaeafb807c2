#include "games/common/navigation.h"

#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace tuvrel {

namespace {
using K = NavigationKind;
}

void restartForm(Form& form)
{
    form.unload();
    form.show();
    form.refresh();
}

void bindNavigation(FormClass& formClass)
{
    for (const NavigationButton& b : navigationButtons()) {
        if (!equalsIgnoringCase(formClass.name(), b.form))
            continue;
        const std::string name = std::string(b.name);
        switch (b.kind) {
        case K::BackToStart: formClass.onClick(name, [](Form& f) { f.registry().show("Start"); }); break;
        case K::Previous:
        case K::Next: {
            const std::string target = std::string(b.target);
            formClass.onClick(name, [target](Form& f) { f.registry().show(target); });
            break;
        }
        case K::Restart: formClass.onClick(name, restartForm); break;
        case K::ResetInPlace: break;
        }
    }
}

}  // namespace tuvrel
