#pragma once
// Every form class of the program, for the registry: Start and the forms of
// every game family, as each family registers them in its own folder
// (games/<family>/family.cpp, games/common/game_family.h).
#include "games/common/game_family.h"
#include "runtime/form_registry.h"

#include <vector>

namespace tuvrel {

// Every game family, in the order of their folders' names: the list the
// build writes of every games/<family>/family.cpp (runtime/CMakeLists.txt).
// Made at its first use and kept while the program runs.
const std::vector<GameFamily>& gameFamilies();

// Makes every form of the program known to the registry: Start, then each
// family's forms in their order.
void registerProgramForms(FormRegistry& registry);

}  // namespace tuvrel
