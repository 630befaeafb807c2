#include "tests/monkey/form_state.h"

#include "tests/support/plays.h"

#include <unordered_map>

namespace tuvrel::monkey {

FormState stateOf(const Form& form)
{
    FormState s;
    s.form = form.name();
    s.generation = form.generation();
    std::unordered_map<std::uint64_t, int> firstHolder;
    for (const auto& c : form.controls()) {
        ControlState cs;
        cs.name = c->name();
        cs.controlClass = c->controlClass();
        cs.rect = c->pixelRect();
        cs.visible = c->visible();
        cs.enabled = c->enabled();
        switch (c->controlClass()) {
        case ControlClass::Image: {
            const Picture& p = static_cast<const Image&>(*c).picture();
            cs.picture = p.identity();
            cs.asset = std::string(p.assetName());
            break;
        }
        case ControlClass::Label: cs.caption = static_cast<const Label&>(*c).caption(); break;
        case ControlClass::Shape: cs.fillColor = static_cast<const Shape&>(*c).fillColor(); break;
        case ControlClass::CommandButton:
        case ControlClass::Line:
        case ControlClass::Menu: break;
        }
        if (cs.picture)
            cs.sharesWith = firstHolder.try_emplace(cs.picture, int(s.controls.size())).first->second;
        s.controls.push_back(std::move(cs));
    }
    return s;
}

namespace {

using test::qs;

QString describe(const ControlState& c)
{
    QString pictureText = c.picture ? QStringLiteral("%1#%2").arg(qs(c.asset)).arg(c.sharesWith)
                                    : QStringLiteral("empty");
    return QStringLiteral("at %1,%2 %3x%4 visible %5 enabled %6 picture %7 caption \"%8\" fill %9")
        .arg(c.rect.left())
        .arg(c.rect.top())
        .arg(c.rect.width())
        .arg(c.rect.height())
        .arg(c.visible)
        .arg(c.enabled)
        .arg(pictureText, qs(c.caption))
        .arg(c.fillColor, 0, 16);
}

template <class Same>
QString difference(const FormState& a, const FormState& b, Same same)
{
    if (a.controls.size() != b.controls.size())
        return QStringLiteral("%1 has %2 controls instead of %3")
            .arg(qs(b.form))
            .arg(b.controls.size())
            .arg(a.controls.size());
    for (size_t i = 0; i < a.controls.size(); ++i) {
        const ControlState& x = a.controls[i];
        const ControlState& y = b.controls[i];
        if (x.name != y.name || x.controlClass != y.controlClass || x.rect != y.rect || x.visible != y.visible ||
            x.enabled != y.enabled || x.caption != y.caption || x.fillColor != y.fillColor || !same(x, y))
            return QStringLiteral("%1.%2 was %3, is %4").arg(qs(b.form), qs(x.name), describe(x), describe(y));
    }
    return {};
}

}  // namespace

QString differenceExact(const FormState& before, const FormState& after)
{
    if (before.generation != after.generation)
        return QStringLiteral("%1 was rebuilt").arg(qs(after.form));
    return difference(before, after,
                      [](const ControlState& x, const ControlState& y) { return x.picture == y.picture; });
}

QString differenceUpToIdentity(const FormState& expected, const FormState& actual)
{
    return difference(expected, actual, [](const ControlState& x, const ControlState& y) {
        return (x.picture == 0) == (y.picture == 0) && x.asset == y.asset && x.sharesWith == y.sharesWith;
    });
}

FormState stateAfterMousePlay(std::string_view form)
{
    test::Program program;
    Form& f = program.show(form);
    test::play(form).moves(f, test::mouseHand);
    return stateOf(f);
}

}  // namespace tuvrel::monkey
