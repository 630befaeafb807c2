#pragma once
// The buttons that move between forms, for every form in one table: back to
// the start screen (the door), previous and next in the game's chain (the
// arrows) and restart ("nog een keer", or the smiley of a sudoku board).
#include "runtime/form_class.h"
#include "runtime/form_description.h"

#include <string>
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
const NavigationButton* findNavigationButton(const std::string& form, const std::string& name);

// The description row of a navigation button with its look, place and TabIndex.
// The sudoku smiley is described by its board (its picture and place differ);
// asking for it here is an error.
ControlDescription navigationRow(const std::string& form, const std::string& name);

// Binds the Click of every navigation button of the form class. A reset in
// place belongs to its game and is left unbound.
void bindNavigation(FormClass& formClass);

// Restart: Unload the form, Show it (built afresh from its description) and Refresh it.
void restartForm(Form& form);

}  // namespace tuvrel
