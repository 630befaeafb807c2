#include "app/program_start.h"

#include "desktop/bundled_fonts.h"
#include "desktop/form_window.h"
#include "desktop/speech.h"

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

void startReadingAloud(FormRegistry& registry, QtWindowSystem& windows, const QStringList& engines, std::FILE* messages)
{
    QString problem;
    std::unique_ptr<DutchSpeech> speech = DutchSpeech::open(engines, &problem);
    registry.setReadAloud(speech != nullptr);
    windows.setSpeech(std::move(speech));
    if (!windows.speaks() && messages) {
        std::fprintf(messages, "tuvrel: voorlezen kan niet: %s. Tuvrel speelt zonder voorlezen.\n",
                     problem.toLocal8Bit().constData());
        std::fflush(messages);
    }
}

}  // namespace tuvrel
