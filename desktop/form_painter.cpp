#include "desktop/form_painter.h"

#include "desktop/bundled_fonts.h"
#include "desktop/picture_pixels.h"
#include "desktop/qt_types.h"
#include "runtime/device_map.h"
#include "runtime/form.h"
#include "runtime/form_drawing.h"

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
#include <utility>
#include <vector>

namespace tuvrel {

namespace {

constexpr qsizetype MiB = qsizetype(1024) * 1024;

const QColor Face = toQColor(SystemColor::ButtonFace);

// The form's pixels on the paint device: the painter's world transform (the
// window's scale and offset) times the device's pixel ratio, rounded as the
// core's DeviceMap rounds them. Pictures and filled rectangles are drawn in
// device pixels, each from its own rendering at its device size, so that
// nothing is enlarged pixel by pixel.
class QtDeviceMap : public DeviceMap {
public:
    explicit QtDeviceMap(const QPainter& p)
        : QtDeviceMap(p.worldTransform(), p.device() ? p.device()->devicePixelRatioF() : 1.0)
    {
    }

    QRect rect(const QRect& form) const { return toQt(DeviceMap::rect(fromQt(form))); }
    QPoint point(QPoint form) const { return toQt(DeviceMap::point(fromQt(form))); }
    const QTransform& formTransform() const { return formTransform_; }
    // The painter's own coordinates (device pixels over the pixel ratio) for device pixels.
    QTransform devicePixels() const { return QTransform::fromScale(1 / pixelRatio(), 1 / pixelRatio()); }

private:
    QtDeviceMap(const QTransform& world, qreal ratio)
        : DeviceMap(world.m11(), {world.dx(), world.dy()}, ratio), formTransform_(world)
    {
    }

    QTransform formTransform_;
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
    Painting(const QPainter& p, const QtDeviceMap& map, PaintScale* state) : widget_(dynamic_cast<QWidget*>(p.device()))
    {
        if (!state)
            return;
        const qint64 now = sinceStart().elapsed();
        if (state->scale != 0 && state->scale != map.scale())
            state->changedAt = now;
        state->scale = map.scale();
        changing_ = state->changedAt >= 0 && now - state->changedAt < SettledAfterMs;
    }
    ~Painting()
    {
        if (meantime_ && widget_)
            repaintSoon(widget_);
    }

