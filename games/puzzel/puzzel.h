#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// A puzzle, bound onto its description (Puzzel1 to Puzzel6): a quarter
// dropped on a slot shows there; its own quarter locks the slot and leaves the
// tray; a click clears a slot that does not hold its own quarter.
FormClass puzzelClass(FormDescription description);

}  // namespace tuvrel
