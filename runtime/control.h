#pragma once
// The controls of a form. Positions and sizes are in twips, as the
// descriptions write them; pixelRect() is where the control lies on the form.
// Every property write that changes the look asks the form to repaint the
// area the control paints.
#include "runtime/colors.h"
#include "runtime/fonts.h"
#include "runtime/form_description.h"
#include "runtime/geometry.h"
#include "runtime/picture.h"

#include <string>

namespace tuvrel {

class Form;

class Control {
public:
    Control(Form& form, const ControlDescription& row, int index);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& form() const { return form_; }
    ControlClass controlClass() const { return class_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }  // row number, 0 for the first row

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    virtual Rect pixelRect() const;
    // Every form pixel that drawing the control may touch: what a repaint of
    // the control covers, and what a paint of part of the form looks at.
    virtual Rect paintedArea() const { return pixelRect(); }

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);  // only the events change, not the look

protected:
    void setSize(int width, int height);
    void repaint() const;  // asks the form to repaint this control's area
    void repaint(const Rect& pixelArea) const;

private:
    Form& form_;
    ControlClass class_;
    std::string name_;
    int index_;
    int left_, top_, width_, height_;
    bool visible_;
    bool enabled_ = true;
};

class Image : public Control {
public:
    Image(Form& form, const ControlDescription& row, int index);

    const Picture& picture() const { return picture_; }
    // A non-empty picture resizes the image to the picture's size; the empty
    // picture leaves the size as it is.
    void setPicture(const Picture& picture);
    bool dragAutomatic() const { return dragMode_ == DragMode::Automatic; }
    DragMode dragMode() const { return dragMode_; }
    const std::string& toolTipText() const { return toolTip_; }
    // The picture is drawn at its own size from the top-left corner, even where
    // the control's box is smaller.
    Rect paintedArea() const override;

private:
    Picture picture_;
    DragMode dragMode_;
    std::string toolTip_;
};

class Label : public Control {
public:
    Label(Form& form, const ControlDescription& row, int index);

    const std::string& caption() const { return caption_; }
    // Stores the text, then runs the label's Change handler before returning.
    void setCaption(const std::string& caption);
    BgrColor foreColor() const { return foreColor_; }
    BgrColor backColor() const { return backColor_; }
    bool opaque() const { return backStyle_ == BackStyle::Opaque; }
    BackStyle backStyle() const { return backStyle_; }
    Alignment alignment() const { return alignment_; }
    const FontSpec& font() const { return font_; }
    int tabIndex() const { return tabIndex_; }

private:
    std::string caption_;
    BgrColor foreColor_, backColor_;
    BackStyle backStyle_;
    Alignment alignment_;
    FontSpec font_;
    int tabIndex_;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, const ControlDescription& row, int index);

    bool graphical() const { return style_ == ButtonStyle::Graphical; }
    ButtonStyle style() const { return style_; }
    const std::string& caption() const { return caption_; }
    const FontSpec& font() const { return font_; }
    const Picture& picture() const { return picture_; }
    const std::string& toolTipText() const { return toolTip_; }
    int tabIndex() const { return tabIndex_; }

private:
    ButtonStyle style_;
    std::string caption_;
    FontSpec font_;
    Picture picture_;
    std::string toolTip_;
    int tabIndex_;
};

class Shape : public Control {
public:
    Shape(Form& form, const ControlDescription& row, int index);

    BgrColor backColor() const { return backColor_; }
    BackStyle backStyle() const { return backStyle_; }
    BgrColor borderColor() const { return borderColor_; }
    int borderWidth() const { return borderWidth_; }
    BgrColor fillColor() const { return fillColor_; }
    void setFillColor(BgrColor color);
    FillStyle fillStyle() const { return fillStyle_; }
    bool solidFill() const { return fillStyle_ == FillStyle::Solid; }

private:
    BgrColor backColor_;
    BackStyle backStyle_;
    BgrColor borderColor_;
    int borderWidth_;
    BgrColor fillColor_;
    FillStyle fillStyle_;
};

// A straight line between two end points, in twips; its row writes them as
// Left/Top/Width/Height. Its box is the rectangle between the end points.
class Line : public Control {
public:
    Line(Form& form, const ControlDescription& row, int index);

    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    int borderWidth() const { return borderWidth_; }
    // The end points in form pixels.
    Point start() const;
    Point end() const;
    // The pen's width in form pixels, at least one.
    int penWidth() const;
    Rect pixelRect() const override;
    // The box between the end points with room for the pen on every side.
    Rect paintedArea() const override;

private:
    int x1_, y1_, x2_, y2_;
    int borderWidth_;
};

class Menu : public Control {
public:
    Menu(Form& form, const ControlDescription& row, int index);
    const std::string& caption() const { return caption_; }

private:
    std::string caption_;
};

// Twips to pixels, as the forms are laid out: 15 twips to the pixel.
inline int toPixels(int twips)
{
    return (twips + (twips >= 0 ? 7 : -7)) / TwipsPerPixel;
}

}  // namespace tuvrel
