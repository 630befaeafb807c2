// Forms in windows of other sizes: drawn scaled to fit and centred, every
// pointer position mapped back, so a click and a drag-and-drop at the scaled
// places do exactly what they do at the form's own size, and a press in the
// strips beside the form does nothing.
#include "runtime/form_transform.h"
#include "tests/monkey/form_state.h"
#include "tests/support/form_driver.h"
#include "tests/support/plays.h"

#include <QTest>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

// The transform in Qt's points: a form pixel's canvas pixel, and the form
// pixel under a canvas point.
QPoint toCanvas(const FormTransform& t, QPoint formPixel)
{
    return toQt(t.toCanvas(fromQt(formPixel)));
}
QPoint toForm(const FormTransform& t, QPointF canvasPoint)
{
    return toQt(t.toForm(fromQt(canvasPoint)));
}

}  // namespace

class ScaledWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void transformFitsAndCentres_data()
    {
        QTest::addColumn<QSize>("canvas");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("own size") << QSize(1021, 673) << 1.0 << QPointF(0, 0);
        QTest::newRow("twice") << QSize(2042, 1346) << 2.0 << QPointF(0, 0);
        QTest::newRow("wider: strips left and right") << QSize(1221, 673) << 1.0 << QPointF(100, 0);
        QTest::newRow("full HD") << QSize(1920, 1080) << 1080.0 / 673 << QPointF(140, 0);
        QTest::newRow("taller: strips above and below") << QSize(1021, 1000) << 1.0 << QPointF(0, 163);
        QTest::newRow("smaller") << QSize(510, 336) << 336.0 / 673 << QPointF(0, 0);
    }
    void transformFitsAndCentres()
    {
        QFETCH(QSize, canvas);
        QFETCH(double, scale);
        QFETCH(QPointF, offset);
        const FormTransform t(Size{1021, 673}, fromQt(canvas));
        QCOMPARE(t.scale(), scale);
        QCOMPARE(toQt(t.offset()), offset);
        // Every form pixel's own canvas pixel maps back to it, corners included.
        if (scale >= 1)
            for (QPoint p : {QPoint(0, 0), QPoint(1020, 672), QPoint(500, 300), QPoint(1, 671)})
                QCOMPARE(toForm(t, QPointF(toCanvas(t, p))), p);
        // The strips lie outside the form.
        const QRect client(0, 0, 1021, 673);
        QVERIFY(!client.contains(toForm(t, QPointF(offset.x() - 1, offset.y() + 10))) || offset.x() == 0);
        QVERIFY(!client.contains(toForm(t, QPointF(10, offset.y() - 1))) || offset.y() == 0);
    }

    // At the form's own size the transform is the identity: pixel for pixel.
    void ownSizeIsPixelForPixel()
    {
        Program program;
        Form& f = program.show("Puzzel1");
        QVERIFY(canvasOf(f)->transform().isIdentity());
        QCOMPARE(render(f).size(), QSize(1021, 673));
    }

    void playsAsAtOwnSize_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<double>("scale");
        for (const Play& p : plays())
            for (double scale : {1.5, 2.0, 3.0})
                QTest::newRow(qPrintable(QStringLiteral("%1 at %2").arg(p.form).arg(scale)))
                    << QString(p.form) << scale;
    }
    void playsAsAtOwnSize()
    {
        QFETCH(QString, form);
        QFETCH(double, scale);
        const monkey::FormState expected = monkey::stateAfterMousePlay(cs(form));
        Program program;
        Form& f = program.show(cs(form));
        resizeCanvas(f, (QSizeF(toQt(f.clientSize())) * scale).toSize());
        QVERIFY(qAbs(canvasOf(f)->transform().scale() - scale) < 0.001);
        play(cs(form)).moves(f, mouseHand);
        const QString difference = monkey::differenceUpToIdentity(expected, monkey::stateOf(f));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // A window wider than the form: the strips on either side are nothing,
    // neither for a click nor as the start or the end of a drag.
    void strips()
    {
        Program program;
        Form& f = program.show("Puzzel1");
        resizeCanvas(f, QSize(2042 + 400, 1346));
        const FormTransform t = canvasOf(f)->transform();
        QCOMPARE(toQt(t.offset()), QPointF(200, 0));
        const monkey::FormState before = monkey::stateOf(f);
        FormCanvas* canvas = canvasOf(f);
        const QPoint piece = toCanvas(t, centreOf(f, "img4"));
        const QPoint slot = toCanvas(t, centreOf(f, "Image4"));
        const QPoint leftStrip(100, piece.y());
        const QPoint rightStrip(2042 + 300, slot.y());
        // A press in a strip starts nothing, a release there drops nothing.
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, leftStrip);
        QVERIFY(!f.drag());
        QTest::mouseMove(canvas, slot);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, slot);
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, piece);
        QVERIFY(f.drag());
        QTest::mouseMove(canvas, rightStrip);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, rightStrip);
        QVERIFY(!f.drag());
        clickAt(f, toForm(t, QPointF(rightStrip)));
        settle();
        const QString difference = monkey::differenceExact(before, monkey::stateOf(f));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        // The strips are drawn in their own colour, the form beside them as ever.
        const QImage shown = render(f);
        QCOMPARE(shown.pixelColor(100, 600), shown.pixelColor(2042 + 300, 10));
        QVERIFY(shown.pixelColor(100, 600) != shown.pixelColor(toCanvas(t, QPoint(2, 2))));
    }
};

QTEST_MAIN(ScaledWindowsTest)
#include "scaled_windows_test.moc"
