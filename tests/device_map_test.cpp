// Form pixels to device pixels, as the core decides them for both front ends:
// the rounding of every edge at whole and fractional scales (checked against
// Qt's own arithmetic, which the desktop has always drawn with), where a
// button's focus line and caption go, the drag outline's path, and which
// rendering a picture is drawn from on its device rectangle.
#include "assets/picture_catalog.h"
#include "menu/form_catalog.h"
#include "runtime/control.h"
#include "runtime/device_map.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "tests/support/core_qt.h"

#include <QTest>
#include <QTransform>
#include <algorithm>
#include <array>

using namespace tuvrel;

Q_DECLARE_METATYPE(tuvrel::Rect)

namespace {

// The desktop's painter: the window's transform (translate, then scale) times
// the device's pixel ratio, each corner mapped and rounded by Qt.
QRect qtDeviceRect(double scale, PointF offset, double ratio, const QRect& form)
{
    QTransform world;
    world.translate(offset.x, offset.y);
    world.scale(scale, scale);
    const QTransform toDevice = world * QTransform::fromScale(ratio, ratio);
    const QPointF a = toDevice.map(QPointF(form.left(), form.top()));
    const QPointF b = toDevice.map(QPointF(form.left() + form.width(), form.top() + form.height()));
    return {QPoint(qRound(a.x()), qRound(a.y())), QPoint(qRound(b.x()) - 1, qRound(b.y()) - 1)};
}

// The window scales and device pixel ratios the front ends draw at: a window
// of any size, a screen at 100 % to 300 %, a page zoomed.
const double Scales[] = {1, 1.25, 1.5, 1.75, 2, 3};

}  // namespace

