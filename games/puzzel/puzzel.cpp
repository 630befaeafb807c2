#include "games/puzzel/puzzel.h"

#include "games/common/navigation.h"
#include "runtime/form.h"
#include "runtime/text.h"

#include <array>
#include <utility>

namespace tuvrel {

namespace {

// The controls the handlers use, resolved once.
struct Puzzle {
    std::array<ImageHandle, 4> slot;   // Image1..Image4 in the frame
    std::array<ImageHandle, 4> piece;  // img1..img4, each the quarter of its slot
    ImageHandle empty;                 // imgLeeg: the empty picture a slot shows again
};

void dropOnSlot(Form& form, const Puzzle& p, int k, Image& source)
{
    Image& slot = form[p.slot[size_t(k)]];
    Image& piece = form[p.piece[size_t(k)]];
    slot.setPicture(source.picture());
    if (piece.picture() == source.picture()) {
        piece.setVisible(false);
        slot.setEnabled(false);
    }
}

void clickOnSlot(Form& form, const Puzzle& p, int k)
{
    Image& slot = form[p.slot[size_t(k)]];
    if (!(slot.picture() == form[p.piece[size_t(k)]].picture()))
        slot.setPicture(form[p.empty].picture());
}

}  // namespace

FormClass puzzelClass(FormDescription description)
{
    FormClass puzzel(std::move(description));
    Puzzle p;
    for (int k = 0; k < 4; ++k) {
        p.slot[size_t(k)] = puzzel.image(numbered("Image", k + 1));
        p.piece[size_t(k)] = puzzel.image(numbered("img", k + 1));
    }
    p.empty = puzzel.image("imgLeeg");
    for (int k = 0; k < 4; ++k) {
        puzzel.onDragDrop(numbered("Image", k + 1), [p, k](Form& f, Image& source) { dropOnSlot(f, p, k, source); });
        puzzel.onClick(numbered("Image", k + 1), [p, k](Form& f) { clickOnSlot(f, p, k); });
    }
    bindNavigation(puzzel);
    return puzzel;
}

}  // namespace tuvrel
