#pragma once
// What a child can see of a loaded form, control by control: place, size,
// visibility, enabled flag, picture, caption and fill colour. Two states are
// compared either exactly (the very same picture objects) or up to picture
// identity (which asset, and which controls share one picture object), the way
// a form rebuilt from its description is compared with a fresh one.
#include "runtime/form.h"

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tuvrel::monkey {

struct ControlState {
    std::string name;
    ControlClass controlClass{};
    Rect rect;
    bool visible = false;
    bool enabled = false;
    // Picture::identity(), never given to another picture object, so a state
    // kept after its pictures are gone still tells a new one apart; 0 for the
    // empty picture or a control without one.
    std::uint64_t picture = 0;
    std::string asset;
    int sharesWith = -1;  // index of the first control holding the same picture object
    std::string caption;
    BgrColor fillColor = 0;
};

struct FormState {
    std::string form;
    std::uint64_t generation = 0;
    std::vector<ControlState> controls;
};

FormState stateOf(const Form& form);
// What the form's play (tests/support/plays.h) leaves behind when played with
// the mouse in a fresh program at the form's own size.
FormState stateAfterMousePlay(std::string_view form);

// Empty when equal, otherwise the first difference, for a failure report.
QString differenceExact(const FormState& before, const FormState& after);
QString differenceUpToIdentity(const FormState& expected, const FormState& actual);

}  // namespace tuvrel::monkey
