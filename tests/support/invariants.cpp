#include "tests/support/invariants.h"

namespace tuvrel::test {

QStringList brokenInvariants(const InvariantSet& set, const Form& form)
{
    QStringList broken;
    if (!form.isLoaded() || !set.forms.contains(qs(form.name()), Qt::CaseInsensitive))
        return broken;
    for (const Invariant& i : set.invariants) {
        const QString why = i.broken(form);
        if (!why.isEmpty())
            broken << QStringLiteral("%1 on %2: %3").arg(QLatin1String(i.name), qs(form.name()), why);
    }
    return broken;
}

QStringList brokenInvariants(const InvariantSet& set, const FormRegistry& registry)
{
    QStringList broken;
    for (const Form* f : registry.loadedForms())
        broken << brokenInvariants(set, *f);
    return broken;
}

}  // namespace tuvrel::test
