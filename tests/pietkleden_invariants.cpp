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
    QRect place;  // form pixels
};

struct Kind {
    const char* slot;
    QRect emptyPlace;  // form pixels, before anything is worn
    std::array<Piece, 3> pieces;
};

const std::array<Kind, 3>& kinds()
{
    static const std::array<Kind, 3> all{{
        {"ImageMuts",
         QRect(744, 216, 132, 70),
         {{{"ImageMutsRood", "pietkleden_muts_rood", QRect(88, 168, 132, 70)},
           {"ImageMutsGroen", "pietkleden_muts_groen", QRect(88, 316, 132, 70)},
           {"ImageMutsBlauw", "pietkleden_muts_blauw", QRect(88, 456, 132, 70)}}}},
        {"ImageBloes",
         QRect(720, 320, 182, 128),
         {{{"ImageBloesOranje", "pietkleden_bloes_oranje", QRect(232, 136, 186, 128)},
           {"ImageBloesGroen", "pietkleden_bloes_groen", QRect(232, 296, 182, 128)},
           {"ImageBloesBlauw", "pietkleden_bloes_blauw", QRect(232, 448, 182, 128)}}}},
        {"ImageBroek",
         QRect(760, 440, 100, 68),
         {{{"ImageBroekRood", "pietkleden_broek_rood", QRect(432, 184, 100, 68)},
           {"imageBroekGroen", "pietkleden_broek_groen", QRect(432, 344, 100, 68)},
           {"ImageBroekBlauw", "pietkleden_broek_blauw", QRect(432, 496, 100, 68)}}}},
    }};
    return all;
}

QString rectText(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

}  // namespace

InvariantSet pietkledenInvariants()
{
    InvariantSet set;
    set.forms << QStringLiteral("Pietkleden");
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
                     return QStringLiteral("%1 shows %2, no piece of its kind")
                         .arg(QLatin1String(k.slot), assetName(worn));
                 const QRect expected(k.emptyPlace.topLeft(), worn.isEmpty() ? k.emptyPlace.size() : toQt(worn.size()));
                 if (slot.pixelRect() != expected)
                     return QStringLiteral("%1 lies at %2, not %3")
                         .arg(QLatin1String(k.slot), rectText(toQt(slot.pixelRect())), rectText(expected));
                 if (!slot.visible() || !slot.enabled())
                     return QStringLiteral("%1 is hidden or disabled").arg(QLatin1String(k.slot));
             }
             return QString();
         }},
        {"the wardrobe keeps all nine pieces, visible, draggable and in place",
         [](const Form& f) {
             for (const Kind& k : kinds()) {
                 for (const Piece& p : k.pieces) {
                     const Image& piece = f.image(p.name);
                     if (!piece.visible() || !piece.enabled() || !piece.dragAutomatic())
                         return QStringLiteral("%1 is hidden, disabled or not draggable").arg(QLatin1String(p.name));
                     if (piece.pixelRect() != p.place)
                         return QStringLiteral("%1 lies at %2")
                             .arg(QLatin1String(p.name), rectText(toQt(piece.pixelRect())));
                     if (assetName(piece.picture()) != QLatin1String(p.asset))
                         return QStringLiteral("%1 shows %2").arg(QLatin1String(p.name), assetName(piece.picture()));
                 }
             }
             return QString();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
