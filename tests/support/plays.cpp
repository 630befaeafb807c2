#include "tests/support/plays.h"

#include "desktop/qt_types.h"

#include <cctype>
#include <stdexcept>

namespace tuvrel::test {

namespace {

// The text of tests/support/plays.txt, built in by tests/CMakeLists.txt.
constexpr std::string_view playsText =
#include "plays_text.inc"
    ;

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

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool isName(std::string_view s)
{
    if (s.empty())
        return false;
    for (const char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

Move parseMove(std::string_view move)
{
    const auto colon = move.find(':');
    if (colon == std::string_view::npos)
        throw std::invalid_argument("a move is click:Control or drag:Source>Target, not \"" + std::string(move) + "\"");
    const std::string_view verb = trimmed(move.substr(0, colon)), what = trimmed(move.substr(colon + 1));
    Move m;
    if (verb == "click") {
        m.source = what;
    } else if (verb == "drag") {
        const auto arrow = what.find('>');
        if (arrow == std::string_view::npos)
            throw std::invalid_argument("a drag is drag:Source>Target, not \"" + std::string(move) + "\"");
        m.source = trimmed(what.substr(0, arrow));
        m.target = trimmed(what.substr(arrow + 1));
        if (!isName(m.target))
            throw std::invalid_argument("no control name after > in \"" + std::string(move) + "\"");
    } else {
        throw std::invalid_argument("unknown move \"" + std::string(verb) + "\" (click or drag)");
    }
    if (!isName(m.source))
        throw std::invalid_argument("no control name in \"" + std::string(move) + "\"");
    return m;
}

}  // namespace

std::vector<std::pair<std::string, std::vector<Move>>> parsePlays(std::string_view text)
{
    std::vector<std::pair<std::string, std::vector<Move>>> all;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        try {
            const auto colon = line.find(':');
            const std::string form(trimmed(line.substr(0, colon == std::string_view::npos ? 0 : colon)));
            if (!isName(form))
                throw std::invalid_argument("a play is \"Form: move; move\"");
            for (const auto& [name, moves] : all)
                if (name == form)
                    throw std::invalid_argument("a second play of " + form);
            std::vector<Move> moves;
            std::string_view rest = line.substr(colon + 1);
            while (true) {
                const auto semicolon = rest.find(';');
                moves.push_back(parseMove(trimmed(rest.substr(0, semicolon))));
                if (semicolon == std::string_view::npos)
                    break;
                rest = rest.substr(semicolon + 1);
            }
            all.emplace_back(form, std::move(moves));
        } catch (const std::invalid_argument& e) {
            throw std::invalid_argument("line " + std::to_string(number) + ": " + e.what());
        }
    }
    return all;
}

const Hand mouseHand{"mouse", click, drag};
const Hand fingerHand{"finger", tap, fingerDrag};
const Hand formHand{"form", clickOnForm, dragOnForm};

const std::vector<Play>& plays()
{
    // The forms' names live as long as the plays, so that Play::form can point at them.
    static const std::vector<std::pair<std::string, std::vector<Move>>> parsed = [] {
        try {
            return parsePlays(playsText);
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
