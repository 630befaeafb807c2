#include "runtime/form_painter.h"

#include "runtime/form.h"

#include <QCache>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <memory>
#include <vector>

namespace tuvrel {

namespace {

constexpr qsizetype MiB = qsizetype(1024) * 1024;

const QColor Face = toQColor(SystemColor::ButtonFace);

// The form's pixels on the paint device: the painter's world transform (the
// window's scale and offset) times the device's pixel ratio. Pictures and
// filled rectangles are drawn in device pixels, each from its own rendering
// at its device size, so that nothing is enlarged pixel by pixel; a
// rectangle's edges are rounded each on its own, so that rectangles that meet
// in the form (puzzle quarters, a shape's border bands) meet on the device.
// At a scale of 1 a device rectangle is the form rectangle itself.
class DeviceMap {
public:
    explicit DeviceMap(const QPainter& p)
        : ratio_(p.device() ? p.device()->devicePixelRatioF() : 1.0), formTransform_(p.worldTransform()),
          toDevice_(formTransform_ * QTransform::fromScale(ratio_, ratio_))
    {
    }

    QRect rect(const QRect& form) const
    {
        const QPointF a = toDevice_.map(QPointF(form.left(), form.top()));
        const QPointF b = toDevice_.map(QPointF(form.left() + form.width(), form.top() + form.height()));
        return QRect(QPoint(qRound(a.x()), qRound(a.y())), QPoint(qRound(b.x()) - 1, qRound(b.y()) - 1));
    }
    QPoint point(QPoint form) const { return toDevice_.map(QPointF(form)).toPoint(); }
    // Device pixels per form pixel, and device pixels per logical pixel.
    qreal scale() const { return toDevice_.m11(); }
    qreal pixelRatio() const { return ratio_; }
    const QTransform& formTransform() const { return formTransform_; }
    // The painter's own coordinates (device pixels over the pixel ratio) for device pixels.
    QTransform devicePixels() const { return QTransform::fromScale(1 / ratio_, 1 / ratio_); }

private:
    qreal ratio_;
    QTransform formTransform_;
    QTransform toDevice_;
};

// While a window's scale changes (a corner dragged, fullscreen switched on),
// making every picture and label exactly at each new size would cost more
// than a frame, and would be thrown away at the next step. Such a paint draws
// what is kept for the new size, and the rest from what is at hand, smoothly
// to size; a repaint shortly after the last change draws everything exactly.
// The first paint of a window is exact, and so is every paint once its scale
// has not changed for a moment.
class Painting {
public:
    Painting(const QPainter& p, const DeviceMap& map) : widget_(dynamic_cast<QWidget*>(p.device()))
    {
        if (!widget_)
            return;
        const qint64 now = sinceStart().elapsed();
        const QVariant scale = widget_->property(ScaleProperty);
        if (scale.isValid() && scale.toReal() != map.scale())
            widget_->setProperty(ChangedProperty, now);
        widget_->setProperty(ScaleProperty, map.scale());
        const QVariant changed = widget_->property(ChangedProperty);
        changing_ = changed.isValid() && now - changed.toLongLong() < SettledAfterMs;
    }
    ~Painting()
    {
        if (meantime_)
            repaintSoon(widget_);
    }

    // Whether this paint makes what it draws exactly.
    bool exact() const { return !changing_; }
    // Something was drawn in the meantime: the window is painted again soon.
    void meantime() { meantime_ = true; }

private:
    static constexpr const char* ScaleProperty = "tuvrelPaintedScale";
    static constexpr const char* ChangedProperty = "tuvrelScaleChangedAt";
    // The scale counts as changing for this long after it last changed.
    static constexpr qint64 SettledAfterMs = 120;

    static const QElapsedTimer& sinceStart()
    {
        static const QElapsedTimer clock = [] {
            QElapsedTimer c;
            c.start();
            return c;
        }();
        return clock;
    }

