// Counting, as the program registers it (games/common/game_family.h).
#include "forms/descriptions.h"
#include "games/common/game_family.h"
#include "games/tellen/tellen.h"

namespace tuvrel {

GameFamily tellenFamily()
{
    return {.startButton = "KnopTellen1", .forms = {tellen1Class(forms::Tellen1()), tellen3Class(forms::Tellen3())}};
}

}  // namespace tuvrel
