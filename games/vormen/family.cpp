// Presents and their packages, as the program registers them (games/common/game_family.h).
#include "forms/descriptions.h"
#include "games/common/game_family.h"
#include "games/vormen/vormen.h"

namespace tuvrel {

GameFamily vormenFamily()
{
    return {.startButton = "knopVormen", .forms = {vormenClass(forms::Vormen1(), 1), vormenClass(forms::Vormen2(), 2)}};
}

}  // namespace tuvrel
