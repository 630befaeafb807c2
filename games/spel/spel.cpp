#include "games/spel/spel.h"

#include "games/common/navigation.h"
#include "runtime/counter.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/text.h"

#include <utility>

namespace tuvrel {

namespace {

using namespace spel;

// Corner and edge cells lie in four groups, the four centre cells in seven.
static_assert([] {
    for (int n = 1; n <= 16; ++n) {
        const bool centre = n == 6 || n == 7 || n == 10 || n == 11;
        if (GroupsThrough[size_t(n - 1)].count != (centre ? 7 : 4))
            return false;
    }
    return true;
}());

struct Player {
    const char* token;    // the image that is dragged onto the board
    const char* counter;  // the label below it
    BgrColor colour;      // of the squares of a completed group
};
constexpr std::array<Player, 2> Players{{
    {"ImgSint", "lblTellerSint", SintColour},
    {"ImgPiet", "lblTellerPiet", PietColour},
}};

constexpr int TokensEach = 8;

// The controls the handlers use, resolved once.
struct Board {
    std::array<ImageHandle, 16> cell;    // Image1..Image16
    std::array<ShapeHandle, 16> square;  // Shape1..Shape16, beneath the cells
    std::array<ImageHandle, 2> token;    // as Players
    std::array<LabelHandle, 2> counter;  // as Players
    ImageHandle empty;                   // ImgLeeg: the empty picture of a cleared cell
};

// Lights every group through cell n whose four cells hold the same player's
// token. Only groups through n can have been completed by the drop on n; a
// group that is not complete is left as it is, so nothing turns white again.
void ControleerGroepjes(Form& form, const Board& b, int n)
{
    for (size_t p = 0; p < Players.size(); ++p) {
        const Picture& token = form[b.token[p]].picture();
        for (int g : GroupsThrough[size_t(n - 1)]) {
            const Group& group = Groups[size_t(g)];
            bool complete = true;
            for (int cell : group)
                complete = complete && form[b.cell[size_t(cell - 1)]].picture() == token;
            if (complete)
                for (int cell : group)
                    form[b.square[size_t(cell - 1)]].setFillColor(Players[p].colour);
        }
    }
}

void dropOnCell(Form& form, const Board& b, int n, Image& source)
{
    Image& cell = form[b.cell[size_t(n - 1)]];
    cell.setPicture(source.picture());
    cell.setEnabled(false);
    // The counter's Change runs inside countUp: an eighth token is used up before the groups are looked at.
    for (size_t p = 0; p < Players.size(); ++p)
        if (cell.picture() == form[b.token[p]].picture())
            countUp(form[b.counter[p]]);
    ControleerGroepjes(form, b, n);
}

void limitTokens(Form& form, const Board& b, size_t p)
{
    if (captionValue(form[b.counter[p]]) == TokensEach)
        form[b.token[p]].setEnabled(false);
}

// The board is cleared on the form as it stands, not rebuilt: the cells take
// the empty picture of ImgLeeg.
void resetBoard(Form& form, const Board& b)
{
    const Picture empty = form[b.empty].picture();
    for (size_t n = 0; n < 16; ++n) {
        Image& cell = form[b.cell[n]];
        cell.setPicture(empty);
        cell.setEnabled(true);
        form[b.square[n]].setFillColor(White);
    }
    for (size_t p = 0; p < Players.size(); ++p)
        form[b.token[p]].setEnabled(true);
    form[b.counter[1]].setCaption("0");
    form[b.counter[0]].setCaption("0");
}

void showHelp(Form& form)
{
    form.registry().messageBox("Speel met 2 personen. Probeer groepjes van 4 te maken", std::string());
}

}  // namespace

FormClass spelClass(FormDescription description)
{
    FormClass spel(std::move(description));
    Board b;
    for (int n = 1; n <= 16; ++n) {
        b.cell[size_t(n - 1)] = spel.image(numbered("Image", n));
        b.square[size_t(n - 1)] = spel.shape(numbered("Shape", n));
    }
    for (size_t p = 0; p < Players.size(); ++p) {
        b.token[p] = spel.image(Players[p].token);
        b.counter[p] = spel.label(Players[p].counter);
    }
    b.empty = spel.image("ImgLeeg");
    for (int n = 1; n <= 16; ++n)
        spel.onDragDrop(numbered("Image", n), [b, n](Form& f, Image& source) { dropOnCell(f, b, n, source); });
    for (size_t p = 0; p < Players.size(); ++p)
        spel.onChange(Players[p].counter, [b, p](Form& f) { limitTokens(f, b, p); });
    spel.onClick("knopOpnieuw", [b](Form& f) { resetBoard(f, b); });
    spel.onClick("Help", showHelp);
    bindNavigation(spel);
    return spel;
}

}  // namespace tuvrel
