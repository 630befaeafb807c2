#pragma once
// What must always hold on the forms of a game, whatever a child has done:
// checked after every step of the game tests and after every event of the
// random player. Each family keeps its set next to its tests
// (tests/<family>_invariants.cpp).
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "tests/support/core_qt.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tuvrel::test {

struct Invariant {
    const char* name;
    // Empty when it holds, otherwise what is wrong. Called only on loaded forms.
    std::function<QString(const Form&)> broken;
};

struct InvariantSet {
    QStringList forms;  // the forms the invariants apply to
    std::vector<Invariant> invariants;
};

InvariantSet puzzelInvariants();
InvariantSet sudokuInvariants();
InvariantSet spelInvariants();
InvariantSet tellenInvariants();
InvariantSet plaatjeindezakInvariants();
InvariantSet vormenInvariants();
InvariantSet pietkledenInvariants();

// Every invariant of the set that applies to the form; a failed test names
// the invariant and what is wrong.
QStringList brokenInvariants(const InvariantSet& set, const Form& form);
// The same over every loaded form of a program.
QStringList brokenInvariants(const InvariantSet& set, const FormRegistry& registry);

}  // namespace tuvrel::test
