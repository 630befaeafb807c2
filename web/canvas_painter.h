#pragma once
// The core's drawing carried out on the page's canvas (its 2D context), in
// device pixels: the form's transform on the page times the device pixel
// ratio, rounded as the core's DeviceMap rounds it, a button's marks and a
// label's lines where the core puts them. Pictures are drawn from the site's
// renderings (the nearest larger one for the size on the device), text with
// the bundled web fonts, buttons in the desktop's style.
#include "runtime/device_map.h"
#include "runtime/form_drawing.h"

namespace tuvrel::web {

// Text measured with the canvas in the bundled web fonts, at the font's size
// in form pixels: a label is laid out at the form's own size and drawn
// scaled, so that it breaks at the same words at every size of the page.
class CanvasMeasurer : public TextMeasurer {
public:
    LineMetrics lineMetrics(const FontSpec& font) override;
    RunWidth measure(const FontSpec& font, std::string_view run) override;
};

class CanvasPainter : public FormPainter {
public:
    explicit CanvasPainter(const DeviceMap& map) : map_(map) {}

    TextMeasurer& measurer() override { return measurer_; }
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
    CanvasMeasurer measurer_;
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
