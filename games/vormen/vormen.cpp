#include "games/vormen/vormen.h"

#include "games/common/navigation.h"
#include "runtime/form.h"
#include "runtime/runtime_error.h"

#include <array>
#include <string>
#include <utility>

namespace tuvrel {

namespace {

// Each package and the present whose shape it has.
struct Wrapping {
    const char* package;
    const char* present;
};
using Wrappings = std::array<Wrapping, 6>;

const Wrappings& wrappings(int level)
{
    static const std::array<Wrappings, 2> levels{{
        {{{"ImageVspvarken", "ImageSpvarken"},
          {"ImageVbatjes", "ImageBatjes"},
          {"ImageVjack", "ImageJack"},
          {"ImageVstiften", "ImageStiften"},
          {"ImageVbeer", "ImageBeer"},
          {"ImageVeendje", "ImageEendje"}}},
        {{{"ImageVshirt", "ImageShirt"},
          {"ImageVschelp", "ImageSchelp"},
          {"ImageVdobbelst", "ImageDobbelst"},
          {"ImageVtas", "ImageTas"},
          {"ImageVbeerdoos", "ImageBeerdoos"},
          {"ImageVmannetje", "ImageMannetje"}}},
    }};
    if (level < 1 || level > int(levels.size()))
        throw RuntimeError("there is no level " + std::to_string(level) + " of Vormen");
    return levels.at(size_t(level - 1));
}

// The presents of a level and its reward, resolved once.
struct Level {
    std::array<ImageHandle, 6> presents;
    ImageHandle reward;  // ImageGoed
};

// Only the package's own present fits: it goes back into its wrapping. Any
// other present stays where it was. Either way, once every present has gone
// the reward shows.
void dropOnPackage(Form& form, const Level& level, ImageHandle ownPresent, Image& source)
{
    Image& present = form[ownPresent];
    if (source.picture() == present.picture())
        present.setVisible(false);
    for (const ImageHandle p : level.presents)
        if (form[p].visible())
            return;
    form[level.reward].setVisible(true);
}

}  // namespace

FormClass vormenClass(FormDescription description, int level)
{
    FormClass vormen(std::move(description));
    const Wrappings& all = wrappings(level);
    Level controls;
    for (size_t i = 0; i < all.size(); ++i)
        controls.presents[i] = vormen.image(all[i].present);
    controls.reward = vormen.image("ImageGoed");
    for (size_t i = 0; i < all.size(); ++i) {
        const ImageHandle present = controls.presents[i];
        vormen.onDragDrop(all[i].package,
                          [controls, present](Form& f, Image& source) { dropOnPackage(f, controls, present, source); });
    }
    bindNavigation(vormen);
    return vormen;
}

}  // namespace tuvrel
