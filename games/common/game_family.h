#pragma once
// A game family as the program registers it: its forms, each with the
// handlers of its game, and the button on Start that opens the first of them.
// Each family says so in one place, games/<family>/family.cpp, which defines
// `GameFamily <family>Family()`; the build finds every such file
// (runtime/CMakeLists.txt) and the menu's catalog registers what they return
// (menu/form_catalog.h).
#include "runtime/form_class.h"

#include <string>
#include <vector>

namespace tuvrel {

struct GameFamily {
    // The button on Start that shows the first of the forms.
    std::string startButton;
    // The forms in the order of the game's chain: the Next arrow of each
    // shows the one after it.
    std::vector<FormClass> forms;
};

}  // namespace tuvrel
