#include "runtime/form_painter.h"

#include "runtime/form.h"

#include <QCache>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <memory>

namespace tuvrel {

namespace {

const QColor Face = toQColor(SystemColor::ButtonFace);

void paintImage(QPainter& p, const Image& image)
{
    const Picture& picture = image.picture();
    if (!picture.isEmpty())
        p.drawImage(image.pixelRect().topLeft(), picture.image());
}

int textFlags(const Label& label)
{
    const int align = (label.alignment() == 2 ? Qt::AlignHCenter : label.alignment() == 1 ? Qt::AlignRight : Qt::AlignLeft);
    return align | Qt::AlignTop | Qt::TextWordWrap;
}

// A label's text, drawn once and kept: laying the text out, and drawing
// glyphs too large for Qt's glyph cache as outlines (the 85-pixel title of
// Start), costs far more than copying the finished pixels at every paint.
// Only the part of the label the text covers is kept. An opaque label keeps
// it on its background, so its pixels are the ones drawing it directly would
// give; a transparent one keeps the text alone.
struct LabelLook {
    QImage image;  // at the device's pixel ratio
    QPoint at;     // where it lies inside the label
};

const LabelLook* labelLook(const Label& label, qreal pixelRatio)
{
    const QSize size = label.pixelRect().size();
    const FontSpec& fontSpec = label.font();
    // The caption last, so that no two looks can share a key.
    const QString key = QStringLiteral("%1|%2|%3|%4|%5x%6|%7|%8|")
                            .arg(fontSpec.face)
                            .arg(fontSpec.points)
                            .arg(label.foreColor())
                            .arg(label.opaque() ? qint64(label.backColor()) : qint64(-1))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(label.alignment())
                            .arg(pixelRatio) +
                        label.caption();
    // Keyed by what the label shows, not by the label, so that a rebuilt form
    // finds its labels' looks again and nothing is kept per label.
    static QCache<QString, LabelLook> cache(8 * 1024 * 1024);  // cost: bytes
    if (const LabelLook* look = cache.object(key))
        return look;

    const QFont font = toQFont(fontSpec);
    const QRect box(QPoint(0, 0), size);
    // The text, with room for glyphs that reach past their advance.
    const int margin = font.pixelSize() / 6 + 2;
    QRect used = QFontMetrics(font).boundingRect(box, textFlags(label), label.caption());
    used = used.adjusted(-margin, -margin, margin, margin) & box;
    auto look = std::make_unique<LabelLook>();
    look->at = used.topLeft();
    if (!used.isEmpty()) {
        look->image = QImage(used.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
        look->image.setDevicePixelRatio(pixelRatio);
        look->image.fill(label.opaque() ? toQColor(label.backColor()) : QColor(Qt::transparent));
        QPainter q(&look->image);
        q.translate(-used.topLeft());
        q.setFont(font);
        q.setPen(toQColor(label.foreColor()));
        q.drawText(box, textFlags(label), label.caption());
    }
    const qsizetype bytes = look->image.sizeInBytes() + 64;
    LabelLook* kept = look.release();
    return cache.insert(key, kept, bytes) ? kept : nullptr;
}

void paintLabel(QPainter& p, const Label& label)
{
    const QRect r = label.pixelRect();
    if (label.opaque())
        p.fillRect(r, toQColor(label.backColor()));
    if (label.caption().isEmpty())
        return;
    if (const LabelLook* look = labelLook(label, p.device() ? p.device()->devicePixelRatioF() : 1.0)) {
        if (!look->image.isNull())
            p.drawImage(r.topLeft() + look->at, look->image);
        return;
    }
    // Too large to keep: drawn directly.
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.setFont(toQFont(label.font()));
    p.setPen(toQColor(label.foreColor()));
    p.drawText(r, textFlags(label), label.caption());
    p.restore();
}

void paintShape(QPainter& p, const Shape& shape)
{
    const QRect r = shape.pixelRect();
    if (shape.backStyle() == 1)
        p.fillRect(r, toQColor(shape.backColor()));
    if (shape.solidFill())
        p.fillRect(r, toQColor(shape.fillColor()));
    // The border lies inside the rectangle, whatever its width.
    const int w = std::max(1, std::min(shape.borderWidth(), std::min(r.width(), r.height()) / 2));
    const QColor c = toQColor(shape.borderColor());
    p.fillRect(QRect(r.left(), r.top(), r.width(), w), c);
    p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), c);
    p.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), c);
    p.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), c);
}

