#include "runtime/form_transform.h"

#include <algorithm>
#include <cmath>

namespace tuvrel {

FormTransform::FormTransform(QSize client, QSize canvas) : client_(client)
{
    if (client.isEmpty() || canvas.isEmpty())
        return;
    scale_ = std::min(qreal(canvas.width()) / client.width(), qreal(canvas.height()) / client.height());
    // The offset in whole pixels, so that at scale 1 every form pixel is one canvas pixel.
    offset_ = QPointF(std::floor((canvas.width() - client.width() * scale_) / 2),
                      std::floor((canvas.height() - client.height() * scale_) / 2));
}

QPoint FormTransform::toForm(QPointF canvasPoint) const
{
    const QPointF p = (canvasPoint - offset_) / scale_;
    return {int(std::floor(p.x())), int(std::floor(p.y()))};
}

QRect FormTransform::toCanvas(const QRect& formArea) const
{
    if (formArea.isEmpty())
        return {};
    const QRectF r(offset_ + QPointF(formArea.topLeft()) * scale_, QSizeF(formArea.size()) * scale_);
    return r.toAlignedRect();
}

QPoint FormTransform::toCanvas(QPoint formPixel) const
{
    const QPointF p = offset_ + (QPointF(formPixel) + QPointF(0.5, 0.5)) * scale_;
    return {int(std::floor(p.x())), int(std::floor(p.y()))};
}

QRect FormTransform::toForm(const QRect& canvasArea) const
{
    if (canvasArea.isEmpty())
        return {};
    const QRectF r((QPointF(canvasArea.topLeft()) - offset_) / scale_, QSizeF(canvasArea.size()) / scale_);
    return r.toAlignedRect();
}

}  // namespace tuvrel
