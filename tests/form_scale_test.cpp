// Forms at every scale: at a scale of 1 a form is drawn with exactly the pixels of the plain
// 1:1 drawing below, one form of each family; at any other scale (the window's scale times
// the screen's pixel ratio) every picture is drawn from its rendering at the size it is
// shown at, puzzle quarters meet without a seam, text and buttons are drawn at that size
// and the drag outline stays thin, and a click and a drag-and-drop play as on the form
// itself. Run at QT_SCALE_FACTOR=1 and 2.
#include "desktop/bundled_fonts.h"
#include "desktop/picture_pixels.h"
#include "runtime/form_transform.h"
#include "tests/monkey/form_state.h"
#include "tests/support/form_driver.h"
#include "tests/support/plays.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

// One form of each family.
const char* const FamilyForms[] = {"Start",   "Pietkleden", "Plaatjeindezak1", "Vormen1",
                                   "Puzzel1", "Tellen3",    "Sudoku1",         "Spel"};

int alignmentFlags(const Label& label)
{
    const int horizontal = label.alignment() == Alignment::Center  ? Qt::AlignHCenter
                           : label.alignment() == Alignment::Right ? Qt::AlignRight
                                                                   : Qt::AlignLeft;
    return horizontal | Qt::AlignTop | Qt::TextWordWrap;
}

// A form drawn at 1:1 the plain way, control by control, with nothing kept between
// paints: the face, the background picture, each visible control from the back to the
// front as its description draws it (pictures at their own size at their top-left
// corner, borders inside their rectangle, text within its label), the command buttons by
// the style.
QImage plainDrawing(const Form& form, QStyle* style, bool showFocus)
{
    const QColor face = toQColor(SystemColor::ButtonFace);
    QImage image(toQt(form.clientSize()), QImage::Format_RGB32);
    image.fill(face);
    QPainter p(&image);
    if (!form.background().isEmpty())
        p.drawImage(0, 0, pictureImage(form.background()));
    for (const Control* c : form.paintOrder()) {
        if (!c->visible())
            continue;
        const QRect r = toQt(c->pixelRect());
        switch (c->controlClass()) {
        case ControlClass::Image:
            if (const Picture& picture = static_cast<const Image&>(*c).picture(); !picture.isEmpty())
                p.drawImage(r.topLeft(), pictureImage(picture));
            break;
        case ControlClass::Label: {
            const auto& label = static_cast<const Label&>(*c);
            if (label.opaque())
                p.fillRect(r, toQColor(label.backColor()));
            p.save();
            p.setClipRect(r);
            p.setFont(toQFont(label.font()));
            p.setPen(toQColor(label.foreColor()));
            p.drawText(r, alignmentFlags(label), qs(label.caption()));
            p.restore();
            break;
        }
        case ControlClass::Shape: {
            const auto& shape = static_cast<const Shape&>(*c);
            if (shape.backStyle() == BackStyle::Opaque)
                p.fillRect(r, toQColor(shape.backColor()));
            if (shape.solidFill())
                p.fillRect(r, toQColor(shape.fillColor()));
            const int w = std::clamp(shape.borderWidth(), 1, std::max(1, std::min(r.width(), r.height()) / 2));
            QRegion border = QRegion(r) - QRegion(r.adjusted(w, w, -w, -w));
            for (const QRect& band : border)
                p.fillRect(band, toQColor(shape.borderColor()));
            break;
        }
        case ControlClass::Line: {
            const auto& line = static_cast<const Line&>(*c);
            const int w = std::max(1, line.borderWidth());
            const QPoint a(toPixels(line.x1()), toPixels(line.y1())), b(toPixels(line.x2()), toPixels(line.y2()));
            if (a.x() == b.x())
                p.fillRect(
                    QRect(std::min(a, b, [](QPoint u, QPoint v) { return u.y() < v.y(); }) - QPoint((w - 1) / 2, 0),
                          QSize(w, std::abs(b.y() - a.y()) + 1)),
                    Qt::black);
            else if (a.y() == b.y())
                p.fillRect(
                    QRect(std::min(a, b, [](QPoint u, QPoint v) { return u.x() < v.x(); }) - QPoint(0, (w - 1) / 2),
                          QSize(std::abs(b.x() - a.x()) + 1, w)),
                    Qt::black);
            else {
                p.setPen(QPen(Qt::black, w, Qt::SolidLine, Qt::FlatCap));
                p.drawLine(a, b);
            }
            break;
        }
        case ControlClass::CommandButton: {
            const auto& button = static_cast<const CommandButton&>(*c);
            QStyleOptionButton option;
            option.rect = r;
            option.palette.setColor(QPalette::Button, face);
            option.palette.setColor(QPalette::Window, face);
            option.palette.setColor(QPalette::ButtonText, Qt::black);
            const bool down = form.pressedButton() == &button;
            option.state = QStyle::State_Enabled | (down ? QStyle::State_Sunken : QStyle::State_Raised);
            if (button.graphical()) {
                style->drawControl(QStyle::CE_PushButtonBevel, &option, &p, nullptr);
                if (!button.picture().isEmpty()) {
                    QRect place(QPoint(), toQt(button.picture().size()));
                    place.moveCenter(r.center());
                    p.save();
                    p.setClipRect(r.adjusted(2, 2, -2, -2));
                    p.drawImage(place.topLeft() + (down ? QPoint(1, 1) : QPoint()), pictureImage(button.picture()));
                    p.restore();
                }
            } else {
                option.text = qs(button.caption());
                p.setFont(toQFont(button.font()));
                option.fontMetrics = p.fontMetrics();
                style->drawControl(QStyle::CE_PushButton, &option, &p, nullptr);
            }
            if (showFocus && form.focusedButton() == &button) {
                p.save();
                p.setPen(QPen(Qt::black, 1, Qt::DotLine));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r.adjusted(4, 4, -5, -5));
                p.restore();
            }
            break;
        }
        case ControlClass::Menu: break;
        }
    }
    return image;
}

