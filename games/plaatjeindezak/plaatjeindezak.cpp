#include "games/plaatjeindezak/plaatjeindezak.h"

#include "games/common/navigation.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/runtime_error.h"

#include <string>
#include <utility>

namespace tuvrel {

namespace {

constexpr std::array<SackRow, 3> Level1{{
    {{"ImageMijter", "ImageKaars", "ImageBoek", "ImageStaf"}, 1, "ImageZak1", "ImageGoed1", "ImageFout1"},
    {{"ImageMuts", "ImageZak", "ImageParaplu", "ImageRoe"}, 2, "ImageZak2", "ImageGoed2", "ImageFout2"},
    {{"ImageSkeeler", "ImageSchoen", "ImageSlof", "ImageKlomp"}, 0, "ImageZak3", "ImageGoed3", "ImageFout3"},
}};

constexpr std::array<SackRow, 3> Level2{{
    {{"ImageBoot", "ImagePiet", "ImageSint", "ImageTractor"}, 3, "ImageZak1", "ImageGoed1", "ImageFout1"},
    {{"ImageSpeculaas", "ImageIJs", "ImageLetter", "ImagePepernoten"}, 1, "ImageZak4", "ImageGoed4", "ImageFout4"},
    {{"ImagePaard", "ImageSchoorst", "ImageNest", "ImagePak"}, 2, "ImageZak3", "ImageGoed3", "ImageFout3"},
}};

// A row's controls, resolved once.
struct Row {
    std::array<ImageHandle, 4> pictures;
    int odd;
    ImageHandle right, wrong;
};

Row rowOf(const FormClass& game, const SackRow& row)
{
    Row r{{}, row.odd, game.image(row.right), game.image(row.wrong)};
    for (size_t i = 0; i < 4; ++i)
        r.pictures[i] = game.image(row.pictures[i]);
    return r;
}

// Right when the dragged picture is the very picture object of the row's odd one.
void dropOnSack(Form& form, const Row& row, Image& source)
{
    Image& odd = form[row.pictures.at(size_t(row.odd))];
    if (source.picture() == odd.picture()) {
        form[row.right].setVisible(true);
        odd.setVisible(false);
        form[row.wrong].setVisible(false);
        for (int i = 0; i < 4; ++i)
            if (i != row.odd)
                form[row.pictures[size_t(i)]].setEnabled(false);
    } else {
        // A wrong picture vanishes, from whatever row it came.
        source.setVisible(false);
        form[row.wrong].setVisible(true);
        for (const ImageHandle p : row.pictures)
            form[p].setEnabled(false);
    }
}

// Another try: the row's four pictures come back; the smiling face stays as it is.
void clickOnWrongMark(Form& form, const Row& row)
{
    for (const ImageHandle p : row.pictures)
        form[p].setEnabled(true);
    for (const ImageHandle p : row.pictures)
        form[p].setVisible(true);
    form[row.wrong].setVisible(false);
}

void showTip(Form& form)
{
    form.registry().messageBox("Klik op het foutsymbool om het opnieuw te proberen.", "Verbeteren");
}

}  // namespace

const std::array<SackRow, 3>& sackRows(int level)
{
    static constexpr std::array<const std::array<SackRow, 3>*, 2> levels{&Level1, &Level2};
    if (level < 1 || level > int(levels.size()))
        throw RuntimeError("there is no level " + std::to_string(level) + " of Plaatjeindezak");
    return *levels.at(size_t(level - 1));
}

FormClass plaatjeindezakClass(FormDescription description, int level)
{
    FormClass game(std::move(description));
    for (const SackRow& sackRow : sackRows(level)) {
        const Row row = rowOf(game, sackRow);
        game.onDragDrop(sackRow.sack, [row](Form& f, Image& source) { dropOnSack(f, row, source); });
        game.onClick(sackRow.wrong, [row](Form& f) { clickOnWrongMark(f, row); });
    }
    game.onClick("Tip", showTip);
    bindNavigation(game);
    return game;
}

}  // namespace tuvrel