void paintLine(QPainter& p, const Line& line)
{
    const int w = std::max(1, line.borderWidth());
    const QPoint a(toPixels(line.x1()), toPixels(line.y1()));
    const QPoint b(toPixels(line.x2()), toPixels(line.y2()));
    if (a.x() == b.x() || a.y() == b.y()) {
        // Straight lines as filled bands centred on the line, so that they stay crisp.
        const QRect band = QRect(a, b).normalized();
        const int before = (w - 1) / 2;
        if (a.x() == b.x())
            p.fillRect(QRect(band.left() - before, band.top(), w, band.height()), Qt::black);
        else
            p.fillRect(QRect(band.left(), band.top() - before, band.width(), w), Qt::black);
        return;
    }
    p.setPen(QPen(Qt::black, w, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
}

void paintButton(QPainter& p, const Form& form, const CommandButton& button, QStyle* style, bool showFocus)
{
    // One palette for every button and every paint: the style caches the
    // bevels it draws under the palette's cache key, and a palette changed at
    // each paint would get a new key each time, so a new cache entry.
    static const QPalette palette = [] {
        QPalette colours;
        colours.setColor(QPalette::Button, Face);
        colours.setColor(QPalette::Window, Face);
        colours.setColor(QPalette::ButtonText, Qt::black);
        return colours;
    }();
    QStyleOptionButton opt;
    opt.rect = button.pixelRect();
    opt.palette = palette;
    opt.state = QStyle::State_Enabled;
    const bool down = form.pressedButton() == &button;
    opt.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    const bool focused = showFocus && form.focusedButton() == &button;
    if (!button.graphical()) {
        opt.text = button.caption();
        p.setFont(toQFont(button.font()));
        opt.fontMetrics = p.fontMetrics();
        style->drawControl(QStyle::CE_PushButton, &opt, &p, nullptr);
    } else {
        style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, nullptr);
        const Picture& picture = button.picture();
        if (!picture.isEmpty()) {
            QRect target(QPoint(), picture.size());
            target.moveCenter(opt.rect.center());
            if (down)
                target.translate(1, 1);
            p.save();
            p.setClipRect(opt.rect.adjusted(2, 2, -2, -2), Qt::IntersectClip);
            p.drawImage(target.topLeft(), picture.image());
            p.restore();
        }
    }
    if (focused) {
        // A dotted rectangle inside the face, as on a classic push button; it
        // never tints the button's picture.
        p.save();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(opt.rect.adjusted(4, 4, -5, -5));
        p.restore();
    }
}

void paintDragOutline(QPainter& p, const QRect& outline)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2));
    p.drawRect(outline.adjusted(1, 1, -1, -1));
    p.setPen(QPen(Qt::black, 2, Qt::DashLine));
    p.drawRect(outline.adjusted(1, 1, -1, -1));
    p.restore();
}

}  // namespace

void paintForm(QPainter& p, const Form& form, const QRect& area, QStyle* style, bool showFocus)
{
    p.save();
    p.setClipRect(area);
    p.fillRect(area, Face);
    if (!form.isLoaded()) {
        p.restore();
        return;
    }
    if (const Picture& bg = form.background(); !bg.isEmpty())
        p.drawImage(QPoint(0, 0), bg.image());

    for (const Control* c : form.paintOrder()) {
        if (!c->visible())
            continue;
        // Lines and wide borders may reach a little outside the control's box.
        if (!c->pixelRect().adjusted(-4, -4, 4, 4).intersects(area))
            continue;
        switch (c->controlClass()) {
        case ControlClass::Image: paintImage(p, static_cast<const Image&>(*c)); break;
        case ControlClass::Label: paintLabel(p, static_cast<const Label&>(*c)); break;
        case ControlClass::Shape: paintShape(p, static_cast<const Shape&>(*c)); break;
        case ControlClass::Line: paintLine(p, static_cast<const Line&>(*c)); break;
        case ControlClass::CommandButton:
            paintButton(p, form, static_cast<const CommandButton&>(*c), style, showFocus);
            break;
        case ControlClass::Menu: break;
        }
    }
    if (const auto& drag = form.drag())
        paintDragOutline(p, drag->outline);
    p.restore();
}

}  // namespace tuvrel