// Where two renderings of one size differ, for a failure message; empty when they do not.
QString difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return QStringLiteral("%1x%2 against %3x%4").arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height());
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    QRect where;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            if (p[col] != q[col]) {
                ++count;
                where |= QRect(col, row, 1, 1);
            }
    }
    if (count == 0)
        return {};
    return QStringLiteral("%1 pixels differ within (%2, %3) %4x%5")
        .arg(count)
        .arg(where.x())
        .arg(where.y())
        .arg(where.width())
        .arg(where.height());
}

// Makes the window's canvas this size (the menu bar keeps its own height), and waits
// until the scale has settled: paints while it changes may draw in the meantime.
void resizeCanvas(Form& form, QSizeF size)
{
    FormWindow* w = windowOf(form);
    w->resize(size.toSize() + (w->size() - canvasOf(form)->size()));
    settle();
    render(form);
    QTRY_VERIFY(canvasOf(form)->scaleSettled());
    render(form);
}

// The device pixels a form rectangle is drawn on: each edge of the rectangle at the
// window's scale and offset and the screen's pixel ratio, rounded on its own.
QRect deviceRect(const Form& form, const QRect& r)
{
    const FormCanvas* canvas = canvasOf(form);
    const FormTransform t = canvas->transform();
    const qreal ratio = canvas->devicePixelRatioF();
    auto x = [&](int v) { return qRound((t.offset().x + v * t.scale()) * ratio); };
    auto y = [&](int v) { return qRound((t.offset().y + v * t.scale()) * ratio); };
    return QRect(QPoint(x(r.left()), y(r.top())), QPoint(x(r.left() + r.width()) - 1, y(r.top() + r.height()) - 1));
}
QRect deviceRect(const Form& form, const Rect& r)
{
    return deviceRect(form, toQt(r));
}

// The form's client size, to scale.
QSizeF clientSizeOf(const Form& form)
{
    return QSizeF(toQt(form.clientSize()));
}

// The aligned 2 x 2 blocks of a region that are not one colour: none where a picture or a
// text was drawn at half the size and enlarged pixel by pixel.
int mixedBlocks(const QImage& image, const QRect& region)
{
    int mixed = 0;
    for (int y = region.top() & ~1; y + 1 <= region.bottom(); y += 2)
        for (int x = region.left() & ~1; x + 1 <= region.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            mixed += image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p;
        }
    return mixed;
}

}  // namespace

class FormScaleTest : public QObject {
    Q_OBJECT

private slots:
    void factorOneIsThePlainDrawing_data();
    void factorOneIsThePlainDrawing();
    void picturesAtTheirDeviceSize_data();
    void picturesAtTheirDeviceSize();
    void backgroundAtItsDeviceSize_data();
    void backgroundAtItsDeviceSize();
    void quartersMeetWithoutASeam_data();
    void quartersMeetWithoutASeam();
    void textAndButtonsAtTheirSize();
    void dragOutlineStaysThin();
    void shownExactlyOnceTheScaleSettles();
};

