#include "menu/start_menu.h"

#include "forms/descriptions.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"

#include <array>

namespace tuvrel {

namespace {
struct GameButton {
    const char* button;
    const char* firstForm;
};
constexpr std::array GameButtons{
    GameButton{"knopPiet", "Pietkleden"}, GameButton{"knopZak", "Plaatjeindezak1"}, GameButton{"knopVormen", "Vormen1"},
    GameButton{"knopPuzzels", "Puzzel1"}, GameButton{"KnopTellen1", "Tellen1"},     GameButton{"knopSudoku", "Sudoku1"},
    GameButton{"knopSpel", "Spel"},
};
}  // namespace

FormClass startMenuClass()
{
    FormClass start(forms::Start());
    for (const GameButton& g : GameButtons) {
        const std::string target = std::string(g.firstForm);
        start.onClick(std::string(g.button), [target](Form& form) { form.registry().show(target); });
    }
    start.onClick("knopStop", [](Form& form) { form.registry().end(); });
    return start;
}

}  // namespace tuvrel
