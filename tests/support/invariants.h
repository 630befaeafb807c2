#pragma once
// What must always hold on the forms of a game, whatever a child has done:
// checked after every step of the game tests, after every event of the
// random player, and after every event of the random run in the browser.
// Each family keeps its set next to its tests (tests/<family>_invariants.cpp).
// Standard C++ alone, like the core, so that the same checks are built
// natively and with emscripten (the library tuvrel_invariants).
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/text.h"

#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tuvrel::test {

struct Invariant {
    const char* name;
    // Empty when it holds, otherwise what is wrong. Called only on loaded forms.
    std::function<std::string(const Form&)> broken;
};

struct InvariantSet {
    std::vector<std::string> forms;  // the forms the invariants apply to (any letter case)
    std::vector<Invariant> invariants;
};

InvariantSet puzzelInvariants();
InvariantSet sudokuInvariants();
InvariantSet spelInvariants();
InvariantSet tellenInvariants();
InvariantSet plaatjeindezakInvariants();
InvariantSet vormenInvariants();
InvariantSet pietkledenInvariants();

// The invariant sets of every game family of the program (every
// tests/<family>_invariants.cpp, found by the build).
std::vector<InvariantSet> familyInvariants();

// Every invariant of the set that applies to the form; a failed test names
// the invariant and what is wrong.
std::vector<std::string> brokenInvariants(const InvariantSet& set, const Form& form);
// The same over every loaded form of a program.
std::vector<std::string> brokenInvariants(const InvariantSet& set, const FormRegistry& registry);

// What holds on every loaded form of any program, game or not, between two
// events: a drag is of a visible, enabled, draggable image of the form
// itself; the keyboard focus is on a visible button of the form, and on one
// whenever the form shows a button. `pointerHeld`: a button or finger is down
// on this form, so that a press or drag may be under way; otherwise the form
// holds neither.
std::vector<std::string> brokenFormRules(const Form& form, bool pointerHeld);

// ---- text of the messages ----

// The arguments one after the other as text: numbers in decimal, bools as
// true and false.
template <class... Parts>
std::string says(const Parts&... parts)
{
    std::ostringstream text;
    text << std::boolalpha;
    (text << ... << parts);
    return text.str();
}
// A colour or identity as eight hexadecimal digits ("0000ff00").
std::string hex8(std::uint32_t value);
// "left,top widthxheight"
std::string rectText(const Rect& r);
// The items with the separator between them.
std::string joined(const std::vector<std::string>& items, std::string_view separator);
// Whether the list holds the name, in any letter case.
bool containsName(const std::vector<std::string>& names, std::string_view name);

}  // namespace tuvrel::test