    // One timer for every window, started again at each such paint, so that
    // the exact paint comes once the scale has stopped changing.
    static void repaintSoon(QWidget* widget)
    {
        static QList<QPointer<QWidget>> waiting;
        static QTimer* timer = [] {
            auto* t = new QTimer;  // kept for the life of the program
            t->setSingleShot(true);
            t->setInterval(int(SettledAfterMs) + 30);
            QObject::connect(t, &QTimer::timeout, [] {
                for (const QPointer<QWidget>& w : std::exchange(waiting, {}))
                    if (w)
                        w->update();
            });
            return t;
        }();
        if (!waiting.contains(widget))
            waiting.append(widget);
        timer->start();
    }

    QWidget* widget_;
    bool changing_ = false;
    bool meantime_ = false;
};

// Pixels drawn 1:1 at a device point: the painter is in device pixels.
void blit(QPainter& p, QPoint at, const QImage& pixels)
{
    p.drawImage(QRect(at, pixels.size()), pixels, pixels.rect());
}

// Pixels drawn smoothly to a device rectangle, in the meantime.
void drawSmoothly(QPainter& p, const QRect& target, const QImage& pixels)
{
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, pixels);
    p.restore();
}

// The part of a device rectangle that nothing drawn later hides, filled.
void fillShowing(QPainter& p, const QRect& device, const QRegion& hidden, const QColor& colour)
{
    if (!hidden.intersects(device))
        return p.fillRect(device, colour);
    for (const QRect& r : QRegion(device) - hidden)
        p.fillRect(r, colour);
}

// A picture drawn with its top-left corner at a form point, at its own size in
// form pixels; not at all where something drawn later hides the whole of it.
void paintPicture(QPainter& p, const DeviceMap& map, Painting& painting, const Picture& picture, QPoint formAt,
                  const QRegion& hidden = {})
{
    const QRect target = map.rect(QRect(formAt, picture.size()));
    if (target.isEmpty() || (hidden.intersects(target) && (QRegion(target) - hidden).isEmpty()))
        return;
    const QImage pixels = painting.exact() ? picture.pixelsFor(target.size()) : picture.keptPixelsFor(target.size());
    if (!pixels.isNull())
        return blit(p, target.topLeft(), pixels);
    if (QImage atHand = picture.pixelsAtHandFor(target.size()); !atHand.isNull()) {
        drawSmoothly(p, target, atHand);
        painting.meantime();
    } else {
        blit(p, target.topLeft(), picture.pixelsFor(target.size()));  // nothing at hand: made now
    }
}

int textFlags(const Label& label)
{
    const int align = (label.alignment() == 2   ? Qt::AlignHCenter
                       : label.alignment() == 1 ? Qt::AlignRight
                                                : Qt::AlignLeft);
    return align | Qt::AlignTop | Qt::TextWordWrap;
}

// A label's text, drawn once and kept: laying the text out, and drawing
// glyphs too large for Qt's glyph cache as outlines (the 85-pixel title of
// Start), costs far more than copying the finished pixels at every paint.
// Only the part of the label the text covers is kept. An opaque label keeps
// it on its background, so its pixels are the ones drawing it directly would
// give; a transparent one keeps the text alone. The text is laid out in form
// pixels, so that it breaks its lines as it does at 1:1, and drawn at the
// scale it is shown at.
struct LabelLook {
    QImage image;  // device pixels, at the scale it was made for
    QPoint at;     // where it lies inside the label, in form pixels
};

// What a label shows, whatever the scale: its looks are kept by it, not by
// the label, so that a rebuilt form finds its labels' looks again and nothing
// is kept per label. The caption last, so that no two can share a name.
QString lookName(const Label& label)
{
    const QSize size = label.pixelRect().size();
    const FontSpec& fontSpec = label.font();
    return QStringLiteral("%1|%2|%3|%4|%5x%6|%7|")
               .arg(fontSpec.face)
               .arg(fontSpec.points)
               .arg(label.foreColor())
               .arg(label.opaque() ? qint64(label.backColor()) : qint64(-1))
               .arg(size.width())
               .arg(size.height())
               .arg(label.alignment()) +
           label.caption();
}

// The look of a label at a scale: kept, made now (only when `make`), or none.
const LabelLook* labelLook(const Label& label, const QString& name, qreal scale, bool make)
{
    const QString key = QString::number(scale) + QLatin1Char('|') + name;
    // Room for every label of every form: 8 MB at 1:1, as much more as the
    // looks grow at the largest scale drawn so far.
    static QCache<QString, LabelLook> cache(8 * MiB);  // cost: bytes
    cache.setMaxCost(std::max(cache.maxCost(), qsizetype(double(8 * MiB) * std::max(1.0, scale * scale))));
    if (const LabelLook* look = cache.object(key))
        return look;
    if (!make)
        return nullptr;
    const QSize size = label.pixelRect().size();
    const QFont font = toQFont(label.font());
    const QRect box(QPoint(0, 0), size);
    // The text, with room for glyphs that reach past their advance.
    const int margin = font.pixelSize() / 6 + 2;
    QRect used = QFontMetrics(font).boundingRect(box, textFlags(label), label.caption());
    used = used.adjusted(-margin, -margin, margin, margin) & box;
    auto look = std::make_unique<LabelLook>();
    look->at = used.topLeft();
    if (!used.isEmpty()) {
        look->image = QImage(used.size() * scale, QImage::Format_ARGB32_Premultiplied);
        look->image.setDevicePixelRatio(scale);
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

// The scale a label's look was last made at, by what the label shows, for
// drawing it in the meantime while the scale changes.
QHash<QString, qreal>& lastLookScales()
{
    static QHash<QString, qreal> scales;
    return scales;
}

void paintLabel(QPainter& p, const DeviceMap& map, Painting& painting, const Label& label, const QRegion& hidden)
{
    const QRect r = label.pixelRect();
    if (label.opaque())
        fillShowing(p, map.rect(r), hidden, toQColor(label.backColor()));
    if (label.caption().isEmpty())
        return;
    const qreal scale = map.scale();
    const QString name = lookName(label);
    const LabelLook* look = labelLook(label, name, scale, painting.exact());
    if (!look && !painting.exact()) {
        // In the meantime: the look last made for another scale, drawn smoothly to this one.
        const qreal before = lastLookScales().value(name, 0);
        if (const LabelLook* other = before > 0 ? labelLook(label, name, before, false) : nullptr) {
            if (!other->image.isNull()) {
                const QPoint at = map.point(r.topLeft() + other->at);
                drawSmoothly(p, QRect(at, (QSizeF(other->image.size()) * (scale / before)).toSize()), other->image);
            }
            painting.meantime();
            return;
        }
        look = labelLook(label, name, scale, true);
    }
    if (look) {
        lastLookScales().insert(name, scale);
        if (!look->image.isNull())
            blit(p, map.point(r.topLeft() + look->at), look->image);
        return;
    }
    // Too large to keep: drawn directly, in form pixels.
    p.save();
    p.setWorldTransform(map.formTransform());
    p.setClipRect(r, Qt::IntersectClip);
    p.setFont(toQFont(label.font()));
    p.setPen(toQColor(label.foreColor()));
    p.drawText(r, textFlags(label), label.caption());
    p.restore();
}

void paintShape(QPainter& p, const DeviceMap& map, const Shape& shape, const QRegion& hidden)
{
    const QRect r = shape.pixelRect();
    // A solid fill covers the back colour entirely.
    if (shape.solidFill())
        fillShowing(p, map.rect(r), hidden, toQColor(shape.fillColor()));
    else if (shape.backStyle() == 1)
        fillShowing(p, map.rect(r), hidden, toQColor(shape.backColor()));
    // The border lies inside the rectangle, whatever its width.
    const int w = std::max(1, std::min(shape.borderWidth(), std::min(r.width(), r.height()) / 2));
    const QColor c = toQColor(shape.borderColor());
    for (const QRect& band : {QRect(r.left(), r.top(), r.width(), w), QRect(r.left(), r.bottom() - w + 1, r.width(), w),
                              QRect(r.left(), r.top() + w, w, r.height() - 2 * w),
                              QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w)})
        fillShowing(p, map.rect(band), hidden, c);
}

void paintLine(QPainter& p, const DeviceMap& map, const Line& line)
{
    const int w = std::max(1, line.borderWidth());
    const QPoint a(toPixels(line.x1()), toPixels(line.y1()));
    const QPoint b(toPixels(line.x2()), toPixels(line.y2()));
    if (a.x() == b.x() || a.y() == b.y()) {
        // Straight lines as filled bands centred on the line, so that they stay crisp.
        const QRect band = QRect(a, b).normalized();
        const int before = (w - 1) / 2;
        if (a.x() == b.x())
            p.fillRect(map.rect(QRect(band.left() - before, band.top(), w, band.height())), Qt::black);
        else
            p.fillRect(map.rect(QRect(band.left(), band.top() - before, band.width(), w)), Qt::black);
        return;
    }
    // A slanted line is drawn as a line in form pixels, at the scale it is shown at.
    p.save();
    p.setWorldTransform(map.formTransform());
    p.setPen(QPen(Qt::black, w, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    p.restore();
}

// A command button, drawn by the style at the size it is shown at: in the
// painter's logical pixels (its device's pixel ratio is the style's to use),
// on the button's device rectangle, with its font scaled by the window's
// scale; never an enlarged drawing of a smaller button.
void paintButton(QPainter& p, const DeviceMap& map, Painting& painting, const Form& form, const CommandButton& button,
                 QStyle* style, bool showFocus)
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
    const QRect formRect = button.pixelRect();
    const QRect device = map.rect(formRect);
    const qreal ratio = map.pixelRatio();
    const qreal windowScale = map.scale() / ratio;
    QStyleOptionButton opt;
    opt.rect = QRect(QPoint(qRound(device.left() / ratio), qRound(device.top() / ratio)),
                     QPoint(qRound((device.right() + 1) / ratio) - 1, qRound((device.bottom() + 1) / ratio) - 1));
    opt.palette = palette;
    opt.state = QStyle::State_Enabled;
    const bool down = form.pressedButton() == &button;
    opt.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    const bool focused = showFocus && form.focusedButton() == &button;

    p.save();
    p.resetTransform();
    if (!button.graphical()) {
        opt.text = button.caption();
        QFont font = toQFont(button.font());
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * windowScale)));
        p.setFont(font);
        opt.fontMetrics = p.fontMetrics();
        style->drawControl(QStyle::CE_PushButton, &opt, &p, nullptr);
    } else {
        style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, nullptr);
        const Picture& picture = button.picture();
        if (!picture.isEmpty()) {
            // Centred on the button as at 1:1, then shown at the device's size.
            QRect target(QPoint(), picture.size());
            target.moveCenter(formRect.center());
            if (down)
                target.translate(1, 1);
            p.save();
            p.setWorldTransform(map.devicePixels());
            p.setClipRect(map.rect(formRect.adjusted(2, 2, -2, -2)), Qt::IntersectClip);
            paintPicture(p, map, painting, picture, target.topLeft());
            p.restore();
        }
    }
    if (focused) {
        // A dotted rectangle inside the face, as on a classic push button; it
        // never tints the button's picture.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, std::max(1, qRound(windowScale)), Qt::DotLine));
        const int in = qRound(4 * windowScale), out = qRound(5 * windowScale);
        p.drawRect(opt.rect.adjusted(in, in, -out, -out));
    }
    p.restore();
}

