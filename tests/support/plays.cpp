#include "tests/support/plays.h"

#include "desktop/qt_types.h"

#include <stdexcept>

namespace tuvrel::test {

namespace {

void clickOnForm(Form& form, std::string_view control)
{
    const Point at = fromQt(centreOf(form, control));
    form.mousePress(at, MouseButton::Left);
    form.mouseRelease(at, MouseButton::Left);
}

void dragOnForm(Form& form, std::string_view source, std::string_view target)
{
    const Point from = fromQt(centreOf(form, source)), to = fromQt(centreOf(form, target));
    form.mousePress(from, MouseButton::Left);
    form.mouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
    form.mouseMove(to);
    form.mouseRelease(to, MouseButton::Left);
}

}  // namespace

const Hand mouseHand{"mouse", click, drag};
const Hand fingerHand{"finger", tap, fingerDrag};
const Hand formHand{"form", clickOnForm, dragOnForm};

const std::vector<Play>& plays()
{
    // The forms' names live as long as the plays, so that Play::form can point at them.
    static const std::vector<std::pair<std::string, std::vector<Move>>> parsed = [] {
        try {
            return parsePlays(playsText());
        } catch (const std::invalid_argument& e) {
            qFatal("tests/support/plays.txt, %s", e.what());
        }
    }();
    static const std::vector<Play> all = [] {
        std::vector<Play> out;
        for (const auto& [form, moves] : parsed)
            out.push_back({form.c_str(), [&moves = moves](Form& f, const Hand& h) {
                               for (const Move& m : moves) {
                                   if (m.isClick())
                                       h.click(f, m.source);
                                   else
                                       h.drag(f, m.source, m.target);
                               }
                           }});
        return out;
    }();
    return all;
}

const Play& play(std::string_view form)
{
    for (const Play& p : plays())
        if (form == p.form)
            return p;
    qFatal("no play for %s in tests/support/plays.txt", std::string(form).c_str());
}

}  // namespace tuvrel::test
