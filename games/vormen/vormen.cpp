#include "games/vormen/vormen.h"

#include "forms/descriptions.h"
#include "menu/navigation.h"
#include "runtime/form.h"
#include "runtime/text.h"

#include <array>

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
    return levels.at(size_t(level - 1));
}

// Only the package's own present fits: it goes back into its wrapping. Any
// other present stays where it was. Either way, once every present has gone
// the reward shows.
void dropOnPackage(Form& form, const Wrappings& level, const char* ownPresent, Image& source)
{
    Image& present = form.image(std::string_view(ownPresent));
    if (source.picture() == present.picture())
        present.setVisible(false);
    for (const Wrapping& w : level)
        if (form.image(std::string_view(w.present)).visible())
            return;
    form.image("ImageGoed").setVisible(true);
}

}  // namespace

FormClass vormenClass(int level)
{
    FormClass vormen(forms::describe(numbered("Vormen", level)));
    const Wrappings& all = wrappings(level);
    for (const Wrapping& w : all)
        vormen.onDragDrop(std::string_view(w.package), [&all, present = w.present](Form& f, Image& source) {
            dropOnPackage(f, all, present, source);
        });
    bindNavigation(vormen);
    return vormen;
}

}  // namespace tuvrel
