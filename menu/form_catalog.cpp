#include "menu/form_catalog.h"

#include "menu/start_menu.h"

namespace tuvrel {

void registerProgramForms(FormRegistry& registry)
{
    static const FormClass start = startMenuClass(gameFamilies());
    registry.addFormClass(start);
    for (const GameFamily& family : gameFamilies())
        for (const FormClass& formClass : family.forms)
            registry.addFormClass(formClass);
}

}  // namespace tuvrel
