#include "app/program_start.h"

#include "desktop/bundled_fonts.h"

#include <exception>

namespace tuvrel {

void startProgram(FormRegistry& registry, const FormRegistration& registerForms)
{
    try {
        registerBundledFonts();
        registerForms(registry);
        registry.show("Start");
    } catch (const std::exception& e) {
        registry.fail(e.what());
    }
}

}  // namespace tuvrel