void FormScaleTest::factorOneIsThePlainDrawing_data()
{
    QTest::addColumn<QString>("form");
    for (const char* name : FamilyForms)
        QTest::newRow(name) << QString::fromLatin1(name);
}

// At a scale of 1 the window shows exactly the plain drawing: every picture its own 1:1
// pixels, text, borders and buttons where and as they always were; also with a button
// held down, so that a pressed bevel and a shifted picture are drawn as before.
void FormScaleTest::factorOneIsThePlainDrawing()
{
    QFETCH(QString, form);
    if (qApp->devicePixelRatio() != 1.0)
        QSKIP("the screen shows the forms larger");
    Program program;
    // Qt draws the glyphs of a large font a shade differently the first time
    // they are drawn in a process: the plain drawing goes first once, so that
    // neither side of the comparison is that first time.
    Form& f = program.form(cs(form));
    f.show();
    plainDrawing(f, QApplication::style(), false);
    QVERIFY(QTest::qWaitForWindowExposed(windowOf(f)));
    FormCanvas* canvas = canvasOf(f);
    const bool focus = canvas->hasFocus() || canvas->isActiveWindow();
    QString differs = difference(render(f), plainDrawing(f, canvas->style(), focus));
    QVERIFY2(differs.isEmpty(), qPrintable(differs));

    for (const auto& c : f.controls()) {
        if (c->controlClass() != ControlClass::CommandButton || !c->visible() || !c->enabled())
            continue;
        pressAt(f, toQt(c->pixelRect().center()));
        QVERIFY(f.pressedButton() == c.get());
        differs = difference(render(f), plainDrawing(f, canvas->style(), focus));
        releaseAt(f, QPoint(-50, -50));  // away from the button: no click
        QVERIFY2(differs.isEmpty(), qPrintable(qs(c->name()) + QStringLiteral(" held down: ") + differs));
        break;
    }
}

void FormScaleTest::picturesAtTheirDeviceSize_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("scale");
    for (double scale : {1.0, 1.5, 1.83}) {
        const QString at = QStringLiteral(" at %1").arg(scale);
        QTest::newRow(qPrintable(QStringLiteral("a picture") + at)) << "Tellen3"
                                                                    << "Img1a" << scale;
        QTest::newRow(qPrintable(QStringLiteral("a puzzle quarter") + at)) << "Puzzel1"
                                                                           << "img1" << scale;
        QTest::newRow(qPrintable(QStringLiteral("a JPEG on a button") + at)) << "Start"
                                                                             << "KnopTellen1" << scale;
    }
}

// The window shows a picture, pixel for pixel, as the picture gives it for its rectangle's
// device size: its rendering nearest above that size, drawn smoothly to it; at a scale of
// 1 its own pixels. (Opaque pictures, so that nothing beneath shows through.)
void FormScaleTest::picturesAtTheirDeviceSize()
{
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(double, scale);
    Program program;
    Form& f = program.show(cs(form));
    resizeCanvas(f, clientSizeOf(f) * scale);
    const Control* c = f.find(cs(control));
    QVERIFY(c);
    const bool button = c->controlClass() == ControlClass::CommandButton;
    const Picture& picture = button ? static_cast<const CommandButton*>(c)->picture()
                                    : static_cast<const Image*>(c)->picture();
    QRect place(toQt(c->pixelRect().topLeft()), toQt(picture.size()));
    if (button)
        place.moveCenter(toQt(c->pixelRect().center()));
    const QRect device = deviceRect(f, place);
    const QImage expected = picturePixelsFor(picture, device.size()).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(expected.size(), device.size());
    const QImage shown = render(f).convertToFormat(QImage::Format_RGB32);
    // Away from the edges, where a card's or a tray's border is drawn over the picture
    // and a button cuts its picture off.
    const QRect compared = device & deviceRect(f, c->pixelRect().adjusted(3, 3, -3, -3));
    for (int y = compared.top(); y <= compared.bottom(); ++y)
        for (int x = compared.left(); x <= compared.right(); ++x)
            if (shown.pixel(x, y) != expected.pixel(x - device.left(), y - device.top()))
                QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) is %3, the picture's %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(QColor(shown.pixel(x, y)).name(),
                                          QColor(expected.pixel(x - device.left(), y - device.top())).name())));
}

