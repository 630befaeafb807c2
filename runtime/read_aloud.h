#pragma once
// Reading aloud ("voorlezen"), for children who cannot read yet: which texts
// of a form are read. When they are read is the registry's
// (FormRegistry::readAloud and its callers): a form's front texts when it is
// shown, a message box's text when it opens, a label's text when it is
// tapped. A front end only speaks a reading or stays silent.
#include <string>
#include <string_view>
#include <vector>

namespace tuvrel {

class Control;
class Form;

// Whether a label's text is one to read: it holds a word (a letter) and is not
// a web address. Numbers, counters and level numbers ("0", "3", "2.") hold none.
bool holdsWords(std::string_view text);

// What is read when a form comes to the front: the texts of its visible
// labels that hold words, in reading order (from the top down, then from the
// left), a text drawn twice over itself (a title with its shadow) once.
std::vector<std::string> frontTexts(const Form& form);

// What a tap on a control reads again: a label's text that holds words;
// nothing (an empty list) for any other control or text.
std::vector<std::string> tapTexts(const Control& control);

}  // namespace tuvrel
