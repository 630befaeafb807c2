#pragma once
// What a form looks like, decided once for every front end: the face and the
// background picture, every visible control from the back to the front
// (command buttons last), then the drag outline, as calls on a painter in
// form pixels. The core says what is drawn where, lays labels' text out
// into lines (runtime/text_layout.h) and skips what something drawn later
// covers opaque; the front end's painter measures text and makes the pixels
// with its own fonts, and draws buttons in its own style.
#include "runtime/colors.h"
#include "runtime/fonts.h"
#include "runtime/geometry.h"
#include "runtime/picture.h"
#include "runtime/region.h"
#include "runtime/text_layout.h"

#include <optional>
#include <string_view>
#include <vector>

namespace tuvrel {

class Form;

// A label's text, laid out by the core: each line drawn in the font from its
// start on its baseline, nothing of it outside the label's box.
struct TextDrawing {
    std::vector<TextLine> lines;  // those that show in the box and have characters
    FontSpec font;
    Rgb colour;
    Rect box;
    RectF block;  // where all the lines lie (TextLayout::block); glyphs may reach a little past it
    // The label's own ground beneath the text when it is opaque (filled
    // already by then); the text alone on what lies beneath otherwise.
    std::optional<Rgb> ground;
};

// A command button in its state, drawn in the front end's button style.
struct ButtonDrawing {
    Rect box;
    bool graphical = false;
    std::string_view caption;  // a standard button's text, centred
    FontSpec font;
    Picture picture;       // a graphical button's picture, at its own size
    Point pictureAt;       // its top-left corner: centred on the button, one pixel lower right while down
    Rect pictureClip;      // the face inside the bevel, beyond which the picture is not drawn
    bool down = false;     // held down with the pointer over it
    bool focused = false;  // has the focus, and the window shows it
};

class FormPainter {
public:
    virtual ~FormPainter() = default;

    // How this painter's fonts measure text, for laying labels out.
    virtual TextMeasurer& measurer() = 0;
    // A rectangle filled with one colour.
    virtual void fill(const Rect& area, Rgb colour) = 0;
    // A picture at its own size with its top-left corner at a point.
    virtual void picture(const Picture& picture, Point at) = 0;
    // Whether this painter lays a transparent background picture on the face
    // as one opaque image (where that is quicker than blending it): then the
    // face beneath it is not filled, and the background is drawn with
    // background() rather than picture().
    virtual bool laysBackgroundOnFace(const Picture& background) = 0;
    // Such a background, where nothing drawn later covers it.
    virtual void background(const Picture& background, const Region& covered) = 0;
    virtual void text(const TextDrawing& text) = 0;
    virtual void button(const ButtonDrawing& button) = 0;
    // A slanted line, centred on the points, with flat ends.
    virtual void line(Point from, Point to, int width, Rgb colour) = 0;
    // The outline of an image being dragged: a thin dashed rectangle that shows on any ground.
    virtual void dragOutline(const Rect& outline) = 0;
};

// Draws the part of the form inside `area` (form pixels); the rest of the
// painter's surface is the front end's. `showFocus`: whether the window shows
// which button has the focus (it is the active one).
void drawForm(const Form& form, const Rect& area, FormPainter& painter, bool showFocus);

}  // namespace tuvrel