void FormScaleTest::backgroundAtItsDeviceSize_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("1.5") << 1.5;
    QTest::newRow("fullscreen on a 4K screen") << 3840.0 / 1021;
}

// The form's background picture is its rendering for its device size laid on the face,
// wherever no control is drawn over it; small or as large as a 4K screen shows it.
void FormScaleTest::backgroundAtItsDeviceSize()
{
    QFETCH(double, scale);
    Program program;
    Form& f = program.show("Pietkleden");
    resizeCanvas(f, clientSizeOf(f) * (scale / canvasOf(f)->devicePixelRatioF()));
    const Picture& bg = f.background();
    const QRect device = deviceRect(f, QRect(QPoint(0, 0), toQt(bg.size())));
    QImage expected(device.size(), QImage::Format_RGB32);
    expected.fill(toQColor(SystemColor::ButtonFace));
    QPainter(&expected).drawImage(0, 0, picturePixelsFor(bg, device.size()));
    QRegion free(device);
    for (const auto& c : f.controls())
        if (c->visible() && c->controlClass() != ControlClass::Menu)
            free -= deviceRect(f, c->pixelRect().adjusted(-5, -5, 5, 5));
    const QImage shown = render(f).convertToFormat(QImage::Format_RGB32);
    long compared = 0;
    for (const QRect& r : free)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x, ++compared)
                if (shown.pixel(x, y) != expected.pixel(x - device.left(), y - device.top()))
                    QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) is not the background's").arg(x).arg(y)));
    QVERIFY(compared > device.width() * device.height() / 2);
}

void FormScaleTest::quartersMeetWithoutASeam_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("1.37") << 1.37;
    QTest::newRow("2.21") << 2.21;
}

// The four quarters put in their places show the whole picture: every device pixel of the
// frame's inside is a pixel of the quarter drawn there, none of the face between them.
void FormScaleTest::quartersMeetWithoutASeam()
{
    QFETCH(double, scale);
    Program program;
    Form& f = program.show("Puzzel1");
    for (int k = 1; k <= 4; ++k)
        drag(f, numbered("img", k), numbered("Image", k));
    resizeCanvas(f, clientSizeOf(f) * scale);
    const QImage shown = render(f).convertToFormat(QImage::Format_RGB32);
    std::vector<std::pair<QRect, QImage>> quarters;  // from the back to the front
    QRect whole;
    for (const Control* c : f.paintOrder()) {
        if (!c->name().starts_with("Image"))
            continue;
        const Picture& picture = static_cast<const Image*>(c)->picture();
        QVERIFY2(!picture.isEmpty(), qPrintable(qs(c->name())));
        const QRect device = deviceRect(f, QRect(toQt(c->pixelRect().topLeft()), toQt(picture.size())));
        quarters.emplace_back(device, picturePixelsFor(picture, device.size()).convertToFormat(QImage::Format_RGB32));
        whole |= device;
    }
    QCOMPARE(int(quarters.size()), 4);
    for (int y = whole.top(); y <= whole.bottom(); ++y)
        for (int x = whole.left(); x <= whole.right(); ++x) {
            const auto front = std::find_if(quarters.rbegin(), quarters.rend(),
                                            [&](const auto& q) { return q.first.contains(x, y); });
            if (front == quarters.rend())
                QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) lies in no quarter").arg(x).arg(y)));
            if (shown.pixel(x, y) != front->second.pixel(x - front->first.left(), y - front->first.top()))
                QFAIL(qPrintable(QStringLiteral("device pixel (%1, %2) is not its quarter's").arg(x).arg(y)));
        }
}

