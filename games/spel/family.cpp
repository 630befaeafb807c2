// Rows or groups of four, as the program registers it (games/common/game_family.h).
#include "forms/descriptions.h"
#include "games/common/game_family.h"
#include "games/spel/spel.h"

namespace tuvrel {

GameFamily spelFamily()
{
    return {.startButton = "knopSpel", .forms = {spelClass(forms::Spel())}};
}

}  // namespace tuvrel
