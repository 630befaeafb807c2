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

public:
    // A screen of a class board's size, on which fingers land and a fullscreen window is large.
    static void initMain() { useTouchBoardScreen(); }

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
        QCOMPARE(render(f).size(), QSize(1021, 673) * qApp->devicePixelRatio());
    }

    // One play of each family, by the mouse and by a finger, in windows of
    // every size, leaves the form exactly as the same moves made on the form
    // itself in its own pixels, and changes it. Run also on a screen that
    // shows everything twice as large (QT_SCALE_FACTOR=2).
    void playsAsOnTheFormItself_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("hand");
        QTest::addColumn<QString>("window");
        for (const Play& p : plays())
            for (const char* hand : {"mouse", "finger"})
                for (const char* window : {"own size", "scale 1.5", "scale 2", "scale 3", "fullscreen"})
                    QTest::addRow("%s, %s, %s", p.form, hand, window) << QString(p.form) << hand << window;
    }
    void playsAsOnTheFormItself()
    {
        QFETCH(QString, form);
        QFETCH(QString, hand);
        QFETCH(QString, window);
        monkey::FormState shown, expected;
        {
            Program onForm;
            Form& f = onForm.show(cs(form));
            shown = monkey::stateOf(f);
            play(cs(form)).moves(f, formHand);
            expected = monkey::stateOf(f);
        }
        // The play changes the form, so that an unchanged form cannot pass.
        QVERIFY2(!monkey::differenceUpToIdentity(expected, shown).isEmpty(), "the play changed nothing");

        Program program;
        Form& f = program.show(cs(form));
        if (window == "fullscreen") {
            static_cast<QtWindowSystem*>(program.registry().windowSystem())->setFullscreen(true);
            QTRY_VERIFY(windowOf(f)->isFullScreen());
            QTRY_VERIFY(!canvasOf(f)->transform().isIdentity());
        } else if (window != "own size") {
            const double scale = window.mid(6).toDouble();
            resizeCanvas(f, (QSizeF(toQt(f.clientSize())) * scale).toSize());
            QVERIFY(qAbs(canvasOf(f)->transform().scale() - scale) < 0.001);
        }
        // A touch lands only on the screen: a window larger than the screen
        // of the class board is played by the mouse alone.
        if (hand == "finger" && !windowOf(f)->screen()->geometry().contains(windowOf(f)->frameGeometry()))
            QSKIP("the window is larger than the screen, where a touch would land on nothing");
        play(cs(form)).moves(f, hand == "mouse" ? mouseHand : fingerHand);
        QVERIFY(!f.drag());
        const QString difference = monkey::differenceUpToIdentity(expected, monkey::stateOf(f));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // A window wider than the form: the strips on either side are nothing,
    // neither for a click nor as the start or the end of a drag.
    void strips()
    {
        if (qApp->devicePixelRatio() != 1.0)
            QSKIP("the sizes here are a screen's at its own pixel size");
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
