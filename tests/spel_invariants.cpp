// What always holds on the board of Spel: each counter counts the cells that
// hold its token and stops at eight, a token is used up exactly at eight, a
// cell is locked exactly when it holds a token, and a square is lit exactly
// when it lies in a full group of one player, in that player's colour.
#include "games/spel/spel.h"
#include "tests/support/invariants.h"

#include <array>

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
    set.forms = {"Spel"};
    set.invariants = {
        {"each counter shows how many cells hold its token, never more than 8",
         [](const Form& f) {
             for (const Token& t : Tokens) {
                 const Picture& token = f.image(t.image).picture();
                 int held = 0;
                 for (int n = 1; n <= 16; ++n)
                     held += cell(f, n).picture() == token;
                 const std::string& shown = f.label(t.counter).caption();
                 if (shown != std::to_string(held) || held > 8)
                     return says(t.counter, " reads \"", shown, "\" with ", held, " cells holding ", t.image);
             }
             return std::string();
         }},
        {"a token can be dragged exactly while its counter is below 8",
         [](const Form& f) {
             for (const Token& t : Tokens) {
                 const bool usedUp = f.label(t.counter).caption() == "8";
                 if (f.image(t.image).enabled() == usedUp)
                     return says(t.image, " enabled ", f.image(t.image).enabled(), " at \"",
                                 f.label(t.counter).caption(), "\"");
             }
             return std::string();
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
                     return says("cell ", n, ": holds a token ", taken, ", enabled ", c.enabled());
                 if (!taken && !c.picture().isEmpty() && !(c.picture() == leeg))
                     return says("free cell ", n, " shows a picture that is no token");
             }
             return std::string();
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
                     return says("square ", n, " is &H", hex8(shown), ", expected &H", hex8(expected[size_t(n - 1)]));
             }
             return std::string();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
