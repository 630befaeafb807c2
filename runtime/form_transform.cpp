#include "runtime/form_transform.h"

#include <algorithm>
#include <cmath>

namespace tuvrel {

Rect alignedRect(const RectF& r)
{
    const int left = int(std::floor(r.left())), top = int(std::floor(r.top()));
    const int right = int(std::ceil(r.right())), bottom = int(std::ceil(r.bottom()));
    return {left, top, right - left, bottom - top};
}

FormTransform::FormTransform(Size client, Size canvas) : client_(client)
{
    if (client.isEmpty() || canvas.isEmpty())
        return;
    scale_ = std::min(double(canvas.width) / client.width, double(canvas.height) / client.height);
    // The offset in whole pixels, so that at scale 1 every form pixel is one canvas pixel.
    offset_ = {std::floor((canvas.width - client.width * scale_) / 2),
               std::floor((canvas.height - client.height * scale_) / 2)};
}

Point FormTransform::toForm(PointF canvasPoint) const
{
    const PointF p = canvasPoint - offset_;
    return {int(std::floor(p.x / scale_)), int(std::floor(p.y / scale_))};
}

Rect FormTransform::toCanvas(const Rect& formArea) const
{
    if (formArea.isEmpty())
        return {};
    return alignedRect({offset_.x + formArea.left() * scale_, offset_.y + formArea.top() * scale_,
                        formArea.width() * scale_, formArea.height() * scale_});
}

Point FormTransform::toCanvas(Point formPixel) const
{
    return {int(std::floor(offset_.x + (formPixel.x + 0.5) * scale_)),
            int(std::floor(offset_.y + (formPixel.y + 0.5) * scale_))};
}

Rect FormTransform::toForm(const Rect& canvasArea) const
{
    if (canvasArea.isEmpty())
        return {};
    return alignedRect({(canvasArea.left() - offset_.x) / scale_, (canvasArea.top() - offset_.y) / scale_,
                        canvasArea.width() / scale_, canvasArea.height() / scale_});
}

Rect FormTransform::clientPixelsOnCanvas() const
{
    const RectF client = clientOnCanvas();
    const int left = int(std::ceil(client.left())), top = int(std::ceil(client.top()));
    return Rect::fromCorners({left, top}, {int(std::floor(client.right())) - 1, int(std::floor(client.bottom())) - 1});
}

}  // namespace tuvrel
