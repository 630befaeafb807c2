#pragma once
// Every form class of the program, for the registry.
#include "runtime/form_registry.h"

namespace tuvrel {

// Makes every form of the program known to the registry.
void registerProgramForms(FormRegistry& registry);

}  // namespace tuvrel
