// Dress Piet, as the program registers it (games/common/game_family.h).
#include "forms/descriptions.h"
#include "games/common/game_family.h"
#include "games/pietkleden/pietkleden.h"

namespace tuvrel {

GameFamily pietkledenFamily()
{
    return {.startButton = "knopPiet", .forms = {pietkledenClass(forms::Pietkleden())}};
}

}  // namespace tuvrel
