// What always holds on the board of Spel: each counter counts the cells that
// hold its token and stops at eight, a token is used up exactly at eight, a
// cell is locked exactly when it holds a token, and a square is lit exactly
// when it lies in a full group of one player, in that player's colour.
#include "games/spel/spel.h"
#include "tests/support/invariants.h"

namespace tuvrel::test {

namespace {

struct Token {
    const char* image;
    const char* counter;
    BgrColor colour;
};
const Token Tokens[] = {
    {"ImgSint", "lblTellerSint", spel::SintColour},
    {"ImgPiet", "lblTellerPiet", spel::PietColour},
};

const Image& cell(const Form& f, int n)
{
    return f.image(numbered("Image", n));
}

}  // namespace

InvariantSet spelInvariants()
{
    InvariantSet set;
    set.forms << QStringLiteral("Spel");
    set.invariants = {
        {"each counter shows how many cells hold its token, never more than 8",
         [](const Form& f) {
             for (const Token& t : Tokens) {
                 const Picture& token = f.image(t.image).picture();
                 int held = 0;
                 for (int n = 1; n <= 16; ++n)
                     held += cell(f, n).picture() == token;
                 const QString shown = qs(f.label(t.counter).caption());
                 if (shown != QString::number(held) || held > 8)
                     return QStringLiteral("%1 reads \"%2\" with %3 cells holding %4")
                         .arg(t.counter, shown)
                         .arg(held)
                         .arg(t.image);
             }
             return QString();
         }},
        {"a token can be dragged exactly while its counter is below 8",
         [](const Form& f) {
             for (const Token& t : Tokens) {
                 const bool usedUp = f.label(t.counter).caption() == QLatin1String("8");
                 if (f.image(t.image).enabled() == usedUp)
                     return QStringLiteral("%1 enabled %2 at \"%3\"")
                         .arg(t.image)
                         .arg(f.image(t.image).enabled())
                         .arg(qs(f.label(t.counter).caption()));
             }
             return QString();
         }},
        {"a cell is locked exactly when it holds a token; a free cell shows nothing",
         [](const Form& f) {
             const Picture& sint = f.image("ImgSint").picture();
             const Picture& piet = f.image("ImgPiet").picture();
             const Picture& leeg = f.image("ImgLeeg").picture();
             for (int n = 1; n <= 16; ++n) {
                 const Image& c = cell(f, n);
                 const bool taken = c.picture() == sint || c.picture() == piet;
                 if (taken == c.enabled())
                     return QStringLiteral("cell %1: holds a token %2, enabled %3").arg(n).arg(taken).arg(c.enabled());
                 if (!taken && !c.picture().isEmpty() && !(c.picture() == leeg))
                     return QStringLiteral("free cell %1 shows a picture that is no token").arg(n);
             }
             return QString();
         }},
        {"a square is lit exactly when it lies in a full group, in that group's colour",
         [](const Form& f) {
             std::array<BgrColor, 16> expected;
             expected.fill(spel::White);
             for (const Token& t : Tokens) {
                 const Picture& token = f.image(t.image).picture();
                 for (const spel::Group& g : spel::Groups) {
                     bool full = true;
                     for (int n : g)
                         full = full && cell(f, n).picture() == token;
                     if (full)
                         for (int n : g)
                             expected[size_t(n - 1)] = t.colour;
                 }
             }
             for (int n = 1; n <= 16; ++n) {
                 const BgrColor shown = f.shape(numbered("Shape", n)).fillColor();
                 if (shown != expected[size_t(n - 1)])
                     return QStringLiteral("square %1 is &H%2, expected &H%3")
                         .arg(n)
                         .arg(shown, 8, 16, QLatin1Char('0'))
                         .arg(expected[size_t(n - 1)], 8, 16, QLatin1Char('0'));
             }
             return QString();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
