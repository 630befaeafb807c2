#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// Puzzle n (1 to 6): a quarter dropped on a slot shows there; its own quarter
// locks the slot and leaves the tray; a click clears a slot that does not hold
// its own quarter.
FormClass puzzelClass(int number);

}  // namespace tuvrel
