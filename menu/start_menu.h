#pragma once
#include "runtime/form_class.h"

namespace tuvrel {

// The start screen: each picture button shows the first form of its game;
// the stop button ends the program.
FormClass startMenuClass();

}  // namespace tuvrel
