// What always holds on the dressing form: each place on Piet shows nothing or
// the very picture of one wardrobe piece of its own kind, at that picture's
// size; the wardrobe never changes.
#include "tests/support/invariants.h"

#include <array>

namespace tuvrel::test {

namespace {

struct Piece {
    const char* name;
    const char* asset;
    Rect place;  // form pixels
};

struct Kind {
    const char* slot;
    Rect emptyPlace;  // form pixels, before anything is worn
    std::array<Piece, 3> pieces;
};

const std::array<Kind, 3>& kinds()
{
    static const std::array<Kind, 3> all{{
        {"ImageMuts",
         Rect(744, 216, 132, 70),
         {{{"ImageMutsRood", "pietkleden_muts_rood", Rect(88, 168, 132, 70)},
           {"ImageMutsGroen", "pietkleden_muts_groen", Rect(88, 316, 132, 70)},
           {"ImageMutsBlauw", "pietkleden_muts_blauw", Rect(88, 456, 132, 70)}}}},
        {"ImageBloes",
         Rect(720, 320, 182, 128),
         {{{"ImageBloesOranje", "pietkleden_bloes_oranje", Rect(232, 136, 186, 128)},
           {"ImageBloesGroen", "pietkleden_bloes_groen", Rect(232, 296, 182, 128)},
           {"ImageBloesBlauw", "pietkleden_bloes_blauw", Rect(232, 448, 182, 128)}}}},
        {"ImageBroek",
         Rect(760, 440, 100, 68),
         {{{"ImageBroekRood", "pietkleden_broek_rood", Rect(432, 184, 100, 68)},
           {"imageBroekGroen", "pietkleden_broek_groen", Rect(432, 344, 100, 68)},
           {"ImageBroekBlauw", "pietkleden_broek_blauw", Rect(432, 496, 100, 68)}}}},
    }};
    return all;
}

}  // namespace

InvariantSet pietkledenInvariants()
{
    InvariantSet set;
    set.forms = {"Pietkleden"};
    set.invariants = {
        {"a place on Piet shows nothing or the picture of a piece of its own kind, at its size",
         [](const Form& f) {
             for (const Kind& k : kinds()) {
                 const Image& slot = f.image(k.slot);
                 const Picture& worn = slot.picture();
                 bool own = worn.isEmpty();
                 for (const Piece& p : k.pieces)
                     own = own || worn == f.image(p.name).picture();
                 if (!own)
                     return says(k.slot, " shows ", worn.assetName(), ", no piece of its kind");
                 const Rect expected(k.emptyPlace.topLeft(), worn.isEmpty() ? k.emptyPlace.size() : worn.size());
                 if (slot.pixelRect() != expected)
                     return says(k.slot, " lies at ", rectText(slot.pixelRect()), ", not ", rectText(expected));
                 if (!slot.visible() || !slot.enabled())
                     return says(k.slot, " is hidden or disabled");
             }
             return std::string();
         }},
        {"the wardrobe keeps all nine pieces, visible, draggable and in place",
         [](const Form& f) {
             for (const Kind& k : kinds()) {
                 for (const Piece& p : k.pieces) {
                     const Image& piece = f.image(p.name);
                     if (!piece.visible() || !piece.enabled() || !piece.dragAutomatic())
                         return says(p.name, " is hidden, disabled or not draggable");
                     if (piece.pixelRect() != p.place)
                         return says(p.name, " lies at ", rectText(piece.pixelRect()));
                     if (piece.picture().assetName() != p.asset)
                         return says(p.name, " shows ", piece.picture().assetName());
                 }
             }
             return std::string();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
