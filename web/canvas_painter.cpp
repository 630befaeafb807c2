#include "web/canvas_painter.h"

#include "assets/picture_catalog.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>

// The canvas calls. Module.tuvrelContext is the page canvas's 2D context and
// Module.tuvrelPictures the site's pictures (web/site/page.js). Colours come
// as 0xRRGGBB.

// clang-format off
EM_JS(void, tuvrel_js_fill, (int x, int y, int w, int h, int rgb), {
    const ctx = Module.tuvrelContext;
    ctx.fillStyle = '#' + (0x1000000 + rgb).toString(16).slice(1);
    ctx.fillRect(x, y, w, h);
});

EM_JS(void, tuvrel_js_clip, (int x, int y, int w, int h), {
    const ctx = Module.tuvrelContext;
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
});

EM_JS(void, tuvrel_js_unclip, (), {
    Module.tuvrelContext.restore();
});

// A picture on a device rectangle, from its rendering at `scale` (the core's
// choice for that size).
EM_JS(void, tuvrel_js_picture, (const char* name, int nameLength, int scale, int x, int y, int w, int h), {
    Module.tuvrelPictures.draw(UTF8ToString(name, nameLength), scale, x, y, w, h);
});

// A label's lines, where the core laid them out in form pixels, drawn through
// the form's transform at the device's resolution: begin with the label's
// box as the clip, each line from its start on its baseline, then end.
EM_JS(void, tuvrel_js_text_begin, (int face, int pixels, int rgb, int x, int y, int w, int h,
                                   double scale, double ox, double oy), {
    const ctx = Module.tuvrelContext;
    ctx.save();
    ctx.setTransform(scale, 0, 0, scale, ox, oy);
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
    ctx.font = Module.tuvrelFont(face, pixels);
    ctx.fillStyle = '#' + (0x1000000 + rgb).toString(16).slice(1);
    ctx.textBaseline = 'alphabetic';
    ctx.textAlign = 'left';
});

EM_JS(void, tuvrel_js_text_line, (const char* text, int length, double x, double baseline), {
    Module.tuvrelContext.fillText(UTF8ToString(text, length), x, baseline);
});

EM_JS(void, tuvrel_js_text_end, (), {
    Module.tuvrelContext.restore();
});

// Text measured in a face at a size in CSS pixels, which are form pixels
// here: into out[0] and out[1] a run's advance and how far its ink reaches
// past it, or the face's ascent and descent.
EM_JS(void, tuvrel_js_measure, (const char* text, int length, int face, int pixels, double* out), {
    const m = Module.tuvrelMeasure(face, pixels, UTF8ToString(text, length));
    HEAPF64[out >> 3] = m.width;
    HEAPF64[(out >> 3) + 1] = Math.max(0, m.actualBoundingBoxRight - m.width);
});

EM_JS(void, tuvrel_js_font_metrics, (int face, int pixels, double* out), {
    const m = Module.tuvrelMeasure(face, pixels, 'Hg');
    HEAPF64[out >> 3] = m.fontBoundingBoxAscent;
    HEAPF64[(out >> 3) + 1] = m.fontBoundingBoxDescent;
});

// A push button's bevel as the desktop's style draws it: a grey outline with
// rounded corners, a light face shading down, darker while held down.
EM_JS(void, tuvrel_js_bevel, (int x, int y, int w, int h, int down, double ratio), {
    const ctx = Module.tuvrelContext;
    const line = Math.max(1, Math.round(ratio));
    const r = 2 * ratio;
    const path = new Path2D();
    const l = x + line / 2, t = y + line / 2, rw = w - line, rh = h - line;
    path.moveTo(l + r, t);
    path.arcTo(l + rw, t, l + rw, t + rh, r);
    path.arcTo(l + rw, t + rh, l, t + rh, r);
    path.arcTo(l, t + rh, l, t, r);
    path.arcTo(l, t, l + rw, t, r);
    path.closePath();
    const face = ctx.createLinearGradient(0, y, 0, y + h);
    face.addColorStop(0, down ? '#dadada' : '#fdfdfd');
    face.addColorStop(1, down ? '#e6e6e6' : '#eeeeee');
    ctx.fillStyle = face;
    ctx.fill(path);
    if (!down) {
        ctx.fillStyle = '#fefefe';
        ctx.fillRect(x + line + r / 2, y + line, w - 2 * line - r, line);
    }
    ctx.lineWidth = line;
    ctx.strokeStyle = down ? '#9a9a9a' : '#ababab';
    ctx.stroke(path);
});

