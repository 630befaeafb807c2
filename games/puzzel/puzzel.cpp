#include "games/puzzel/puzzel.h"
#include "runtime/text.h"

#include "forms/descriptions.h"
#include "menu/navigation.h"
#include "runtime/form.h"

#include <array>

namespace tuvrel {

namespace {

FormDescription description(int number)
{
    using Describe = FormDescription (*)();
    static constexpr std::array<Describe, 6> all{forms::Puzzel1, forms::Puzzel2, forms::Puzzel3,
                                                 forms::Puzzel4, forms::Puzzel5, forms::Puzzel6};
    return all.at(size_t(number - 1))();
}

std::string slotName(int k)
{
    return numbered("Image", k);
}
std::string pieceName(int k)
{
    return numbered("img", k);
}

void dropOnSlot(Form& form, int k, Image& source)
{
    Image& slot = form.image(slotName(k));
    Image& piece = form.image(pieceName(k));
    slot.setPicture(source.picture());
    if (piece.picture() == source.picture()) {
        piece.setVisible(false);
        slot.setEnabled(false);
    }
}

void clickOnSlot(Form& form, int k)
{
    Image& slot = form.image(slotName(k));
    if (!(slot.picture() == form.image(pieceName(k)).picture()))
        slot.setPicture(form.image("imgLeeg").picture());
}

}  // namespace

FormClass puzzelClass(int number)
{
    FormClass puzzel(description(number));
    for (int k = 1; k <= 4; ++k) {
        puzzel.onDragDrop(slotName(k), [k](Form& f, Image& source) { dropOnSlot(f, k, source); });
        puzzel.onClick(slotName(k), [k](Form& f) { clickOnSlot(f, k); });
    }
    bindNavigation(puzzel);
    return puzzel;
}

}  // namespace tuvrel
