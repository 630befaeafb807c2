// Forms at every scale: at a scale of 1 a form is drawn with exactly the pixels of the plain
// 1:1 drawing below, one form of each family.
#include "tests/support/form_driver.h"

#include <QFontMetrics>
#include <QPainter>
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
    const int horizontal = label.alignment() == 2 ? Qt::AlignHCenter : label.alignment() == 1 ? Qt::AlignRight : Qt::AlignLeft;
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
    QImage image(form.clientSize(), QImage::Format_RGB32);
    image.fill(face);
    QPainter p(&image);
    if (!form.background().isEmpty())
        p.drawImage(0, 0, form.background().image());
    for (const Control* c : form.paintOrder()) {
        if (!c->visible())
            continue;
        const QRect r = c->pixelRect();
        switch (c->controlClass()) {
        case ControlClass::Image:
            if (const Picture& picture = static_cast<const Image&>(*c).picture(); !picture.isEmpty())
                p.drawImage(r.topLeft(), picture.image());
            break;
        case ControlClass::Label: {
            const auto& label = static_cast<const Label&>(*c);
            if (label.opaque())
                p.fillRect(r, toQColor(label.backColor()));
            p.save();
            p.setClipRect(r);
            p.setFont(toQFont(label.font()));
            p.setPen(toQColor(label.foreColor()));
            p.drawText(r, alignmentFlags(label), label.caption());
            p.restore();
            break;
        }
        case ControlClass::Shape: {
            const auto& shape = static_cast<const Shape&>(*c);
            if (shape.backStyle() == 1)
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
                p.fillRect(QRect(std::min(a, b, [](QPoint u, QPoint v) { return u.y() < v.y(); }) - QPoint((w - 1) / 2, 0),
                                 QSize(w, std::abs(b.y() - a.y()) + 1)),
                           Qt::black);
            else if (a.y() == b.y())
                p.fillRect(QRect(std::min(a, b, [](QPoint u, QPoint v) { return u.x() < v.x(); }) - QPoint(0, (w - 1) / 2),
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
                    QRect place(QPoint(), button.picture().size());
                    place.moveCenter(r.center());
                    p.save();
                    p.setClipRect(r.adjusted(2, 2, -2, -2));
                    p.drawImage(place.topLeft() + (down ? QPoint(1, 1) : QPoint()), button.picture().image());
                    p.restore();
                }
            } else {
                option.text = button.caption();
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

}  // namespace

class FormScaleTest : public QObject {
    Q_OBJECT

private slots:
    void factorOneIsThePlainDrawing_data();
    void factorOneIsThePlainDrawing();
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
    Form& f = program.form(form);
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
        pressAt(f, c->pixelRect().center());
        QVERIFY(f.pressedButton() == c.get());
        differs = difference(render(f), plainDrawing(f, canvas->style(), focus));
        releaseAt(f, QPoint(-50, -50));  // away from the button: no click
        QVERIFY2(differs.isEmpty(), qPrintable(c->name() + QStringLiteral(" held down: ") + differs));
        break;
    }
}

QTEST_MAIN(FormScaleTest)
#include "form_scale_test.moc"
