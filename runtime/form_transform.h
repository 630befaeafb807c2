#pragma once
// How a form's client area lies in a window of any size: scaled by one factor
// s = min(width ratio, height ratio) and centred, the strips left over on two
// sides. Painting goes through it one way, every pointer position the other,
// so the form itself only ever sees its own pixels.
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>

namespace tuvrel {

class FormTransform {
public:
    FormTransform() = default;  // 1:1 at the top-left corner
    // The client area fitted into a canvas of the given size.
    FormTransform(QSize client, QSize canvas);

    qreal scale() const { return scale_; }
    QPointF offset() const { return offset_; }
    // True when the form is drawn pixel for pixel, as at its described size.
    bool isIdentity() const { return scale_ == 1.0 && offset_.isNull(); }

    // The form pixel under a canvas position; outside the client area when
    // the position lies in a strip.
    QPoint toForm(QPointF canvasPoint) const;
    // The canvas area that shows these form pixels, whole pixels around it.
    QRect toCanvas(const QRect& formArea) const;
    // The canvas pixel under a form pixel's centre: toForm() gives the form
    // pixel back wherever the form is shown at least at its own size.
    QPoint toCanvas(QPoint formPixel) const;
    // The form pixels that a canvas area shows any part of.
    QRect toForm(const QRect& canvasArea) const;
    // Where the client area lies on the canvas.
    QRectF clientOnCanvas() const { return {offset_, QSizeF(client_) * scale_}; }

private:
    QSize client_;
    qreal scale_ = 1.0;
    QPointF offset_;
};

}  // namespace tuvrel
