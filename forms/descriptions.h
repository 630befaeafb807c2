#pragma once
// The descriptions of the program's forms, one file each (forms/<Name>.cpp).
// A game binds its handlers onto them in its family's registration
// (games/<family>/family.cpp).
#include "runtime/form_description.h"

namespace tuvrel::forms {

FormDescription Start();
FormDescription Pietkleden();
FormDescription Plaatjeindezak1();
FormDescription Plaatjeindezak2();
FormDescription Vormen1();
FormDescription Vormen2();
FormDescription Puzzel1();
FormDescription Puzzel2();
FormDescription Puzzel3();
FormDescription Puzzel4();
FormDescription Puzzel5();
FormDescription Puzzel6();
FormDescription Tellen1();
FormDescription Tellen3();
FormDescription Sudoku1();
FormDescription Sudoku2();
FormDescription Sudoku3();
FormDescription Sudoku4();
FormDescription Sudoku5();
FormDescription Spel();

// The dark red of the titles and the counting cards.
inline constexpr BgrColor DarkRed = 0x000000C0;

}  // namespace tuvrel::forms