// The outline stays a thin line whatever the scale: two device pixels wide.
void paintDragOutline(QPainter& p, const DeviceMap& map, const QRect& outline)
{
    const QRect r = map.rect(outline).adjusted(1, 1, -1, -1);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2));
    p.drawRect(r);
    p.setPen(QPen(Qt::black, 2, Qt::DashLine));
    p.drawRect(r);
    p.restore();
}

// A transparent background picture, laid on the face it always lies on, once
// for the size it is shown at: copied, not blended, at every paint, and the
// face beneath needs no filling. Only where the picture is large on the device
// (a form fullscreen on a 4K screen), since the copy takes memory of its own.
QImage backgroundOnFace(const QImage& pixels)
{
    constexpr qint64 LargeOnDevice = 4'000'000;  // pixels
    if (qint64(pixels.width()) * pixels.height() < LargeOnDevice)
        return {};
    static QCache<qint64, QImage> kept(48 * MiB);  // cost: bytes
    if (const QImage* onFace = kept.object(pixels.cacheKey()))
        return *onFace;
    QImage onFace(pixels.size(), QImage::Format_RGB32);
    onFace.fill(Face);
    QPainter(&onFace).drawImage(0, 0, pixels);
    kept.insert(pixels.cacheKey(), new QImage(onFace), onFace.sizeInBytes());
    return onFace;
}

