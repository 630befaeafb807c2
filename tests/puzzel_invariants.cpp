// What always holds on a puzzle: a slot is locked exactly when it holds its own
// quarter, and then that quarter has left the tray; a slot shows nothing or a
// quarter of its own puzzle, and keeps its size.
#include "tests/support/invariants.h"

namespace tuvrel::test {

InvariantSet puzzelInvariants()
{
    InvariantSet set;
    for (int n = 1; n <= 6; ++n)
        set.forms.push_back(numbered("Puzzel", n));
    set.invariants = {
        {"a slot is locked exactly when it holds its own piece, which has left the tray",
         [](const Form& f) {
             for (int k = 1; k <= 4; ++k) {
                 const Image& slot = f.image(numbered("Image", k));
                 const Image& piece = f.image(numbered("img", k));
                 const bool own = slot.picture() == piece.picture();
                 if (own == slot.enabled() || own == piece.visible())
                     return says("slot ", k, ": own piece ", own, ", enabled ", slot.enabled(), ", piece visible ",
                                 piece.visible());
             }
             return std::string();
         }},
        {"a slot shows nothing or one of the four quarters",
         [](const Form& f) {
             for (int k = 1; k <= 4; ++k) {
                 const Picture& shown = f.image(numbered("Image", k)).picture();
                 bool known = shown.isEmpty();
                 for (int q = 1; q <= 4; ++q)
                     known = known || shown == f.image(numbered("img", q)).picture();
                 if (!known)
                     return says("slot ", k, " shows a picture of no piece");
             }
             return std::string();
         }},
        {"a slot stays 153 x 153",
         [](const Form& f) {
             for (int k = 1; k <= 4; ++k)
                 if (f.image(numbered("Image", k)).pixelRect().size() != Size{153, 153})
                     return says("slot ", k, " changed its size");
             return std::string();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
