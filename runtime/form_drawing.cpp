#include "runtime/form_drawing.h"

#include "runtime/form.h"

#include <algorithm>
#include <vector>

namespace tuvrel {

namespace {

const Rgb Face = toRgb(SystemColor::ButtonFace);

// The form rectangle a control paints opaque all over (a filled shape, an
// opaque label, a picture without a transparent ground); empty when anything
// beneath may show through.
Rect opaqueRect(const Control& c)
{
    const Rect r = c.pixelRect();
    switch (c.controlClass()) {
    case ControlClass::Image:
        if (const Picture& picture = static_cast<const Image&>(c).picture(); picture.isOpaque())
            return {r.topLeft(), picture.size()};
        break;
    case ControlClass::Label:
        if (static_cast<const Label&>(c).opaque())
            return r;
        break;
    case ControlClass::Shape:
        if (const auto& shape = static_cast<const Shape&>(c);
            shape.backStyle() == BackStyle::Opaque || shape.solidFill())
            return r;
        break;
    default: break;
    }
    return {};
}

// One paint: what each control in the paint order covers opaque, so that
// nothing is filled or drawn where a control drawn later covers it (at 3840 x
// 2160 every pixel filled twice costs).
class Drawing {
public:
    Drawing(const Form& form, FormPainter& painter) : form_(form), painter_(painter), order_(form.paintOrder())
    {
        opaque_.reserve(order_.size());
        for (const Control* c : order_)
            opaque_.push_back(c->visible() ? opaqueRect(*c) : Rect());
        for (const Rect& r : opaque_)
            covered_ += r;
    }

    const Region& covered() const { return covered_; }

    // The parts of r that nothing drawn after control i covers.
    Region showing(const Rect& r, size_t i) const
    {
        Region rest(r);
        for (size_t j = i + 1; j < opaque_.size() && !rest.isEmpty(); ++j)
            if (opaque_[j].intersects(r))
                rest -= opaque_[j];
        return rest;
    }

    void fillShowing(const Rect& r, size_t i, Rgb colour) const
    {
        const Region parts = showing(r, i);
        for (const Rect& part : parts.rects())
            painter_.fill(part, colour);
    }

    void image(const Image& image, size_t i) const
    {
        const Picture& picture = image.picture();
        if (picture.isEmpty())
            return;
        const Point at = image.pixelRect().topLeft();
        // Not at all where something drawn later hides the whole of it.
        if (!showing(Rect(at, picture.size()), i).isEmpty())
            painter_.picture(picture, at);
    }

    void label(const Label& label, size_t i) const
    {
        const Rect r = label.pixelRect();
        if (label.opaque())
            fillShowing(r, i, toRgb(label.backColor()));
        if (label.caption().empty())
            return;
        const TextLayout layout = layOutText(label.caption(), label.font(), r, label.alignment(), painter_.measurer());
        TextDrawing text{{}, label.font(), toRgb(label.foreColor()), r, layout.block, {}};
        for (const TextLine& line : layout.lines)
            if (!line.text.empty() && line.top < r.top() + r.height())
                text.lines.push_back(line);
        if (text.lines.empty())
            return;
        if (label.opaque())
            text.ground = toRgb(label.backColor());
        painter_.text(text);
    }

    void shape(const Shape& shape, size_t i) const
    {
        const Rect r = shape.pixelRect();
        // A solid fill covers the back colour entirely.
        if (shape.solidFill())
            fillShowing(r, i, toRgb(shape.fillColor()));
        else if (shape.backStyle() == BackStyle::Opaque)
            fillShowing(r, i, toRgb(shape.backColor()));
        // The border lies inside the rectangle, whatever its width.
        const int w = std::max(1, std::min(shape.borderWidth(), std::min(r.width(), r.height()) / 2));
        const Rgb c = toRgb(shape.borderColor());
        for (const Rect& band :
             {Rect(r.left(), r.top(), r.width(), w), Rect(r.left(), r.bottom() - w + 1, r.width(), w),
              Rect(r.left(), r.top() + w, w, r.height() - 2 * w),
              Rect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w)})
            fillShowing(band, i, c);
    }

    void line(const Line& line) const
    {
        const int w = line.penWidth();
        const Point a = line.start(), b = line.end();
        if (a.x == b.x || a.y == b.y) {
            // Straight lines as filled bands centred on the line, so that they stay crisp.
            const Rect band = line.pixelRect();
            const int before = (w - 1) / 2;
            if (a.x == b.x)
                painter_.fill({band.left() - before, band.top(), w, band.height()}, colours::Black);
            else
                painter_.fill({band.left(), band.top() - before, band.width(), w}, colours::Black);
            return;
        }
        painter_.line(a, b, w, colours::Black);
    }

    void button(const CommandButton& button, bool showFocus) const
    {
        ButtonDrawing look;
        look.box = button.pixelRect();
        look.graphical = button.graphical();
        look.caption = button.caption();
        look.font = button.font();
        look.down = form_.pressedButton() == &button;
        look.focused = showFocus && form_.focusedButton() == &button;
        if (look.graphical && !button.picture().isEmpty()) {
            // Centred on the button; pressed, it moves with the face.
            Rect target({}, button.picture().size());
            target.moveCenter(look.box.center());
            if (look.down)
                target = target.translated(1, 1);
            look.picture = button.picture();
            look.pictureAt = target.topLeft();
            look.pictureClip = look.box.adjusted(2, 2, -2, -2);
        }
        painter_.button(look);
    }

private:
    const Form& form_;
    FormPainter& painter_;
    const std::vector<Control*>& order_;
    std::vector<Rect> opaque_;
    Region covered_;
};

}  // namespace

void drawForm(const Form& form, const Rect& area, FormPainter& painter, bool showFocus)
{
    if (!form.isLoaded()) {
        painter.fill(area, Face);
        return;
    }
    const Drawing drawing(form, painter);
    const Picture& bg = form.background();
    const Rect bgRect({}, bg.size());
    const bool laidOnFace = !bg.isEmpty() && !bg.isOpaque() && painter.laysBackgroundOnFace(bg);
    Region behindAll = drawing.covered();
    if (bg.isOpaque() || laidOnFace)
        behindAll += bgRect;
    const Region face = Region(area) - behindAll;
    for (const Rect& part : face.rects())
        painter.fill(part, Face);
    if (laidOnFace)
        painter.background(bg, drawing.covered());
    else if (!bg.isEmpty() && !drawing.covered().covers(bgRect))
        painter.picture(bg, {});

    const std::vector<Control*>& order = form.paintOrder();
    for (size_t i = 0; i < order.size(); ++i) {
        const Control* c = order[i];
        if (!c->visible() || !c->paintedArea().intersects(area))
            continue;
        switch (c->controlClass()) {
        case ControlClass::Image: drawing.image(static_cast<const Image&>(*c), i); break;
        case ControlClass::Label: drawing.label(static_cast<const Label&>(*c), i); break;
        case ControlClass::Shape: drawing.shape(static_cast<const Shape&>(*c), i); break;
        case ControlClass::Line: drawing.line(static_cast<const Line&>(*c)); break;
        case ControlClass::CommandButton: drawing.button(static_cast<const CommandButton&>(*c), showFocus); break;
        case ControlClass::Menu: break;
        }
    }
    if (const auto& drag = form.drag())
        painter.dragOutline(drag->outline);
}

}  // namespace tuvrel
