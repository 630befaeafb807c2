#include "runtime/control.h"

#include "runtime/form.h"

#include <algorithm>

namespace tuvrel {

Control::Control(Form& form, const ControlDescription& row, int index)
    : form_(form), class_(row.controlClass), name_(row.name), index_(index), left_(row.left), top_(row.top),
      width_(row.width), height_(row.height), visible_(row.visible.value_or(true))
{
}

QRect Control::pixelRect() const
{
    if (class_ == ControlClass::Line) {
        // A line's box reaches half its width beyond the end points.
        const int x1 = toPixels(left_), y1 = toPixels(top_), x2 = toPixels(width_), y2 = toPixels(height_);
        return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
    }
    return QRect(toPixels(left_), toPixels(top_), toPixels(width_), toPixels(height_));
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
    repaint(pixelRect());
}

void Control::repaint(const QRect& pixelArea) const
{
    form_.invalidate(pixelArea);
}

Image::Image(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), picture_(row.picture ? Picture::load(*row.picture) : Picture()),
      dragMode_(row.dragMode.value_or(0)), toolTip_(row.toolTipText.value_or(QString()))
{
}

void Image::setPicture(const Picture& picture)
{
    picture_ = picture;
    if (!picture.isEmpty())
        setSize(picture.size().width() * TwipsPerPixel, picture.size().height() * TwipsPerPixel);
    repaint();
}

Label::Label(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), caption_(row.caption.value_or(QString())),
      foreColor_(row.foreColor.value_or(SystemColor::ButtonText)),
      backColor_(row.backColor.value_or(SystemColor::ButtonFace)), backStyle_(row.backStyle.value_or(1)),
      alignment_(row.alignment.value_or(0)), font_(row.font.value_or(fonts::msSansSerif(12))),
      tabIndex_(row.tabIndex.value_or(0))
{
}

void Label::setCaption(const QString& caption)
{
    caption_ = caption;
    repaint();
    form().raiseChange(*this);
}

CommandButton::CommandButton(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), style_(row.style.value_or(0)), caption_(row.caption.value_or(QString())),
      font_(row.font.value_or(fonts::msSansSerif(12))), picture_(row.picture ? Picture::load(*row.picture) : Picture()),
      toolTip_(row.toolTipText.value_or(QString())), tabIndex_(row.tabIndex.value_or(0))
{
}

Shape::Shape(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), backColor_(row.backColor.value_or(SystemColor::Window)),
      backStyle_(row.backStyle.value_or(0)), borderColor_(row.borderColor.value_or(0x00000000)),
      borderWidth_(row.borderWidth.value_or(1)), fillColor_(row.fillColor.value_or(0x00000000)),
      fillStyle_(row.fillStyle.value_or(1))
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
    : Control(form, row, index), borderWidth_(row.borderWidth.value_or(1))
{
}

Menu::Menu(Form& form, const ControlDescription& row, int index)
    : Control(form, row, index), caption_(row.caption.value_or(QString()))
{
}

}  // namespace tuvrel
