#pragma once
// The controls of a form. Positions and sizes are in twips, as the
// descriptions write them; pixelRect() is where the control lies on the form.
// Every property write that changes the look asks the form to repaint the
// control's area.
#include "runtime/colors.h"
#include "runtime/fonts.h"
#include "runtime/form_description.h"
#include "runtime/picture.h"

#include <QRect>
#include <QString>

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
    const QString& name() const { return name_; }
    int index() const { return index_; }  // row number, 0 for the first row

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    QRect pixelRect() const;

    bool visible() const { return visible_; }
    void setVisible(bool visible);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);  // only the events change, not the look

protected:
    void setSize(int width, int height);
    void repaint() const;  // asks the form to repaint this control's area
    void repaint(const QRect& pixelArea) const;

private:
    Form& form_;
    ControlClass class_;
    QString name_;
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
    bool dragAutomatic() const { return dragMode_ == 1; }
    int dragMode() const { return dragMode_; }
    const QString& toolTipText() const { return toolTip_; }

private:
    Picture picture_;
    int dragMode_;
    QString toolTip_;
};

class Label : public Control {
public:
    Label(Form& form, const ControlDescription& row, int index);

    const QString& caption() const { return caption_; }
    // Stores the text, then runs the label's Change handler before returning.
    void setCaption(const QString& caption);
    BgrColor foreColor() const { return foreColor_; }
    BgrColor backColor() const { return backColor_; }
    bool opaque() const { return backStyle_ == 1; }
    int backStyle() const { return backStyle_; }
    int alignment() const { return alignment_; }
    const FontSpec& font() const { return font_; }
    int tabIndex() const { return tabIndex_; }

private:
    QString caption_;
    BgrColor foreColor_, backColor_;
    int backStyle_, alignment_;
    FontSpec font_;
    int tabIndex_;
};

class CommandButton : public Control {
public:
    CommandButton(Form& form, const ControlDescription& row, int index);

    bool graphical() const { return style_ == 1; }
    int style() const { return style_; }
    const QString& caption() const { return caption_; }
    const FontSpec& font() const { return font_; }
    const Picture& picture() const { return picture_; }
    const QString& toolTipText() const { return toolTip_; }
    int tabIndex() const { return tabIndex_; }

private:
    int style_;
    QString caption_;
    FontSpec font_;
    Picture picture_;
    QString toolTip_;
    int tabIndex_;
};

class Shape : public Control {
public:
    Shape(Form& form, const ControlDescription& row, int index);

    BgrColor backColor() const { return backColor_; }
    int backStyle() const { return backStyle_; }
    BgrColor borderColor() const { return borderColor_; }
    int borderWidth() const { return borderWidth_; }
    BgrColor fillColor() const { return fillColor_; }
    void setFillColor(BgrColor color);
    int fillStyle() const { return fillStyle_; }
    bool solidFill() const { return fillStyle_ == 0; }

private:
    BgrColor backColor_;
    int backStyle_;
    BgrColor borderColor_;
    int borderWidth_;
    BgrColor fillColor_;
    int fillStyle_;
};

class Line : public Control {
public:
    Line(Form& form, const ControlDescription& row, int index);

    int x1() const { return left(); }
    int y1() const { return top(); }
    int x2() const { return width(); }
    int y2() const { return height(); }
    int borderWidth() const { return borderWidth_; }

private:
    int borderWidth_;
};

class Menu : public Control {
public:
    Menu(Form& form, const ControlDescription& row, int index);
    const QString& caption() const { return caption_; }

private:
    QString caption_;
};

// Twips to pixels, as the forms are laid out: 15 twips to the pixel.
inline int toPixels(int twips)
{
    return (twips + (twips >= 0 ? 7 : -7)) / TwipsPerPixel;
}

}  // namespace tuvrel
