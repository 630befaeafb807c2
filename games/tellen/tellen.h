#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// Tellen1, bound onto its description: a clicked figure leaves the field, its card's counter goes up by
// one and the figure's own dot on the card lights up.
FormClass tellen1Class(FormDescription description);

// Tellen3, bound onto its description: a picture dropped on a slot of the number of things it shows stays
// in the slot, which locks, and leaves the row below; any other picture makes
// the slot show as many grey balls as its digit.
FormClass tellen3Class(FormDescription description);

}  // namespace tuvrel
