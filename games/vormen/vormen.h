#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// "In welk pakje zat het cadeau?", level 1 or 2, bound onto its description
// (Vormen1, Vormen2); any other level is a RuntimeError. A present dropped on the
// package of its own shape vanishes; when all six have gone the reward shows.
FormClass vormenClass(FormDescription description, int level);

}  // namespace tuvrel
