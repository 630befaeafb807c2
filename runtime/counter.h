#pragma once
// Counters are labels whose caption holds a whole number in decimal text.
#include "runtime/control.h"

namespace tuvrel {

// The caption read as a number: leading blanks skipped, an optional sign, then
// the digits up to the first other character ("" and "x" are 0).
long captionValue(const Label& label);
// Adds one and writes the sum back as plain decimal text; the label's Change runs.
void countUp(Label& label);

}  // namespace tuvrel
