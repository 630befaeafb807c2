#pragma once
#include "games/common/game_family.h"
#include "runtime/form_class.h"

#include <vector>

namespace tuvrel {

// The start screen: each family's button shows the first form of that
// family; the stop button ends the program. A family without a form, a
// button Start does not have or one that two families name is a RuntimeError.
FormClass startMenuClass(const std::vector<GameFamily>& families);

}  // namespace tuvrel
