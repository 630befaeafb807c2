// What always holds on the counting screens.
// Tellen1: each counter reads, as plain decimal text, how many figures of its
// kind have left the field, and a dot is lit exactly when its own figure has left.
// Tellen3: a slot is locked exactly when it holds a picture of its own digit,
// and then that picture has left the row; every picture that has left the row
// is in exactly one slot; otherwise a slot is empty or shows its digit's balls.
#include "runtime/counter.h"
#include "tests/support/invariants.h"

#include <array>

namespace tuvrel::test {

namespace {

struct Kind {
    const char* counter;
    std::vector<std::pair<const char*, const char*>> figures;  // figure, its dot
    const char* cardPicture;
};
const std::array<Kind, 5>& kinds()
{
    static const std::array<Kind, 5> all{{
        {"lblTellerPepernoot",
         {{"ImgPepernoot1", "Pe1"},
          {"ImgPepernoot2", "Pe2"},
          {"ImgPepernoot3", "Pe3"},
          {"ImgPepernoot4", "Pe4"},
          {"ImgPepernoot5", "Pe5"}},
         "ImagePepernoot"},
        {"lblTellerPakje", {{"imgPakje1", "Pa1"}}, "ImagePakje"},
        {"lblTellerZak", {{"ImgZak1", "Za1"}, {"ImgZak2", "Za2"}, {"ImgZak3", "Za3"}, {"ImgZak4", "Za4"}}, "ImageZak"},
        {"lblTellerSint", {{"ImgSint1", "S1"}, {"ImgSint2", "S2"}}, "ImageSint"},
        {"lblTellerPiet", {{"ImgPiet1", "P1"}, {"ImgPiet2", "P2"}, {"ImgPiet3", "P3"}}, "Image4"},
    }};
    return all;
}

std::string digitSlot(int digit, char letter)
{
    return numbered("Image", digit) + letter;
}
std::string digitPicture(int digit, char letter)
{
    return numbered("Img", digit) + letter;
}
int groupSize(int digit)
{
    return digit == 2 || digit == 3 ? 3 : 2;
}

std::string checkTellen1Counts(const Form& f)
{
    for (const Kind& k : kinds()) {
        int gone = 0;
        for (const auto& [figure, dot] : k.figures) {
            const bool left = !f.image(figure).visible();
            gone += left;
            if (left != f.shape(dot).visible())
                return says(figure, " has ", left ? "left" : "not left", " the field but its dot ", dot, " is ",
                            left ? "dark" : "lit");
        }
        const std::string& caption = f.label(k.counter).caption();
        if (caption != std::to_string(gone))
            return says(k.counter, " reads \"", caption, "\" while ", gone, " figures have left the field");
    }
    return std::string();
}

std::string checkTellen1Cards(const Form& f)
{
    for (const Kind& k : kinds())
        if (!f.image(k.cardPicture).visible() || !f.label(k.counter).visible())
            return says("the card of ", k.counter, " lost its picture or counter");
    return std::string();
}

std::string checkTellen3Slots(const Form& f)
{
    for (int digit = 1; digit <= 5; ++digit) {
        const Picture& hint = f.image(numbered("ImageFout", digit)).picture();
        for (int s = 0; s < groupSize(digit); ++s) {
            const Image& slot = f.image(digitSlot(digit, char('a' + s)));
            const Picture& shown = slot.picture();
            const Image* own = nullptr;
            for (int p = 0; p < groupSize(digit); ++p) {
                const Image& picture = f.image(digitPicture(digit, char('a' + p)));
                if (shown == picture.picture())
                    own = &picture;
            }
            if (own) {
                if (slot.enabled() || own->visible())
                    return says(slot.name(), " holds ", own->name(), " but is ", slot.enabled() ? "open" : "locked",
                                " and ", own->name(), " is ", own->visible() ? "still below" : "gone");
            } else {
                if (!slot.enabled())
                    return says(slot.name(), " is locked without a picture of ", digit);
                if (!shown.isEmpty() && !(shown == hint))
                    return says(slot.name(), " shows a picture that is neither its own nor its balls");
            }
            if (slot.pixelRect().size() != Size{100, 100})
                return says(slot.name(), " changed its size");
        }
    }
    return std::string();
}

std::string checkTellen3Pictures(const Form& f)
{
    for (int digit = 1; digit <= 5; ++digit)
        for (int p = 0; p < groupSize(digit); ++p) {
            const Image& picture = f.image(digitPicture(digit, char('a' + p)));
            int holders = 0;
            for (int s = 0; s < groupSize(digit); ++s)
                holders += f.image(digitSlot(digit, char('a' + s))).picture() == picture.picture();
            if (holders != (picture.visible() ? 0 : 1))
                return says(picture.name(), " is ", picture.visible() ? "below" : "gone", " and shown in ", holders,
                            " slots");
        }
    for (int digit = 1; digit <= 5; ++digit)
        if (f.image(numbered("ImageFout", digit)).visible())
            return says("ImageFout", digit, " is shown");
    return std::string();
}

}  // namespace

InvariantSet tellenInvariants()
{
    InvariantSet set;
    set.forms = {"Tellen1", "Tellen3"};
    const auto on = [](const char* form, std::string (*check)(const Form&)) {
        return [form, check](const Form& f) { return equalsIgnoringCase(f.name(), form) ? check(f) : std::string(); };
    };
    set.invariants = {
        {"Tellen1: each counter reads the figures of its kind that left the field; a dot is lit exactly when its "
         "figure left",
         on("Tellen1", checkTellen1Counts)},
        {"Tellen1: the cards keep their pictures and counters", on("Tellen1", checkTellen1Cards)},
        {"Tellen3: a slot is locked exactly when it holds a picture of its digit, which has left the row; otherwise it "
         "is empty or shows its balls",
         on("Tellen3", checkTellen3Slots)},
        {"Tellen3: a picture that left the row is in exactly one slot, one still below in none; the hints stay hidden",
         on("Tellen3", checkTellen3Pictures)},
    };
    return set;
}

}  // namespace tuvrel::test
