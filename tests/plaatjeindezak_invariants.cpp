// What always holds on the two levels of "één plaatje in de zak": each row is
// open (its four pictures enabled), solved (smiling face, odd picture gone,
// the other three locked) or blocked (sad face, all four locked); nothing but
// the row pictures and the marks ever changes, and no picture changes hands.
#include "games/plaatjeindezak/plaatjeindezak.h"
#include "tests/support/invariants.h"

#include <QSet>

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

QString rowState(const Form& f, const SackRow& row)
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
            return QStringLiteral("the sad face shows on %1 but %2 of its pictures can still be dragged")
                .arg(QLatin1String(row.sack))
                .arg(enabled);
        return {};
    }
    if (enabled == 4)
        return {};  // open, whether solved before or not
    // Solved: only the odd picture is still enabled, and it has gone into the sack.
    if (!right || enabled != 1 || !odd.enabled() || odd.visible())
        return QStringLiteral("row of %1: smile %2, %3 pictures enabled, odd picture enabled %4 and visible %5")
            .arg(QLatin1String(row.sack))
            .arg(right)
            .arg(enabled)
            .arg(odd.enabled())
            .arg(odd.visible());
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
    set.forms << QStringLiteral("Plaatjeindezak1") << QStringLiteral("Plaatjeindezak2");
    set.invariants = {
        {"a row is open, solved or blocked",
         [](const Form& f) {
             for (const SackRow& row : sackRows(levelOf(f))) {
                 const QString why = rowState(f, row);
                 if (!why.isEmpty())
                     return why;
             }
             return QString();
         }},
        {"only the row pictures and the marks are ever hidden, and only the row pictures disabled",
         [](const Form& f) {
             const auto& rows = sackRows(levelOf(f));
             for (const auto& c : f.controls()) {
                 if (!c->enabled() && !isRowPicture(rows, c->name()))
                     return QStringLiteral("%1 is disabled").arg(qs(c->name()));
                 if (!c->visible() && !isRowPicture(rows, c->name()) && !isMark(rows, c->name()))
                     return QStringLiteral("%1 is hidden").arg(qs(c->name()));
             }
             return QString();
         }},
        {"every image keeps its own picture, place and size",
         [](const Form& f) {
             QSet<quintptr> seen;
             for (const auto& c : f.controls()) {
                 const ControlDescription& row = f.description().rows.at(size_t(c->index()));
                 if (c->left() != row.left || c->top() != row.top || c->width() != row.width ||
                     c->height() != row.height)
                     return QStringLiteral("%1 moved or changed its size").arg(qs(c->name()));
                 if (c->controlClass() != ControlClass::Image)
                     continue;
                 const Picture& p = static_cast<const Image&>(*c).picture();
                 if (p.isEmpty() || seen.contains(p.identity()))
                     return QStringLiteral("%1 lost its own picture").arg(qs(c->name()));
                 seen.insert(p.identity());
             }
             return QString();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