    // Whether this paint makes what it draws exactly.
    bool exact() const { return !changing_; }
    // Something was drawn in the meantime: the window is painted again soon.
    void meantime() { meantime_ = true; }

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

private:
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

// A picture drawn with its top-left corner at a form point, at its own size in
// form pixels.
void paintPicture(QPainter& p, const QtDeviceMap& map, Painting& painting, const Picture& picture, QPoint formAt)
{
    const QRect target = map.rect(QRect(formAt, toQt(picture.size())));
    if (target.isEmpty())
        return;
    const QImage pixels = painting.exact() ? picturePixelsFor(picture, target.size())
                                           : keptPicturePixelsFor(picture, target.size());
    if (!pixels.isNull())
        return blit(p, target.topLeft(), pixels);
    if (QImage atHand = picturePixelsAtHandFor(picture, target.size()); !atHand.isNull()) {
        drawSmoothly(p, target, atHand);
        painting.meantime();
    } else {
        blit(p, target.topLeft(), picturePixelsFor(picture, target.size()));  // nothing at hand: made now
    }
}

// A label's text, drawn once and kept: drawing glyphs too large for Qt's
// glyph cache as outlines (the 85-pixel title of Start) costs far more than
// copying the finished pixels at every paint. Only the part of the label the
// text covers is kept. An opaque label keeps it on its ground, so its pixels
// are the ones drawing it directly would give; a transparent one keeps the
// text alone. The lines stand where the core laid them out in form pixels;
// they are drawn at the scale they are shown at.
struct LabelLook {
    QImage image;  // device pixels, at the scale it was made for
    QPoint at;     // where it lies inside the label, in form pixels
};

QColor groundOf(const TextDrawing& text)
{
    return text.ground ? toQt(*text.ground) : QColor(Qt::transparent);
}

// A line's start on its baseline, from the label's top-left corner.
QPointF lineOrigin(const TextDrawing& text, const TextLine& line)
{
    return {line.x - text.box.left(), line.baseline - text.box.top()};
}

// The lines drawn with a painter whose origin is the label's top-left corner.
void drawLines(QPainter& p, const TextDrawing& text)
{
    p.setFont(toQFont(text.font));
    p.setPen(toQt(text.colour));
    for (const TextLine& line : text.lines)
        p.drawText(lineOrigin(text, line), toQt(line.text));
}

// What a label shows, whatever the scale: its looks are kept by it, not by
// the label, so that a rebuilt form finds its labels' looks again and nothing
// is kept per label. Each line's text last on its own line, so that no two
// can share a name.
QString lookName(const TextDrawing& text)
{
    QString name = QStringLiteral("%1|%2|%3|%4|%5x%6|")
                       .arg(toQt(text.font.face))
                       .arg(text.font.points)
                       .arg(toQt(text.colour).rgb())
                       .arg(text.ground ? qint64(toQt(*text.ground).rgb()) : qint64(-1))
                       .arg(text.box.width())
                       .arg(text.box.height());
    for (const TextLine& line : text.lines) {
        const QPointF at = lineOrigin(text, line);
        name += QStringLiteral("%1,%2|").arg(at.x(), 0, 'g', 17).arg(at.y(), 0, 'g', 17) + toQt(line.text) +
                QLatin1Char('\n');
    }
    return name;
}

// The look of a label at a scale: kept, made now (only when `make`), or none.
const LabelLook* labelLook(const TextDrawing& text, const QString& name, qreal scale, bool make)
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
    const QRect box(QPoint(0, 0), toQt(text.box.size()));
    // The lines' block, with room for glyphs that reach past their advance.
    const int margin = text.font.pixelSize() / 6 + 2;
    const QRectF block(text.block.x - text.box.left(), text.block.y - text.box.top(), text.block.width,
                       text.block.height);
    const QRect used = block.toAlignedRect().adjusted(-margin, -margin, margin, margin) & box;
    auto look = std::make_unique<LabelLook>();
    look->at = used.topLeft();
    if (!used.isEmpty()) {
        look->image = QImage(used.size() * scale, QImage::Format_ARGB32_Premultiplied);
        look->image.setDevicePixelRatio(scale);
        look->image.fill(groundOf(text));
        QPainter q(&look->image);
        q.translate(-used.topLeft());
        drawLines(q, text);
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

void paintText(QPainter& p, const QtDeviceMap& map, Painting& painting, const TextDrawing& text)
{
    const QRect r = toQt(text.box);
    const qreal scale = map.scale();
    const QString name = lookName(text);
    const LabelLook* look = labelLook(text, name, scale, painting.exact());
    if (!look && !painting.exact()) {
        // In the meantime: the look last made for another scale, drawn smoothly to this one.
        const qreal before = lastLookScales().value(name, 0);
        if (const LabelLook* other = before > 0 ? labelLook(text, name, before, false) : nullptr) {
            if (!other->image.isNull()) {
                const QPoint at = map.point(r.topLeft() + other->at);
                drawSmoothly(p, QRect(at, (QSizeF(other->image.size()) * (scale / before)).toSize()), other->image);
            }
            painting.meantime();
            return;
        }
        look = labelLook(text, name, scale, true);
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
    p.translate(r.topLeft());
    drawLines(p, text);
    p.restore();
}

// A command button, drawn by the style at the size it is shown at: in the
// painter's logical pixels (its device's pixel ratio is the style's to use),
// on the button's device rectangle, with its font scaled by the window's
// scale; never an enlarged drawing of a smaller button.
void paintButton(QPainter& p, const QtDeviceMap& map, Painting& painting, const ButtonDrawing& button, QStyle* style)
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
    const ButtonMarks marks = buttonMarks(map, button.box, button.font.pixelSize());
    QStyleOptionButton opt;
    opt.rect = toQt(marks.face);
    opt.palette = palette;
    opt.state = QStyle::State_Enabled;
    opt.state |= button.down ? QStyle::State_Sunken : QStyle::State_Raised;

    p.save();
    p.resetTransform();
    if (!button.graphical) {
        opt.text = toQt(button.caption);
        QFont font = toQFont(button.font);
        font.setPixelSize(marks.captionPixels);
        p.setFont(font);
        opt.fontMetrics = p.fontMetrics();
        style->drawControl(QStyle::CE_PushButton, &opt, &p, nullptr);
    } else {
        style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, nullptr);
        if (!button.picture.isEmpty()) {
            p.save();
            p.setWorldTransform(map.devicePixels());
            p.setClipRect(map.rect(toQt(button.pictureClip)), Qt::IntersectClip);
            paintPicture(p, map, painting, button.picture, toQt(button.pictureAt));
            p.restore();
        }
    }
    if (button.focused) {
        // A dotted rectangle inside the face, as on a classic push button; it
        // never tints the button's picture.
        p.setBrush(Qt::NoBrush);
        // Qt centres an aliased line on the path it strokes, the odd pixel
        // inside: the path that makes the line cover the core's pixels.
        const int line = marks.focusLine;
        p.setPen(QPen(Qt::black, line, Qt::DotLine));
        p.drawRect(toQt(marks.focus).adjusted(line / 2, line / 2, -(line + 1) / 2, -(line + 1) / 2));
    }
    p.restore();
}

// The outline stays a thin line whatever the scale: two device pixels wide.
void paintDragOutline(QPainter& p, const QtDeviceMap& map, const QRect& outline)
{
    const QRect r = toQt(dragOutlinePath(map, fromQt(outline)));
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

// The core's drawing carried out with a QPainter, in device pixels.
class QtFormPainter : public FormPainter {
public:
    QtFormPainter(QPainter& p, const QtDeviceMap& map, Painting& painting, QStyle* style)
        : p_(p), map_(map), painting_(painting), style_(style)
    {
    }

    TextMeasurer& measurer() override { return measurer_; }
    void fill(const Rect& area, Rgb colour) override { p_.fillRect(map_.rect(toQt(area)), toQt(colour)); }
    void picture(const Picture& picture, Point at) override { paintPicture(p_, map_, painting_, picture, toQt(at)); }
    bool laysBackgroundOnFace(const Picture& background) override
    {
        if (!painting_.exact())
            return false;
        const QRect target = map_.rect(QRect(QPoint(0, 0), toQt(background.size())));
        backgroundOnFace_ = tuvrel::backgroundOnFace(picturePixelsFor(background, target.size()));
        return !backgroundOnFace_.isNull();
    }
    void background(const Picture& background, const Region& covered) override
    {
        const QRect target = map_.rect(QRect(QPoint(0, 0), toQt(background.size())));
        const Region showing = Region(Rect({}, background.size())) - covered;
        for (const Rect& part : showing.rects()) {
            const QRect r = map_.rect(toQt(part));
            p_.drawImage(r, backgroundOnFace_, r.translated(-target.topLeft()));
        }
    }
    void text(const TextDrawing& text) override { paintText(p_, map_, painting_, text); }
    void button(const ButtonDrawing& button) override { paintButton(p_, map_, painting_, button, style_); }
    void line(Point from, Point to, int width, Rgb colour) override
    {
        // Drawn as a line in form pixels, at the scale it is shown at.
        p_.save();
        p_.setWorldTransform(map_.formTransform());
        p_.setPen(QPen(toQt(colour), width, Qt::SolidLine, Qt::FlatCap));
        p_.drawLine(toQt(from), toQt(to));
        p_.restore();
    }
    void dragOutline(const Rect& outline) override { paintDragOutline(p_, map_, toQt(outline)); }

private:
    QPainter& p_;
    const QtDeviceMap& map_;
    Painting& painting_;
    QStyle* style_;
    QtTextMeasurer measurer_;
    QImage backgroundOnFace_;
};

}  // namespace

LineMetrics QtTextMeasurer::lineMetrics(const FontSpec& font)
{
    const QFontMetricsF m = metricsOf(font);
    return {m.ascent(), m.descent(), m.leading()};
}

RunWidth QtTextMeasurer::measure(const FontSpec& font, std::string_view run)
{
    const QFontMetricsF m = metricsOf(font);
    const QString text = toQt(run);
    RunWidth width{m.horizontalAdvance(text), 0};
    // The last character's ink past its advance: its right bearing where that
    // is negative (half a surrogate pair has none to tell).
    if (!text.isEmpty() && !text.back().isSurrogate())
        width.overhang = std::max(0.0, -m.rightBearing(text.back()));
    return width;
}

QFontMetricsF QtTextMeasurer::metricsOf(const FontSpec& font)
{
    for (const auto& [face, metrics] : fonts_)
        if (face == font)
            return metrics;
    return fonts_.emplace_back(font, QFontMetricsF(toQFont(font))).second;
}

bool paintScaleSettled(const PaintScale& paintScale)
{
    return paintScale.changedAt < 0 ||
           Painting::sinceStart().elapsed() - paintScale.changedAt >= Painting::SettledAfterMs;
}

void paintForm(QPainter& p, const Form& form, const QRect& area, QStyle* style, bool showFocus, PaintScale* paintScale)
{
    p.save();
    p.setClipRect(area);
    const QtDeviceMap map(p);
    Painting painting(p, map, paintScale);
    p.setWorldTransform(map.devicePixels());
    QtFormPainter painter(p, map, painting, style);
    drawForm(form, fromQt(area), painter, showFocus);
    p.restore();
}

}  // namespace tuvrel
