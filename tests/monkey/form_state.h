#pragma once
// What a child can see of a loaded form, control by control: place, size,
// visibility, enabled flag, picture, caption and fill colour. Two states are
// compared either exactly (the very same picture objects) or up to picture
// identity (which asset, and which controls share one picture object), the way
// a form rebuilt from its description is compared with a fresh one.
#include "runtime/form.h"

#include <QRect>
#include <QString>
#include <vector>

namespace tuvrel::monkey {

struct ControlState {
    QString name;
    ControlClass controlClass{};
    QRect rect;
    bool visible = false;
    bool enabled = false;
    quintptr picture = 0;  // identity; 0 for the empty picture or a control without one
    QString asset;
    int sharesWith = -1;  // index of the first control holding the same picture object
    QString caption;
    BgrColor fillColor = 0;
};

struct FormState {
    QString form;
    quint64 generation = 0;
    std::vector<ControlState> controls;
};

FormState stateOf(const Form& form);
// What the form's play (tests/support/plays.h) leaves behind when played with
// the mouse in a fresh program at the form's own size.
FormState stateAfterMousePlay(const QString& form);

// Empty when equal, otherwise the first difference, for a failure report.
QString differenceExact(const FormState& before, const FormState& after);
QString differenceUpToIdentity(const FormState& expected, const FormState& actual);

}  // namespace tuvrel::monkey
