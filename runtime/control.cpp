#include "runtime/control.h"

#include "runtime/form.h"

#include <algorithm>
#include <cstdlib>

namespace tuvrel {

Control::Control(Form& form, const ControlDescription& row, int index)
    : form_(form), class_(row.controlClass), name_(row.name), index_(index), left_(row.left), top_(row.top),
      width_(row.width), height_(row.height), visible_(row.visible.value_or(true))
{
    if (class_ == ControlClass::Line) {
        // A line's row holds its end points; the control's box lies between them.
        left_ = std::min(row.left, row.width);
        top_ = std::min(row.top, row.height);
        width_ = std::abs(row.width - row.left);
        height_ = std::abs(row.height - row.top);
    }
}

Rect Control::pixelRect() const
{
    return {toPixels(left_), toPixels(top_), toPixels(width_), toPixels(height_)};
}

void Control::setVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    repaint();
    form_.controlVisibilityChanged(*this);
}

void Control::setEnabled(bool enabled)
{
    enabled_ = enabled;
}

void Control::setSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    repaint();
    width_ = width;
    height_ = height;
}

void Control::repaint() const
{
    repaint(paintedArea());
}

void Control::repaint(const Rect& pixelArea) const
{
    form_.invalidate(pixelArea);
}

Image::Image(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), picture_(row.picture ? Picture::load(*row.picture) : Picture()),
      dragMode_(row.dragMode.value_or(DragMode::Manual)), toolTip_(row.toolTipText.value_or(std::string()))
{
}

void Image::setPicture(const Picture& picture)
{
    // The area the old picture painted goes too.
    repaint();
    picture_ = picture;
    if (!picture.isEmpty())
        setSize(picture.size().width * TwipsPerPixel, picture.size().height * TwipsPerPixel);
    repaint();
}

Rect Image::paintedArea() const
{
    return pixelRect().united(Rect(pixelRect().topLeft(), picture_.size()));
}

Label::Label(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), caption_(row.caption.value_or(std::string())),
      foreColor_(row.foreColor.value_or(SystemColor::ButtonText)),
      backColor_(row.backColor.value_or(SystemColor::ButtonFace)),
      backStyle_(row.backStyle.value_or(BackStyle::Opaque)), alignment_(row.alignment.value_or(Alignment::Left)),
      font_(row.font.value_or(fonts::msSansSerif(12))), tabIndex_(row.tabIndex.value_or(0))
{
}

void Label::setCaption(const std::string& caption)
{
    caption_ = caption;
    repaint();
    form().raiseChange(*this);
}

CommandButton::CommandButton(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), style_(row.style.value_or(ButtonStyle::Standard)),
      caption_(row.caption.value_or(std::string())), font_(row.font.value_or(fonts::msSansSerif(12))),
      picture_(row.picture ? Picture::load(*row.picture) : Picture()),
      toolTip_(row.toolTipText.value_or(std::string())), tabIndex_(row.tabIndex.value_or(0))
{
}

Shape::Shape(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), backColor_(row.backColor.value_or(SystemColor::Window)),
      backStyle_(row.backStyle.value_or(BackStyle::Transparent)), borderColor_(row.borderColor.value_or(0x00000000)),
      borderWidth_(row.borderWidth.value_or(1)), fillColor_(row.fillColor.value_or(0x00000000)),
      fillStyle_(row.fillStyle.value_or(FillStyle::Transparent))
{
}

void Shape::setFillColor(BgrColor color)
{
    if (fillColor_ == color)
        return;
    fillColor_ = color;
    repaint();
}

Line::Line(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), x1_(row.left), y1_(row.top), x2_(row.width), y2_(row.height),
      borderWidth_(row.borderWidth.value_or(1))
{
}

Point Line::start() const
{
    return {toPixels(x1_), toPixels(y1_)};
}

Point Line::end() const
{
    return {toPixels(x2_), toPixels(y2_)};
}

int Line::penWidth() const
{
    return std::max(1, borderWidth_);
}

Rect Line::pixelRect() const
{
    const Point a = start(), b = end();
    return Rect::fromCorners({std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)});
}

Rect Line::paintedArea() const
{
    const int room = penWidth() / 2 + 1;
    return pixelRect().adjusted(-room, -room, room, room);
}

Menu::Menu(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), caption_(row.caption.value_or(std::string()))
{
}

}  // namespace tuvrel