// The device rectangle a control paints opaque all over (a filled shape, an
// opaque label, a picture without a transparent ground); empty when anything
// beneath may show through.
QRect opaqueRect(const Control& c, const DeviceMap& map)
{
    const QRect r = c.pixelRect();
    switch (c.controlClass()) {
    case ControlClass::Image:
        if (const Picture& picture = static_cast<const Image&>(c).picture(); picture.isOpaque())
            return map.rect(QRect(r.topLeft(), picture.size()));
        break;
    case ControlClass::Label:
        if (static_cast<const Label&>(c).opaque())
            return map.rect(r);
        break;
    case ControlClass::Shape:
        if (const auto& shape = static_cast<const Shape&>(c); shape.backStyle() == 1 || shape.solidFill())
            return map.rect(r);
        break;
    default: break;
    }
    return {};
}

// For each control in the paint order, what the controls drawn after it cover
// opaque, where drawing it would only be painted over again; and what all of
// them cover.
std::vector<QRegion> hiddenBehind(const Form& form, const DeviceMap& map, QRegion& all)
{
    const std::vector<Control*>& order = form.paintOrder();
    std::vector<QRegion> hidden(order.size());
    for (size_t i = order.size(); i-- > 0;) {
        hidden[i] = all;
        if (order[i]->visible())
            all += opaqueRect(*order[i], map);
    }
    return hidden;
}

}  // namespace