// At twice the size (a window at scale 2, or the screen's pixel ratio of 2), the title's
// text, a button's caption, a button's bevel and the pictures are drawn at that size, not
// enlarged pixel by pixel: many of their aligned 2 x 2 blocks are not one colour.
void FormScaleTest::textAndButtonsAtTheirSize()
{
    Program program;
    Form& f = program.show("Start");
    resizeCanvas(f, clientSizeOf(f) * (2 / canvasOf(f)->devicePixelRatioF()));
    const QImage shown = render(f);
    QCOMPARE(deviceRect(f, QRect(0, 0, 1, 1)).size(), QSize(2, 2));
    const struct {
        const char* control;
        int atLeast;
    } parts[] = {{"Label1", 400}, {"Label2", 100}, {"knopPiet", 200}, {"knopStop", 100}};
    for (const auto& part : parts) {
        const Control* c = f.find(part.control);
        QVERIFY(c);
        const int mixed = mixedBlocks(shown, deviceRect(f, c->pixelRect()));
        QVERIFY2(mixed >= part.atLeast,
                 qPrintable(QStringLiteral("%1: %2 mixed blocks").arg(QLatin1String(part.control)).arg(mixed)));
    }
    Program another;
    Form& puzzle = another.show("Puzzel1");
    resizeCanvas(puzzle, clientSizeOf(puzzle) * (2 / canvasOf(puzzle)->devicePixelRatioF()));
    const Control* again = puzzle.find("knopOpnieuw");
    QVERIFY(again);
    const int mixed = mixedBlocks(render(puzzle), deviceRect(puzzle, again->pixelRect()));
    QVERIFY2(mixed >= 50,
             qPrintable(QStringLiteral("the caption and bevel of knopOpnieuw: %1 mixed blocks").arg(mixed)));
}

// A drag's outline is two device pixels wide at every scale.
void FormScaleTest::dragOutlineStaysThin()
{
    Program program;
    Form& f = program.show("Puzzel1");
    resizeCanvas(f, clientSizeOf(f) * 2.5);
    const QImage before = render(f).convertToFormat(QImage::Format_RGB32);
    const QRect piece = toQt(f.find("img2")->pixelRect());
    const QPoint from = piece.center();
    pressAt(f, from);
    moveTo(f, from + QPoint(5, 5));
    moveTo(f, from + QPoint(40, 60) - piece.topLeft());  // over the face left of the frame
    QVERIFY(f.drag());
    const QRect outline = deviceRect(f, f.drag()->outline);
    QCOMPARE(outline.topLeft(), deviceRect(f, QRect(40, 60, 1, 1)).topLeft());
    const QImage during = render(f).convertToFormat(QImage::Format_RGB32);
    releaseAt(f, from);
    for (const int along : {outline.height() / 3, outline.height() / 2}) {
        int left = 0, top = 0;
        for (int across = 0; across < 12; ++across) {
            left += during.pixel(outline.left() + across, outline.top() + along) !=
                    before.pixel(outline.left() + across, outline.top() + along);
            top += during.pixel(outline.left() + along, outline.top() + across) !=
                   before.pixel(outline.left() + along, outline.top() + across);
        }
        QCOMPARE(left, 2);
        QCOMPARE(top, 2);
    }
}

// While a corner is dragged, the window may show pictures drawn smoothly from what is at
// hand; once the scale has stopped changing for a moment, the screen shows every picture
// exactly as at that size.
void FormScaleTest::shownExactlyOnceTheScaleSettles()
{
    if (qApp->devicePixelRatio() != 1.0)
        QSKIP("the screen's copy of a window is read at its logical size");
    Program program;
    Form& f = program.show("Tellen3");
    FormWindow* window = windowOf(f);
    for (int step = 1; step <= 5; ++step) {
        window->resize(window->size() + QSize(40, 26));
        settle();
    }
    const Control* c = f.find("Img1a");
    const Picture& picture = static_cast<const Image*>(c)->picture();
    const QRect device = deviceRect(f, QRect(toQt(c->pixelRect().topLeft()), toQt(picture.size())));
    const QImage expected = picturePixelsFor(picture, device.size()).convertToFormat(QImage::Format_RGB32);
    const QRect compared = device & deviceRect(f, c->pixelRect().adjusted(3, 3, -3, -3));
    // What the window has put on the screen (the offscreen platform keeps it), not a new paint:
    // the first pixel that is not the picture's, or none.
    const auto wrongPixel = [&]() -> QString {
        const QImage screen =
            window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint canvasAt = canvasOf(f)->mapTo(window, QPoint(0, 0)) * canvasOf(f)->devicePixelRatioF();
        for (int y = compared.top(); y <= compared.bottom(); ++y)
            for (int x = compared.left(); x <= compared.right(); ++x)
                if (screen.pixel(canvasAt + QPoint(x, y)) != expected.pixel(x - device.left(), y - device.top()))
                    return QStringLiteral("the screen at device pixel (%1, %2) is not the picture's").arg(x).arg(y);
        return {};
    };
    // The exact paint comes by itself once the scale has stopped changing, within a few repaints.
    QTRY_COMPARE_WITH_TIMEOUT(wrongPixel(), QString(), 5000);
}

QTEST_MAIN(FormScaleTest)
#include "form_scale_test.moc"
