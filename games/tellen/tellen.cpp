#include "games/tellen/tellen.h"

#include "games/common/navigation.h"
#include "runtime/counter.h"
#include "runtime/form.h"

#include <array>
#include <utility>
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

// A figure's controls, resolved once.
struct FigureControls {
    ImageHandle figure;
    LabelHandle counter;
    ShapeHandle dot;
};

void countFigure(Form& form, const FigureControls& f)
{
    form[f.figure].setVisible(false);
    countUp(form[f.counter]);
    form[f.dot].setVisible(true);
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

// A digit's pictures and hint, resolved once.
struct GroupControls {
    std::vector<ImageHandle> pictures;
    ImageHandle hint;
};

void dropOnSlot(Form& form, ImageHandle slotHandle, const GroupControls& group, Image& source)
{
    Image& slot = form[slotHandle];
    slot.setPicture(source.picture());
    bool right = false;
    for (const ImageHandle picture : group.pictures)
        right = right || slot.picture() == form[picture].picture();
    if (right) {
        source.setVisible(false);
        slot.setEnabled(false);
    } else {
        slot.setPicture(form[group.hint].picture());
    }
}

}  // namespace

FormClass tellen1Class(FormDescription description)
{
    FormClass tellen(std::move(description));
    for (const Figure& f : Figures) {
        const FigureControls controls{tellen.image(f.figure), tellen.label(f.counter), tellen.shape(f.dot)};
        tellen.onClick(f.figure, [controls](Form& form) { countFigure(form, controls); });
    }
    bindNavigation(tellen);
    return tellen;
}

FormClass tellen3Class(FormDescription description)
{
    FormClass tellen(std::move(description));
    for (const NumberGroup& group : numberGroups()) {
        GroupControls controls{{}, tellen.image(group.hint)};
        for (const char* picture : group.pictures)
            controls.pictures.push_back(tellen.image(picture));
        for (const char* slot : group.slotNames) {
            const ImageHandle handle = tellen.image(slot);
            tellen.onDragDrop(
                slot, [handle, controls](Form& form, Image& source) { dropOnSlot(form, handle, controls, source); });
        }
    }
    bindNavigation(tellen);
    return tellen;
}

}  // namespace tuvrel