void paintForm(QPainter& p, const Form& form, const QRect& area, QStyle* style, bool showFocus)
{
    p.save();
    p.setClipRect(area);
    const DeviceMap map(p);
    Painting painting(p, map);
    p.setWorldTransform(map.devicePixels());
    if (!form.isLoaded()) {
        p.fillRect(map.rect(area), Face);
        p.restore();
        return;
    }
    // Nothing is filled or copied where something drawn later covers it
    // opaque: at 3840 x 2160 every pixel filled twice costs.
    QRegion covered;
    const std::vector<QRegion> hidden = hiddenBehind(form, map, covered);
    QRegion behindAll = covered;
    const Picture& bg = form.background();
    const QRect bgRect = map.rect(QRect(QPoint(0, 0), bg.size()));
    const QImage bgOnFace = !bg.isEmpty() && !bg.isOpaque() && painting.exact()
                                ? backgroundOnFace(bg.pixelsFor(bgRect.size()))
                                : QImage();
    if (bg.isOpaque() || !bgOnFace.isNull())
        behindAll += bgRect;
    fillShowing(p, map.rect(area), behindAll, Face);
    if (!bgOnFace.isNull()) {
        for (const QRect& r : QRegion(bgRect) - covered)
            p.drawImage(r, bgOnFace, r.translated(-bgRect.topLeft()));
    } else if (!bg.isEmpty()) {
        paintPicture(p, map, painting, bg, QPoint(0, 0), covered);
    }

    const std::vector<Control*>& order = form.paintOrder();
    for (size_t i = 0; i < order.size(); ++i) {
        const Control* c = order[i];
        if (!c->visible())
            continue;
        // Lines and wide borders may reach a little outside the control's box.
        if (!c->pixelRect().adjusted(-4, -4, 4, 4).intersects(area))
            continue;
        switch (c->controlClass()) {
        case ControlClass::Image:
            if (const Picture& picture = static_cast<const Image&>(*c).picture(); !picture.isEmpty())
                paintPicture(p, map, painting, picture, c->pixelRect().topLeft(), hidden[i]);
            break;
        case ControlClass::Label: paintLabel(p, map, painting, static_cast<const Label&>(*c), hidden[i]); break;
        case ControlClass::Shape: paintShape(p, map, static_cast<const Shape&>(*c), hidden[i]); break;
        case ControlClass::Line: paintLine(p, map, static_cast<const Line&>(*c)); break;
        case ControlClass::CommandButton:
            paintButton(p, map, painting, form, static_cast<const CommandButton&>(*c), style, showFocus);
            break;
        case ControlClass::Menu: break;
        }
    }
    if (const auto& drag = form.drag())
        paintDragOutline(p, map, drag->outline);
    p.restore();
}

}  // namespace tuvrel
