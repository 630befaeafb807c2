#pragma once
// How a form's client area lies in a window or page of any size: scaled by
// one factor s = min(width ratio, height ratio) and centred, the strips left
// over on two sides. Drawing goes through it one way, every pointer position
// the other, so the form itself only ever sees its own pixels.
#include "runtime/geometry.h"

namespace tuvrel {

class FormTransform {
public:
    FormTransform() = default;  // 1:1 at the top-left corner
    // The client area fitted into a canvas of the given size.
    FormTransform(Size client, Size canvas);

    double scale() const { return scale_; }
    PointF offset() const { return offset_; }
    // True when the form is drawn pixel for pixel, as at its described size.
    bool isIdentity() const { return scale_ == 1.0 && offset_ == PointF{}; }

    // The form pixel under a canvas position; outside the client area when
    // the position lies in a strip.
    Point toForm(PointF canvasPoint) const;
    // The canvas area that shows these form pixels, whole pixels around it.
    Rect toCanvas(const Rect& formArea) const;
    // The canvas pixel under a form pixel's centre: toForm() gives the form
    // pixel back wherever the form is shown at least at its own size.
    Point toCanvas(Point formPixel) const;
    // The form pixels that a canvas area shows any part of.
    Rect toForm(const Rect& canvasArea) const;
    // Where the client area lies on the canvas.
    RectF clientOnCanvas() const { return {offset_.x, offset_.y, client_.width * scale_, client_.height * scale_}; }
    // The whole canvas pixels inside the client area: everything else of the canvas is strip.
    Rect clientPixelsOnCanvas() const;

private:
    Size client_;
    double scale_ = 1.0;
    PointF offset_;
};

// The smallest rectangle of whole pixels holding a fractional one.
Rect alignedRect(const RectF& r);

}  // namespace tuvrel
