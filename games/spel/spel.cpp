#include "games/spel/spel.h"
#include "runtime/text.h"

#include "forms/descriptions.h"
#include "menu/navigation.h"
#include "runtime/counter.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"

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

std::string cellName(int n)
{
    return numbered("Image", n);
}
std::string squareName(int n)
{
    return numbered("Shape", n);
}

// Lights every group through cell n whose four cells hold the same player's
// token. Only groups through n can have been completed by the drop on n; a
// group that is not complete is left as it is, so nothing turns white again.
void ControleerGroepjes(Form& form, int n)
{
    for (const Player& player : Players) {
        const Picture& token = form.image(player.token).picture();
        for (int g : GroupsThrough[size_t(n - 1)]) {
            const Group& group = Groups[size_t(g)];
            bool complete = true;
            for (int cell : group)
                complete = complete && form.image(cellName(cell)).picture() == token;
            if (complete)
                for (int cell : group)
                    form.shape(squareName(cell)).setFillColor(player.colour);
        }
    }
}

void dropOnCell(Form& form, int n, Image& source)
{
    Image& cell = form.image(cellName(n));
    cell.setPicture(source.picture());
    cell.setEnabled(false);
    // The counter's Change runs inside countUp: an eighth token is used up before the groups are looked at.
    for (const Player& player : Players)
        if (cell.picture() == form.image(player.token).picture())
            countUp(form.label(player.counter));
    ControleerGroepjes(form, n);
}

void limitTokens(Form& form, const Player& player)
{
    if (captionValue(form.label(player.counter)) == TokensEach)
        form.image(player.token).setEnabled(false);
}

// The board is cleared on the form as it stands, not rebuilt: the cells take
// the empty picture of ImgLeeg.
void resetBoard(Form& form)
{
    const Picture empty = form.image("ImgLeeg").picture();
    for (int n = 1; n <= 16; ++n) {
        Image& cell = form.image(cellName(n));
        cell.setPicture(empty);
        cell.setEnabled(true);
        form.shape(squareName(n)).setFillColor(White);
    }
    form.image("ImgSint").setEnabled(true);
    form.image("ImgPiet").setEnabled(true);
    form.label("lblTellerPiet").setCaption("0");
    form.label("lblTellerSint").setCaption("0");
}

void showHelp(Form& form)
{
    form.registry().messageBox("Speel met 2 personen. Probeer groepjes van 4 te maken", std::string());
}

}  // namespace

FormClass spelClass()
{
    FormClass spel(forms::Spel());
    for (int n = 1; n <= 16; ++n)
        spel.onDragDrop(cellName(n), [n](Form& f, Image& source) { dropOnCell(f, n, source); });
    for (const Player& player : Players)
        spel.onChange(player.counter, [&player](Form& f) { limitTokens(f, player); });
    spel.onClick("knopOpnieuw", resetBoard);
    spel.onClick("Help", showHelp);
    bindNavigation(spel);
    return spel;
}

}  // namespace tuvrel
