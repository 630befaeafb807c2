#pragma once
// The core's drawing carried out on the page's canvas (its 2D context), in
// device pixels: the form's transform on the page times the device pixel
// ratio. Pictures are drawn from the site's renderings (the nearest larger
// one for the size on the device), text with the bundled web fonts, buttons
// in the desktop's style.
#include "runtime/form_drawing.h"
#include "runtime/form_transform.h"

namespace tuvrel::web {

// Form pixels to device pixels of the canvas.
class DeviceMap {
public:
    DeviceMap(const FormTransform& transform, double pixelRatio);

    // Every edge rounded on its own, so that rectangles that meet in the form
    // meet on the device.
    Rect rect(const Rect& form) const;
    double scale() const { return scale_; }                 // device pixels per form pixel
    double pixelRatio() const { return ratio_; }            // device pixels per CSS pixel
    double windowScale() const { return scale_ / ratio_; }  // CSS pixels per form pixel
    PointF offset() const { return offset_; }               // device pixels

private:
    double ratio_;
    double scale_;
    PointF offset_;
};

class CanvasPainter : public FormPainter {
public:
    explicit CanvasPainter(const DeviceMap& map) : map_(map) {}

    void fill(const Rect& area, Rgb colour) override;
    void picture(const Picture& picture, Point at) override;
    bool laysBackgroundOnFace(const Picture&) override { return false; }
    void background(const Picture&, const Region&) override {}
    void text(const TextDrawing& text) override;
    void button(const ButtonDrawing& button) override;
    void line(Point from, Point to, int width, Rgb colour) override;
    void dragOutline(const Rect& outline) override;

private:
    const DeviceMap& map_;
};

// Device pixels straight on the canvas: the strips beside the form.
void fillDevice(const Rect& device, Rgb colour);
// Every drawing from here on only inside this device rectangle, until endClip().
void beginClip(const Rect& device);
void endClip();

// The device pixels painted since the last call: the area of every clip
// rectangle and every fill that is not inside another clip (for the
// benchmark: a drag move should paint its outline's area, no more).
double takePaintedPixels();

}  // namespace tuvrel::web
