#pragma once
// Form pixels to device pixels, for every front end's painter: the window's
// scale and offset (FormTransform) times the device's pixel ratio. Written
// once, so that every edge of every control lands on the same device pixel
// on the desktop and in the browser.
#include "runtime/form_transform.h"
#include "runtime/geometry.h"

namespace tuvrel {

// A device position rounded to its pixel, halves away from zero (2.5 is 3, -2.5 is -3).
int roundToPixel(double position);

class DeviceMap {
public:
    // `scale` and `offset`: the window's form pixels in its own (logical)
    // pixels; `pixelRatio`: device pixels per logical pixel.
    DeviceMap(double scale, PointF offset, double pixelRatio);
    DeviceMap(const FormTransform& transform, double pixelRatio);

    // The device pixels of form pixels: every edge rounded on its own, so that
    // rectangles that meet in the form (puzzle quarters, a shape's border
    // bands) meet on the device. At a scale of 1 it is the form rectangle.
    Rect rect(const Rect& form) const;
    // The device pixel of a form point.
    Point point(Point form) const;
    // Device pixels back in the window's own pixels (device pixels over the
    // ratio), every edge rounded on its own: where a platform style that
    // works in those pixels draws a control.
    Rect logical(const Rect& device) const;

    double scale() const { return scale_; }                 // device pixels per form pixel
    double pixelRatio() const { return ratio_; }            // device pixels per logical pixel
    double windowScale() const { return scale_ / ratio_; }  // logical pixels per form pixel
    PointF offset() const { return offset_; }               // device pixels

private:
    double ratio_;
    double scale_;
    PointF offset_;
};

// Where a push button's marks lie, in the window's own pixels (a platform
// style draws buttons in those).
struct ButtonMarks {
    Rect face;              // the button: its bevel, its caption centred in it
    Rect focus;             // the pixels the dotted focus line covers, inside the face: its outer edge
    int focusLine = 1;      // the dotted line's width
    int captionPixels = 1;  // the caption's font size: the form's size at the window's scale
};
ButtonMarks buttonMarks(const DeviceMap& map, const Rect& button, int captionFontPixels);

// The dashed outline of a dragged image, in device pixels: the path of a line
// two device pixels wide, whatever the scale, one pixel inside the image.
Rect dragOutlinePath(const DeviceMap& map, const Rect& outline);

}  // namespace tuvrel
