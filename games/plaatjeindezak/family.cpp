// The odd picture into the sack, as the program registers it (games/common/game_family.h).
#include "forms/descriptions.h"
#include "games/common/game_family.h"
#include "games/plaatjeindezak/plaatjeindezak.h"

namespace tuvrel {

GameFamily plaatjeindezakFamily()
{
    return {
        .startButton = "knopZak",
        .forms = {plaatjeindezakClass(forms::Plaatjeindezak1(), 1), plaatjeindezakClass(forms::Plaatjeindezak2(), 2)}};
}

}  // namespace tuvrel
