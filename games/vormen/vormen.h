#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// "In welk pakje zat het cadeau?", level 1 or 2: a present dropped on the
// package of its own shape vanishes; when all six have gone the reward shows.
FormClass vormenClass(int level);

}  // namespace tuvrel
