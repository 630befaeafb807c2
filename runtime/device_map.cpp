#include "runtime/device_map.h"

#include <algorithm>
#include <cmath>

namespace tuvrel {

int roundToPixel(double position)
{
    // Halves away from zero, as Qt's qRound does, so that the desktop's
    // pixels stay the ones it has always drawn.
    return int(std::lround(position));
}

DeviceMap::DeviceMap(double scale, PointF offset, double pixelRatio)
    : ratio_(pixelRatio), scale_(scale * pixelRatio), offset_{offset.x * pixelRatio, offset.y * pixelRatio}
{
}

DeviceMap::DeviceMap(const FormTransform& transform, double pixelRatio)
    : DeviceMap(transform.scale(), transform.offset(), pixelRatio)
{
}

Rect DeviceMap::rect(const Rect& form) const
{
    const int left = roundToPixel(scale_ * form.left() + offset_.x);
    const int top = roundToPixel(scale_ * form.top() + offset_.y);
    const int right = roundToPixel(scale_ * (form.left() + form.width()) + offset_.x);
    const int bottom = roundToPixel(scale_ * (form.top() + form.height()) + offset_.y);
    return {left, top, right - left, bottom - top};
}

Point DeviceMap::point(Point form) const
{
    return {roundToPixel(scale_ * form.x + offset_.x), roundToPixel(scale_ * form.y + offset_.y)};
}

Rect DeviceMap::logical(const Rect& device) const
{
    const int left = roundToPixel(device.left() / ratio_);
    const int top = roundToPixel(device.top() / ratio_);
    const int right = roundToPixel((device.left() + device.width()) / ratio_);
    const int bottom = roundToPixel((device.top() + device.height()) / ratio_);
    return {left, top, right - left, bottom - top};
}

ButtonMarks buttonMarks(const DeviceMap& map, const Rect& button, int captionFontPixels)
{
    const double windowScale = map.windowScale();
    ButtonMarks marks;
    marks.face = map.logical(map.rect(button));
    // The line runs four form pixels inside the face on the left and at the
    // top, five on the right and at the bottom, with its pixels centred on
    // that path (half a line's width to each side, the odd pixel inside):
    // the look of the desktop's buttons as they have always been drawn.
    const int in = roundToPixel(4 * windowScale), out = roundToPixel(5 * windowScale);
    const int line = std::max(1, roundToPixel(windowScale));
    const Rect path = marks.face.adjusted(in, in, -out + 1, -out + 1);
    marks.focus = path.adjusted(-(line / 2), -(line / 2), (line + 1) / 2 - 1, (line + 1) / 2 - 1);
    marks.focusLine = line;
    marks.captionPixels = std::max(1, roundToPixel(captionFontPixels * windowScale));
    return marks;
}

Rect dragOutlinePath(const DeviceMap& map, const Rect& outline)
{
    return map.rect(outline).adjusted(1, 1, -1, -1);
}

}  // namespace tuvrel
