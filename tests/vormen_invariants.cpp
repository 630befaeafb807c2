// What always holds on the two levels of "in welk pakje zat het cadeau?": the
// reward shows exactly when every present has gone, and a drop changes nothing
// but whether a present shows: every package, every present's picture and
// place, the panel and the labels stay as the form was built.
#include "tests/support/invariants.h"

#include <algorithm>
#include <array>

namespace tuvrel::test {

namespace {

const std::array<const char*, 6> Level1Presents{"ImageSpvarken", "ImageBatjes", "ImageJack",
                                                "ImageStiften",  "ImageBeer",   "ImageEendje"};
const std::array<const char*, 6> Level2Presents{"ImageShirt", "ImageSchelp",   "ImageDobbelst",
                                                "ImageTas",   "ImageBeerdoos", "ImageMannetje"};

const std::array<const char*, 6>& presentsOf(const Form& f)
{
    return equalsIgnoringCase(f.name(), "Vormen1") ? Level1Presents : Level2Presents;
}

bool isPresent(const Form& f, const std::string& name)
{
    const auto& presents = presentsOf(f);
    return std::any_of(presents.begin(), presents.end(), [&](const char* p) { return equalsIgnoringCase(name, p); });
}

}  // namespace

InvariantSet vormenInvariants()
{
    InvariantSet set;
    set.forms = {"Vormen1", "Vormen2"};
    set.invariants = {
        {"the reward shows exactly when every present has gone",
         [](const Form& f) {
             int left = 0;
             for (const char* p : presentsOf(f))
                 left += f.image(p).visible() ? 1 : 0;
             const bool reward = f.image("ImageGoed").visible();
             if (reward != (left == 0))
                 return says(left, " present(s) left, reward ", reward ? "shown" : "hidden");
             return std::string();
         }},
        {"only a present's visibility and the reward change; packages, pictures and places stay as built",
         [](const Form& f) {
             const auto& rows = f.description().rows;
             for (const auto& control : f.controls()) {
                 const Control& c = *control;
                 const ControlDescription& row = rows.at(size_t(c.index()));
                 if (c.left() != row.left || c.top() != row.top || c.width() != row.width || c.height() != row.height)
                     return says(c.name(), " moved or changed its size");
                 if (!c.enabled())
                     return says(c.name(), " is disabled");
                 const bool mayHide = isPresent(f, c.name()) || equalsIgnoringCase(c.name(), "ImageGoed");
                 if (!mayHide && c.visible() != row.visible.value_or(true))
                     return says(c.name(), " changed its visibility");
                 if (c.controlClass() == ControlClass::Image) {
                     const Picture& shown = static_cast<const Image&>(c).picture();
                     if (shown.assetName() != row.picture.value_or(std::string()))
                         return says(c.name(), " shows ", shown.assetName());
                 }
                 if (c.controlClass() == ControlClass::Label &&
                     static_cast<const Label&>(c).caption() != row.caption.value_or(std::string()))
                     return says(c.name(), " changed its caption");
             }
             return std::string();
         }},
    };
    return set;
}

}  // namespace tuvrel::test