EM_JS(void, tuvrel_js_caption, (const char* text, int length, int face, int pixels, int x, int y, int w, int h), {
    const ctx = Module.tuvrelContext;
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
    ctx.font = Module.tuvrelFont(face, pixels);
    ctx.fillStyle = '#000000';
    ctx.textBaseline = 'alphabetic';
    ctx.textAlign = 'center';
    const m = ctx.measureText('Hg');
    const ascent = m.fontBoundingBoxAscent, height = m.fontBoundingBoxAscent + m.fontBoundingBoxDescent;
    ctx.fillText(UTF8ToString(text, length), x + w / 2, y + (h - height) / 2 + ascent);
    ctx.restore();
});

// The focus: a dotted line, one dot in three, covering the rectangle's
// outer pixels.
EM_JS(void, tuvrel_js_focus, (double x, double y, double w, double h, double width), {
    const ctx = Module.tuvrelContext;
    ctx.save();
    ctx.strokeStyle = '#000000';
    ctx.lineWidth = width;
    ctx.setLineDash([width, 2 * width]);
    ctx.strokeRect(x + width / 2, y + width / 2, w - width, h - width);
    ctx.restore();
});

EM_JS(void, tuvrel_js_line, (int x1, int y1, int x2, int y2, int width, int rgb, double scale, double ox, double oy), {
    const ctx = Module.tuvrelContext;
    ctx.save();
    ctx.setTransform(scale, 0, 0, scale, ox, oy);
    ctx.strokeStyle = '#' + (0x1000000 + rgb).toString(16).slice(1);
    ctx.lineWidth = width;
    ctx.lineCap = 'butt';
    ctx.beginPath();
    ctx.moveTo(x1, y1);
    ctx.lineTo(x2, y2);
    ctx.stroke();
    ctx.restore();
});

// The outline of a dragged image along its path: two device pixels wide,
// white under black dashes, so that it shows on any ground.
EM_JS(void, tuvrel_js_outline, (int x, int y, int w, int h), {
    const ctx = Module.tuvrelContext;
    ctx.save();
    ctx.lineWidth = 2;
    ctx.strokeStyle = '#ffffff';
    ctx.strokeRect(x, y, w, h);
    ctx.setLineDash([8, 4]);
    ctx.strokeStyle = '#000000';
    ctx.strokeRect(x, y, w, h);
    ctx.restore();
});
// clang-format on

