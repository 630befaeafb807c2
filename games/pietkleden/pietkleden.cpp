#include "games/pietkleden/pietkleden.h"

#include "games/common/navigation.h"
#include "runtime/form.h"

#include <array>
#include <utility>

namespace tuvrel {

namespace {

// Each place on Piet and the wardrobe pieces it takes.
struct Slot {
    const char* name;
    std::array<const char*, 3> pieces;
};

constexpr std::array Slots{
    Slot{"ImageMuts", {"ImageMutsBlauw", "ImageMutsGroen", "ImageMutsRood"}},
    Slot{"ImageBloes", {"ImageBloesGroen", "ImageBloesBlauw", "ImageBloesOranje"}},
    Slot{"ImageBroek", {"imageBroekGroen", "ImageBroekBlauw", "ImageBroekRood"}},
};

// A slot and the pieces of its kind, resolved once.
struct SlotControls {
    ImageHandle slot;
    std::array<ImageHandle, 3> pieces;
};

// A piece of the slot's own kind is put on (the slot shares its picture and
// takes its size); any other picture is ignored.
void dropOnSlot(Form& form, const SlotControls& slot, Image& source)
{
    for (const ImageHandle piece : slot.pieces) {
        if (form[piece].picture() == source.picture()) {
            form[slot.slot].setPicture(source.picture());
            return;
        }
    }
}

}  // namespace

FormClass pietkledenClass(FormDescription description)
{
    FormClass pietkleden(std::move(description));
    for (const Slot& slot : Slots) {
        SlotControls controls{pietkleden.image(slot.name), {}};
        for (size_t i = 0; i < slot.pieces.size(); ++i)
            controls.pieces[i] = pietkleden.image(slot.pieces[i]);
        pietkleden.onDragDrop(slot.name, [controls](Form& f, Image& source) { dropOnSlot(f, controls, source); });
    }
    bindNavigation(pietkleden);
    return pietkleden;
}

}  // namespace tuvrel
