#include "tests/support/plays.h"

namespace tuvrel::test {

namespace {

void clickOnForm(Form& form, std::string_view control)
{
    const Point at = form.find(control)->pixelRect().center();
    form.mousePress(at, MouseButton::Left);
    form.mouseRelease(at, MouseButton::Left);
}

void dragOnForm(Form& form, std::string_view source, std::string_view target)
{
    const Point from = form.find(source)->pixelRect().center(), to = form.find(target)->pixelRect().center();
    form.mousePress(from, MouseButton::Left);
    form.mouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
    form.mouseMove(to);
    form.mouseRelease(to, MouseButton::Left);
}

}  // namespace

const Hand mouseHand{"mouse", click, drag};
const Hand fingerHand{"finger", tap, fingerDrag};
const Hand formHand{"form", clickOnForm, dragOnForm};

const std::vector<Play>& plays()
{
    static const std::vector<Play> all{
        {"Pietkleden",
         [](Form& f, const Hand& h) {
             h.drag(f, "ImageMutsGroen", "ImageMuts");
             h.drag(f, "ImageBloesBlauw", "ImageBloes");
             h.drag(f, "ImageBloesBlauw", "ImageBroek");  // not its place: nothing
         }},
        {"Plaatjeindezak1",
         [](Form& f, const Hand& h) {
             h.drag(f, "ImageKaars", "ImageZak1");
             h.drag(f, "ImageMuts", "ImageZak2");  // the wrong one
         }},
        {"Vormen1",
         [](Form& f, const Hand& h) {
             h.drag(f, "ImageEendje", "ImageVeendje");
             h.drag(f, "ImageJack", "ImageVstiften");  // the wrong package
         }},
        {"Puzzel1",
         [](Form& f, const Hand& h) {
             h.drag(f, "img4", "Image4");
             h.drag(f, "img3", "Image1");
             h.click(f, "Image1");  // the wrong quarter clicked away
         }},
        {"Tellen1",
         [](Form& f, const Hand& h) {
             h.click(f, "ImgPiet2");
             h.click(f, "ImgZak4");
         }},
        {"Tellen3", [](Form& f, const Hand& h) { h.drag(f, "Img2c", "Image2b"); }},
        {"Sudoku1",
         [](Form& f, const Hand& h) {
             h.drag(f, "Img2", "Img1a");
             h.drag(f, "Img3", "Img1b");
             h.click(f, "knopGoed");
         }},
        {"Spel",
         [](Form& f, const Hand& h) {
             h.drag(f, "ImgSint", "Image1");
             h.drag(f, "ImgPiet", "Image6");
         }},
    };
    return all;
}

const Play& play(std::string_view form)
{
    for (const Play& p : plays())
        if (form == p.form)
            return p;
    qFatal("no play for %s", std::string(form).c_str());
}

}  // namespace tuvrel::test