namespace tuvrel::web {

namespace {

int clipDepth = 0;
double paintedPixels = 0;

// What the page paints: a rectangle not inside a clip already counted.
void countPainted(const Rect& device)
{
    if (clipDepth == 0 && !device.isEmpty())
        paintedPixels += double(device.width()) * double(device.height());
}

int rgbOf(Rgb c)
{
    return (int(c.red) << 16) | (int(c.green) << 8) | int(c.blue);
}

int faceOf(const FontSpec& font)
{
    return font.bundled() == BundledFace::ComicNeue ? 0 : 1;
}

void drawPicture(const DeviceMap& map, const Picture& picture, Point at)
{
    const Rect target = map.rect(Rect(at, picture.size()));
    if (target.isEmpty() || picture.isEmpty())
        return;
    const std::string_view name = picture.assetName();
    const int scale = renderingScaleFor(picture.size().width, picture.size().height, target.width(), target.height());
    tuvrel_js_picture(name.data(), int(name.size()), scale, target.left(), target.top(), target.width(),
                      target.height());
}

}  // namespace

void CanvasPainter::fill(const Rect& area, Rgb colour)
{
    fillDevice(map_.rect(area), colour);
}

void CanvasPainter::picture(const Picture& picture, Point at)
{
    drawPicture(map_, picture, at);
}

LineMetrics CanvasMeasurer::lineMetrics(const FontSpec& font)
{
    // The canvas tells no line gap: the lines follow each other at the face's
    // ascent and descent.
    double m[2] = {0, 0};
    tuvrel_js_font_metrics(faceOf(font), font.pixelSize(), m);
    return {m[0], m[1], 0};
}

RunWidth CanvasMeasurer::measure(const FontSpec& font, std::string_view run)
{
    double m[2] = {0, 0};
    tuvrel_js_measure(run.data(), int(run.size()), faceOf(font), font.pixelSize(), m);
    return {m[0], m[1]};
}

void CanvasPainter::text(const TextDrawing& text)
{
    const Rect& box = text.box;
    tuvrel_js_text_begin(faceOf(text.font), text.font.pixelSize(), rgbOf(text.colour), box.left(), box.top(),
                         box.width(), box.height(), map_.scale(), map_.offset().x, map_.offset().y);
    for (const TextLine& line : text.lines)
        tuvrel_js_text_line(line.text.data(), int(line.text.size()), line.x, line.baseline);
    tuvrel_js_text_end();
}

void CanvasPainter::button(const ButtonDrawing& button)
{
    const Rect device = map_.rect(button.box);
    const double ratio = map_.pixelRatio();
    const ButtonMarks marks = buttonMarks(map_, button.box, button.font.pixelSize());
    tuvrel_js_bevel(device.left(), device.top(), device.width(), device.height(), button.down, ratio);
    if (!button.graphical) {
        // The caption at the core's size for it, in whole CSS pixels.
        const int pixels = roundToPixel(marks.captionPixels * ratio);
        tuvrel_js_caption(button.caption.data(), int(button.caption.size()), faceOf(button.font), pixels, device.left(),
                          device.top(), device.width(), device.height());
    } else if (!button.picture.isEmpty()) {
        beginClip(map_.rect(button.pictureClip));
        drawPicture(map_, button.picture, button.pictureAt);
        endClip();
    }
    if (button.focused) {
        const Rect& f = marks.focus;
        tuvrel_js_focus(f.left() * ratio, f.top() * ratio, f.width() * ratio, f.height() * ratio,
                        marks.focusLine * ratio);
    }
}

void CanvasPainter::line(Point from, Point to, int width, Rgb colour)
{
    tuvrel_js_line(from.x, from.y, to.x, to.y, width, rgbOf(colour), map_.scale(), map_.offset().x, map_.offset().y);
}

void CanvasPainter::dragOutline(const Rect& outline)
{
    const Rect path = dragOutlinePath(map_, outline);
    tuvrel_js_outline(path.left(), path.top(), path.width(), path.height());
}

void fillDevice(const Rect& device, Rgb colour)
{
    countPainted(device);
    if (!device.isEmpty())
        tuvrel_js_fill(device.left(), device.top(), device.width(), device.height(), rgbOf(colour));
}

void beginClip(const Rect& device)
{
    countPainted(device);
    ++clipDepth;
    tuvrel_js_clip(device.left(), device.top(), device.width(), device.height());
}

void endClip()
{
    clipDepth = std::max(0, clipDepth - 1);
    tuvrel_js_unclip();
}

double takePaintedPixels()
{
    const double painted = paintedPixels;
    paintedPixels = 0;
    return painted;
}

}  // namespace tuvrel::web

extern "C" {

#ifdef TUVREL_TEST_HOOKS
// The benchmark's count of the device pixels painted since its last call
// (the test build alone).
EMSCRIPTEN_KEEPALIVE double tuvrel_painted_pixels()
{
    return tuvrel::web::takePaintedPixels();
}
#endif

}  // extern "C"
