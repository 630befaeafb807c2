#pragma once
// The core's geometry, colours and text as Qt's, and back.
#include "runtime/colors.h"
#include "runtime/geometry.h"

#include <QColor>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>

namespace tuvrel {

inline QPoint toQt(Point p)
{
    return {p.x, p.y};
}
inline QSize toQt(Size s)
{
    return {s.width, s.height};
}
inline QRect toQt(const Rect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}
inline QPointF toQt(PointF p)
{
    return {p.x, p.y};
}
inline QColor toQt(Rgb c)
{
    return {c.red, c.green, c.blue};
}
inline QColor toQColor(BgrColor c)
{
    return toQt(toRgb(c));
}
inline QString toQt(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

inline Point fromQt(QPoint p)
{
    return {p.x(), p.y()};
}
inline PointF fromQt(QPointF p)
{
    return {p.x(), p.y()};
}
inline Size fromQt(QSize s)
{
    return {s.width(), s.height()};
}
inline Rect fromQt(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height()};
}
inline std::string fromQt(const QString& text)
{
    return text.toStdString();
}

}  // namespace tuvrel
