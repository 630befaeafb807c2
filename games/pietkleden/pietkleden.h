#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// Dress Piet: a cap, blouse or pair of trousers dragged from the wardrobe onto
// its own place on Piet is worn there, replacing what he wore; anything else
// dropped on a place changes nothing. The wardrobe itself never changes.
// Bound onto the description Pietkleden.
FormClass pietkledenClass(FormDescription description);

}  // namespace tuvrel