class DeviceMapTest : public QObject {
    Q_OBJECT

private slots:
    void roundsHalvesAwayFromZero_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<int>("pixel");
        QTest::newRow("whole") << 7.0 << 7;
        QTest::newRow("half") << 2.5 << 3;
        QTest::newRow("just under a half") << 2.4999 << 2;
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("a half below zero") << -0.5 << -1;
        QTest::newRow("a half further below") << -2.5 << -3;
        QTest::newRow("below zero, past the half") << -2.6 << -3;
    }
    void roundsHalvesAwayFromZero()
    {
        QFETCH(double, position);
        QFETCH(int, pixel);
        QCOMPARE(roundToPixel(position), pixel);
        QCOMPARE(roundToPixel(position), qRound(position));
    }

    // Every edge of every control of every form lands on the device pixel the
    // desktop has always drawn it on, at every window scale and pixel ratio,
    // with and without a strip beside the form.
    void everyEdgeOfEveryFormAsTheDesktopDrawsIt()
    {
        FormRegistry registry;
        registerProgramForms(registry);
        int checked = 0;
        for (const std::string& name : registry.formNames()) {
            Form& form = registry.form(name);
            form.show();
            std::vector<Rect> areas{Rect({}, form.clientSize())};
            for (const auto& control : form.controls()) {
                areas.push_back(control->pixelRect());
                areas.push_back(control->paintedArea());
            }
            for (double windowScale : Scales) {
                for (double ratio : Scales) {
                    for (const PointF offset : {PointF{}, PointF{137, 0}, PointF{0, 41}}) {
                        const DeviceMap map(windowScale, offset, ratio);
                        for (const Rect& area : areas) {
                            const QRect want = qtDeviceRect(windowScale, offset, ratio, toQt(area));
                            if (map.rect(area) != want)
                                QFAIL(qPrintable(QStringLiteral("%1 at %2 x %3: %4 lands on %5, the desktop on %6")
                                                     .arg(test::qs(name))
                                                     .arg(windowScale)
                                                     .arg(ratio)
                                                     .arg(QTest::toString(area))
                                                     .arg(QTest::toString(map.rect(area)))
                                                     .arg(QTest::toString(fromQt(want)))));
                            ++checked;
                        }
                    }
                }
            }
        }
        QVERIFY(checked > 20 * 36 * 3);
    }

    // Rectangles that meet in the form meet on the device: no seam, no overlap.
    void rectanglesThatMeetStillMeet()
    {
        for (double scale : Scales) {
            for (int at = 0; at < 12; ++at) {
                const DeviceMap map(scale, {0.5, 0}, 1);
                const Rect left = map.rect(Rect(0, 0, at, 5)), right = map.rect(Rect(at, 0, 7, 5));
                QCOMPARE(left.left() + left.width(), right.left());
            }
        }
    }

    void logicalPixels_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<Rect>("device");
        QTest::addColumn<Rect>("logical");
        QTest::newRow("ratio 1") << 1.0 << Rect(13, 13, 100, 37) << Rect(13, 13, 100, 37);
        QTest::newRow("ratio 2") << 2.0 << Rect(20, 20, 160, 60) << Rect(10, 10, 80, 30);
        QTest::newRow("ratio 1.5, halves up") << 1.5 << Rect(15, 16, 121, 44) << Rect(10, 11, 81, 29);
    }
    void logicalPixels()
    {
        QFETCH(double, ratio);
        QFETCH(Rect, device);
        QFETCH(Rect, logical);
        QCOMPARE(DeviceMap(1, {}, ratio).logical(device), logical);
    }

    // A button of 80 x 30 form pixels at (10, 10), its caption font 13 pixels.
    void buttonMarks_data()
    {
        QTest::addColumn<double>("windowScale");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<Rect>("face");
        QTest::addColumn<Rect>("focus");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("caption");
        QTest::newRow("1") << 1.0 << 1.0 << Rect(10, 10, 80, 30) << Rect(14, 14, 72, 22) << 1 << 13;
        QTest::newRow("1.25") << 1.25 << 1.0 << Rect(13, 13, 100, 37) << Rect(18, 18, 90, 27) << 1 << 16;
        QTest::newRow("1.5") << 1.5 << 1.0 << Rect(15, 15, 120, 45) << Rect(20, 20, 108, 33) << 2 << 20;
        QTest::newRow("2") << 2.0 << 1.0 << Rect(20, 20, 160, 60) << Rect(27, 27, 144, 44) << 2 << 26;
        QTest::newRow("3") << 3.0 << 1.0 << Rect(30, 30, 240, 90) << Rect(41, 41, 216, 66) << 3 << 39;
        QTest::newRow("1 on a screen at 200 %")
            << 1.0 << 2.0 << Rect(10, 10, 80, 30) << Rect(14, 14, 72, 22) << 1 << 13;
        QTest::newRow("1.5 on a screen at 150 %")
            << 1.5 << 1.5 << Rect(15, 15, 120, 45) << Rect(20, 20, 108, 33) << 2 << 20;
    }
    void buttonMarks()
    {
        QFETCH(double, windowScale);
        QFETCH(double, ratio);
        QFETCH(Rect, face);
        QFETCH(Rect, focus);
        QFETCH(int, line);
        QFETCH(int, caption);
        const ButtonMarks marks = tuvrel::buttonMarks(DeviceMap(windowScale, {}, ratio), Rect(10, 10, 80, 30), 13);
        QCOMPARE(marks.face, face);
        QCOMPARE(marks.focus, focus);
        QCOMPARE(marks.focusLine, line);
        QCOMPARE(marks.captionPixels, caption);
        // The dotted line stays well inside the face, about as far from each side.
        const int leftGap = marks.focus.left() - face.left(), rightGap = face.right() - marks.focus.right();
        QVERIFY(leftGap >= 3 && rightGap >= 3);
        QVERIFY(std::abs(rightGap - leftGap) <= line);
    }

    // Which rendering draws a picture of 43 x 44 pixels on a device
    // rectangle: its own pixels while they reach it within a pixel, then the
    // smallest larger rendering that does, the largest beyond them all.
    void renderingForADeviceRectangle_data()
    {
        QTest::addColumn<double>("deviceScale");
        QTest::addColumn<int>("rendering");
        const std::pair<double, int> rows[] = {{1, 1}, {1.02, 1}, {1.25, 2}, {1.5, 2}, {1.75, 2},
                                               {2, 2}, {2.02, 2}, {2.05, 3}, {3, 3},   {4, 3}};
        for (const auto& [scale, rendering] : rows)
            QTest::addRow("%g", scale) << scale << rendering;
    }
    void renderingForADeviceRectangle()
    {
        QFETCH(double, deviceScale);
        QFETCH(int, rendering);
        if (!std::ranges::equal(pictureScales(), std::array{2, 3}))
            QSKIP("a program built with other scales than 2 and 3");
        const Rect device = DeviceMap(deviceScale, {}, 1).rect(Rect(0, 0, 43, 44));
        QCOMPARE(renderingScaleFor(43, 44, device.width(), device.height()), rendering);
    }

    // The outline's path lies one device pixel inside the image at every
    // scale, so that its two-pixel line stays on the image.
    void dragOutlinePath()
    {
        for (double scale : Scales) {
            const DeviceMap map(scale, {3, 0}, 1);
            const Rect image = map.rect(Rect(100, 50, 43, 44));
            QCOMPARE(tuvrel::dragOutlinePath(map, Rect(100, 50, 43, 44)), image.adjusted(1, 1, -1, -1));
        }
    }
};

QTEST_GUILESS_MAIN(DeviceMapTest)
#include "device_map_test.moc"
