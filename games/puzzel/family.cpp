// The puzzles, as the program registers them (games/common/game_family.h).
#include "forms/descriptions.h"
#include "games/common/game_family.h"
#include "games/puzzel/puzzel.h"

namespace tuvrel {

GameFamily puzzelFamily()
{
    return {.startButton = "knopPuzzels",
            .forms = {puzzelClass(forms::Puzzel1()), puzzelClass(forms::Puzzel2()), puzzelClass(forms::Puzzel3()),
                      puzzelClass(forms::Puzzel4()), puzzelClass(forms::Puzzel5()), puzzelClass(forms::Puzzel6())}};
}

}  // namespace tuvrel
