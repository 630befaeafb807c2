// What always holds on the two levels of "één plaatje in de zak": each row is
// open (its four pictures enabled), solved (smiling face, odd picture gone,
// the other three locked) or blocked (sad face, all four locked); nothing but
// the row pictures and the marks ever changes, and no picture changes hands.
#include "games/plaatjeindezak/plaatjeindezak.h"
#include "tests/support/invariants.h"

#include <algorithm>
#include <array>
#include <set>

namespace tuvrel::test {

namespace {

int levelOf(const Form& f)
{
    return f.name().back() - '0';
}
std::string_view name(const char* n)
{
    return n;
}

std::string rowState(const Form& f, const SackRow& row)
{
    std::array<const Image*, 4> pictures{};
    for (size_t i = 0; i < 4; ++i)
        pictures[i] = &f.image(name(row.pictures[i]));
    const Image& odd = *pictures.at(size_t(row.odd));
    const bool right = f.image(name(row.right)).visible();
    const bool wrong = f.image(name(row.wrong)).visible();
    const int enabled = int(
        std::count_if(pictures.begin(), pictures.end(), [](const Image* p) { return p->enabled(); }));

    if (wrong) {
        if (enabled != 0)
            return says("the sad face shows on ", row.sack, " but ", enabled, " of its pictures can still be dragged");
        return {};
    }
    if (enabled == 4)
        return {};  // open, whether solved before or not
    // Solved: only the odd picture is still enabled, and it has gone into the sack.
    if (!right || enabled != 1 || !odd.enabled() || odd.visible())
        return says("row of ", row.sack, ": smile ", right, ", ", enabled, " pictures enabled, odd picture enabled ",
                    odd.enabled(), " and visible ", odd.visible());
    return {};
}

bool isRowPicture(const std::array<SackRow, 3>& rows, const std::string& control)
{
    for (const SackRow& row : rows)
        for (const char* p : row.pictures)
            if (control == name(p))
                return true;
    return false;
}

bool isMark(const std::array<SackRow, 3>& rows, const std::string& control)
{
    return std::any_of(rows.begin(), rows.end(),
                       [&](const SackRow& row) { return control == name(row.right) || control == name(row.wrong); });
}

}  // namespace

InvariantSet plaatjeindezakInvariants()
{
    InvariantSet set;
    set.forms = {"Plaatjeindezak1", "Plaatjeindezak2"};
    set.invariants = {
        {"a row is open, solved or blocked",
         [](const Form& f) {
             for (const SackRow& row : sackRows(levelOf(f))) {
                 const std::string why = rowState(f, row);
                 if (!why.empty())
                     return why;
             }
             return std::string();
         }},
        {"only the row pictures and the marks are ever hidden, and only the row pictures disabled",
         [](const Form& f) {
             const auto& rows = sackRows(levelOf(f));
             for (const auto& c : f.controls()) {
                 if (!c->enabled() && !isRowPicture(rows, c->name()))
                     return says(c->name(), " is disabled");
                 if (!c->visible() && !isRowPicture(rows, c->name()) && !isMark(rows, c->name()))
                     return says(c->name(), " is hidden");
             }
             return std::string();
         }},
        {"every image keeps its own picture, place and size",
         [](const Form& f) {
             std::set<std::uint64_t> seen;
             for (const auto& c : f.controls()) {
                 const ControlDescription& row = f.description().rows.at(size_t(c->index()));
                 if (c->left() != row.left || c->top() != row.top || c->width() != row.width ||
                     c->height() != row.height)
                     return says(c->name(), " moved or changed its size");
                 if (c->controlClass() != ControlClass::Image)
                     continue;
                 const Picture& p = static_cast<const Image&>(*c).picture();
                 if (p.isEmpty() || seen.contains(p.identity()))
                     return says(c->name(), " lost its own picture");
                 seen.insert(p.identity());
             }
             return std::string();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
