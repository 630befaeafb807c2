#pragma once
// The program's start, after the application object exists: the bundled
// fonts, every form class, Start shown. Whatever fails on the way is reported
// and ends the program as every runtime failure does (FormRegistry::fail),
// never as an uncaught exception.
#include "runtime/form_registry.h"

#include <functional>

namespace tuvrel {

using FormRegistration = std::function<void(FormRegistry&)>;

void startProgram(FormRegistry& registry, const FormRegistration& registerForms);

}  // namespace tuvrel
