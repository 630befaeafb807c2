#include "games/tellen/tellen.h"

#include "forms/descriptions.h"
#include "menu/navigation.h"
#include "runtime/counter.h"
#include "runtime/form.h"

#include <array>
#include <vector>

namespace tuvrel {

namespace {

// ---- Tellen1 ----

struct Figure {
    const char* figure;
    const char* counter;
    const char* dot;
};
constexpr std::array<Figure, 15> Figures{{
    {"ImgPepernoot1", "lblTellerPepernoot", "Pe1"},
    {"ImgPepernoot2", "lblTellerPepernoot", "Pe2"},
    {"ImgPepernoot3", "lblTellerPepernoot", "Pe3"},
    {"ImgPepernoot4", "lblTellerPepernoot", "Pe4"},
    {"ImgPepernoot5", "lblTellerPepernoot", "Pe5"},
    {"imgPakje1", "lblTellerPakje", "Pa1"},
    {"ImgZak1", "lblTellerZak", "Za1"},
    {"ImgZak2", "lblTellerZak", "Za2"},
    {"ImgZak3", "lblTellerZak", "Za3"},
    {"ImgZak4", "lblTellerZak", "Za4"},
    {"ImgSint1", "lblTellerSint", "S1"},
    {"ImgSint2", "lblTellerSint", "S2"},
    {"ImgPiet1", "lblTellerPiet", "P1"},
    {"ImgPiet2", "lblTellerPiet", "P2"},
    {"ImgPiet3", "lblTellerPiet", "P3"},
}};

void countFigure(Form& form, const Figure& f)
{
    form.image(std::string_view(f.figure)).setVisible(false);
    countUp(form.label(std::string_view(f.counter)));
    form.shape(std::string_view(f.dot)).setVisible(true);
}

// ---- Tellen3 ----

// The slots of one digit take exactly the pictures of its group; a wrong
// picture makes them show the digit's hint.
struct NumberGroup {
    std::vector<const char*> slotNames;
    std::vector<const char*> pictures;
    const char* hint;
};
const std::array<NumberGroup, 5>& numberGroups()
{
    static const std::array<NumberGroup, 5> groups{{
        {{"Image1a", "Image1b"}, {"Img1a", "Img1b"}, "ImageFout1"},
        {{"Image2a", "Image2b", "Image2c"}, {"Img2a", "Img2b", "Img2c"}, "ImageFout2"},
        {{"Image3a", "Image3b", "Image3c"}, {"Img3a", "Img3b", "Img3c"}, "ImageFout3"},
        {{"Image4a", "Image4b"}, {"Img4a", "Img4b"}, "ImageFout4"},
        {{"Image5a", "Image5b"}, {"Img5a", "Img5b"}, "ImageFout5"},
    }};
    return groups;
}

void dropOnSlot(Form& form, const std::string& slotName, const NumberGroup& group, Image& source)
{
    Image& slot = form.image(slotName);
    slot.setPicture(source.picture());
    bool right = false;
    for (const char* picture : group.pictures)
        right = right || slot.picture() == form.image(std::string_view(picture)).picture();
    if (right) {
        source.setVisible(false);
        slot.setEnabled(false);
    } else {
        slot.setPicture(form.image(std::string_view(group.hint)).picture());
    }
}

}  // namespace

FormClass tellen1Class()
{
    FormClass tellen(forms::Tellen1());
    for (const Figure& f : Figures)
        tellen.onClick(std::string_view(f.figure), [&f](Form& form) { countFigure(form, f); });
    bindNavigation(tellen);
    return tellen;
}

FormClass tellen3Class()
{
    FormClass tellen(forms::Tellen3());
    for (const NumberGroup& group : numberGroups())
        for (const char* slot : group.slotNames) {
            const std::string slotName = slot;
            tellen.onDragDrop(
                slotName, [slotName, &group](Form& form, Image& source) { dropOnSlot(form, slotName, group, source); });
        }
    bindNavigation(tellen);
    return tellen;
}

}  // namespace tuvrel
