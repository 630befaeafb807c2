#include "games/pietkleden/pietkleden.h"

#include "forms/descriptions.h"
#include "menu/navigation.h"
#include "runtime/form.h"

#include <array>

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

// A piece of the slot's own kind is put on (the slot shares its picture and
// takes its size); any other picture is ignored.
void dropOnSlot(Form& form, const Slot& slot, Image& source)
{
    for (const char* piece : slot.pieces) {
        if (form.image(std::string_view(piece)).picture() == source.picture()) {
            form.image(std::string_view(slot.name)).setPicture(source.picture());
            return;
        }
    }
}

}  // namespace

FormClass pietkledenClass()
{
    FormClass pietkleden(forms::Pietkleden());
    for (const Slot& slot : Slots)
        pietkleden.onDragDrop(std::string_view(slot.name),
                              [&slot](Form& f, Image& source) { dropOnSlot(f, slot, source); });
    bindNavigation(pietkleden);
    return pietkleden;
}

}  // namespace tuvrel
