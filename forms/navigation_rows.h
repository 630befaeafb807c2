#pragma once
// The buttons that move between forms, for every form in one table: back to
// the start screen (the door), previous and next in the game's chain (the
// arrows) and restart ("nog een keer", or the smiley of a sudoku board), with
// their places and TabIndex. The forms describe their rows from it; what the
// buttons do is every game's (games/common/navigation.h).
#include "runtime/form_description.h"

#include <string_view>
#include <vector>

namespace tuvrel {

enum class NavigationKind { BackToStart, Previous, Next, Restart, ResetInPlace };

struct NavigationButton {
    const char* form;
    NavigationKind kind;
    const char* name;
    int tabIndex;
    const char* target = nullptr;  // Previous and Next: the form shown
    int left = 0, top = 0;         // Restart and ResetInPlace: the place, where the table gives it
};

const std::vector<NavigationButton>& navigationButtons();
const NavigationButton* findNavigationButton(std::string_view form, std::string_view name);

// The description row of a navigation button with its look, place and TabIndex.
// The sudoku smiley is described by its board (its picture and place differ);
// asking for it here is an error.
ControlDescription navigationRow(std::string_view form, std::string_view name);

}  // namespace tuvrel
