#pragma once
// What the buttons that move between forms do, for every game (their rows,
// places and TabIndex are the forms' table, forms/navigation_rows.h): back to
// the start screen, previous and next in the game's chain, restart.
#include "forms/navigation_rows.h"
#include "runtime/form_class.h"

namespace tuvrel {

// Binds the Click of every navigation button of the form class. A reset in
// place belongs to its game and is left unbound.
void bindNavigation(FormClass& formClass);

// Restart: Unload the form, Show it (built afresh from its description) and Refresh it.
void restartForm(Form& form);

}  // namespace tuvrel
