// "In welk pakje zat het cadeau?", levels 1 and 2, through the real windows.
#include "desktop/picture_pixels.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QPainter>
#include <QTest>

#include <array>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

struct Wrapping {
    const char* package;
    const char* present;
};
using Level = std::array<Wrapping, 6>;

// Each package and the present of its shape, in the order of the presents on screen.
const Level Level1{{{"ImageVjack", "ImageJack"},
                    {"ImageVstiften", "ImageStiften"},
                    {"ImageVeendje", "ImageEendje"},
                    {"ImageVbatjes", "ImageBatjes"},
                    {"ImageVspvarken", "ImageSpvarken"},
                    {"ImageVbeer", "ImageBeer"}}};
const Level Level2{{{"ImageVbeerdoos", "ImageBeerdoos"},
                    {"ImageVmannetje", "ImageMannetje"},
                    {"ImageVtas", "ImageTas"},
                    {"ImageVshirt", "ImageShirt"},
                    {"ImageVschelp", "ImageSchelp"},
                    {"ImageVdobbelst", "ImageDobbelst"}}};

const Level& wrappings(int level)
{
    return level == 1 ? Level1 : Level2;
}
QString vormen(int level)
{
    return QStringLiteral("Vormen%1").arg(level);
}

int presentsLeft(const Form& f, int level)
{
    int left = 0;
    for (const Wrapping& w : wrappings(level))
        left += f.image(w.present).visible() ? 1 : 0;
    return left;
}

void playToTheReward(Form& f, int level)
{
    for (const Wrapping& w : wrappings(level))
        drag(f, w.present, w.package);
}

// The pixels a picture covers (alpha at least one half), as the window would show them.
QImage coverage(const QImage& picture)
{
    QImage mask(picture.size(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) >= 128)
                mask.setPixel(x, y, 1);
    return mask;
}

// The form as rendered, with its command buttons blotted out: pressing a
// button moves the keyboard focus, and with it the focus frame, to that button.
QImage renderWithoutButtons(Form& f)
{
    QImage shown = render(f);
    QPainter painter(&shown);
    for (const auto& c : f.controls())
        if (c->controlClass() == ControlClass::CommandButton)
            painter.fillRect(toQt(c->pixelRect().adjusted(-3, -3, 3, 3)), Qt::black);
    return shown;
}

}  // namespace

class VormenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

    void addLevels()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("Vormen1") << 1;
        QTest::newRow("Vormen2") << 2;
    }
    void addPackages()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("k");  // index into the level's wrappings
        for (int level = 1; level <= 2; ++level)
            for (int k = 0; k < 6; ++k)
                QTest::newRow(qPrintable(vormen(level) + ' ' + wrappings(level)[size_t(k)].package)) << level << k;
    }

    void checkInvariants()
    {
        const QStringList broken = qs(brokenInvariants(vormenInvariants(), program->registry()));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup()
    {
        // Whatever a test did, both levels are in a state a child can reach.
        checkInvariants();
        program.reset();
    }

    // Side by side, a package covers exactly the pixels its present covers,
    // in a paper of its own: its shape gives the present away.
    void eachPackageHasTheShapeOfItsPresent_data() { addPackages(); }
    void eachPackageHasTheShapeOfItsPresent()
    {
        QFETCH(int, level);
        QFETCH(int, k);
        Form& f = program->show(cs(vormen(level)));
        const Wrapping& w = wrappings(level)[size_t(k)];
        const Image& package = f.image(w.package);
        const Image& present = f.image(w.present);
        QCOMPARE(package.pixelRect().size(), present.pixelRect().size());
        QCOMPARE(package.picture().size(), present.picture().size());
        QCOMPARE(coverage(pictureImage(package.picture())), coverage(pictureImage(present.picture())));
        QVERIFY(pictureImage(package.picture()) != pictureImage(present.picture()));
        // Drawn on the form: the package lies on the dark panel, not beside it.
        const QRect panel = toQt(f.shape("Shape1").pixelRect());
        QVERIFY2(panel.contains(toQt(package.pixelRect())), qPrintable(w.package));
    }

    // Every present tried on every package: only its own one takes it, and
    // nothing on the form changes for the others.
    void eachPackageTakesOnlyItsOwnPresent_data() { addPackages(); }
    void eachPackageTakesOnlyItsOwnPresent()
    {
        QFETCH(int, level);
        QFETCH(int, k);
        Form& f = program->show(cs(vormen(level)));
        const Wrapping& own = wrappings(level)[size_t(k)];
        const QImage before = render(f);
        for (const Wrapping& other : wrappings(level)) {
            if (other.present == own.present)
                continue;
            drag(f, other.present, own.package);
            QVERIFY2(f.image(other.present).visible(), other.present);
            checkInvariants();
        }
        QCOMPARE(render(f), before);

        drag(f, own.present, own.package);
        QVERIFY(!f.image(own.present).visible());
        QCOMPARE(presentsLeft(f, level), 5);
        QVERIFY(f.image(own.package).visible());
        QVERIFY(!f.image("ImageGoed").visible());
        // Where the present stood the face colour shows now.
        QCOMPARE(pixelAt(f, centreOf(f, own.present)), toQColor(SystemColor::ButtonFace));
        // A present that has gone cannot be dragged again.
        pressAt(f, centreOf(f, own.present));
        QVERIFY(!f.drag());
        releaseAt(f, centreOf(f, own.package));
    }

    // The reward waits for the last present, whichever it is; wrong drops in
    // between count for nothing.
    void rewardOnlyAfterTheSixth_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QList<int>>("order");  // indexes into the level's wrappings
        QTest::addColumn<bool>("wrongInBetween");
        for (int level = 1; level <= 2; ++level) {
            // Each present is the last one once.
            for (int last = 0; last < 6; ++last) {
                QList<int> order;
                for (int i = 1; i <= 6; ++i)
                    order << (last + i) % 6;
                QTest::newRow(qPrintable(
                    QStringLiteral("%1 last %2").arg(vormen(level)).arg(wrappings(level)[size_t(last)].present)))
                    << level << order << false;
            }
            QTest::newRow(qPrintable(vormen(level) + " shuffled, wrong drops between"))
                << level << QList<int>{3, 0, 5, 1, 4, 2} << true;
        }
    }
    void rewardOnlyAfterTheSixth()
    {
        QFETCH(int, level);
        QFETCH(QList<int>, order);
        QFETCH(bool, wrongInBetween);
        Form& f = program->show(cs(vormen(level)));
        const Level& all = wrappings(level);
        for (int step = 0; step < 6; ++step) {
            const Wrapping& w = all[size_t(order[step])];
            if (wrongInBetween && step < 5) {
                const Wrapping& next = all[size_t(order[step + 1])];
                drag(f, next.present, w.package);
                QVERIFY(f.image(next.present).visible());
            }
            drag(f, w.present, w.package);
            QCOMPARE(presentsLeft(f, level), 5 - step);
            QCOMPARE(f.image("ImageGoed").visible(), step == 5);
            checkInvariants();
        }
        // The reward is drawn, in front of where the presents stood.
        const Image& reward = f.image("ImageGoed");
        const QImage shown = render(f);
        const QImage picture = pictureImage(reward.picture());
        int opaque = 0;
        for (int y = 0; y < picture.height(); y += 7)
            for (int x = 0; x < picture.width(); x += 7)
                if (qAlpha(picture.pixel(x, y)) == 255) {
                    ++opaque;
                    QCOMPARE(shown.pixelColor(toQt(reward.pixelRect().topLeft()) + QPoint(x, y)),
                             picture.pixelColor(x, y));
                }
        QVERIFY(opaque > 100);
    }

    // Presents, the panel, the labels, a hidden present's place and the bare
    // form take no drops.
    void dropsElsewhereDoNothing_data() { addLevels(); }
    void dropsElsewhereDoNothing()
    {
        QFETCH(int, level);
        Form& f = program->show(cs(vormen(level)));
        const Level& all = wrappings(level);
        const char* dragged = all[0].present;
        // Hide one present by its right drop, so that its empty place can be tried too.
        drag(f, all[5].present, all[5].package);
        const QImage before = render(f);

        for (const Wrapping& w : all)
            if (w.present != dragged)
                drag(f, dragged, w.present);
        drag(f, dragged, "Label1");
        drag(f, dragged, "Label2");
        // The panel where no package lies: a shape takes no drops, and there is nothing beneath.
        const QRect panel = toQt(f.shape("Shape1").pixelRect());
        for (QPoint p : {panel.topLeft() + QPoint(4, 4), panel.bottomRight() - QPoint(4, 4),
                         QPoint(panel.center().x(), panel.top() + 6)}) {
            QVERIFY(f.hitTest(fromQt(p)) == nullptr);
            dragTo(f, dragged, p);
        }
        dragTo(f, dragged, centreOf(f, all[5].present));  // where a present has gone
        dragTo(f, dragged, centreOf(f, "ImageGoed"));     // the hidden reward
        dragTo(f, dragged, QPoint(1000, 400));            // the bare form

        QCOMPARE(render(f), before);
        QCOMPARE(presentsLeft(f, level), 5);
        QVERIFY(!f.image("ImageGoed").visible());
    }

    void restartAfterTheRewardBringsEverythingBack_data() { addLevels(); }
    void restartAfterTheRewardBringsEverythingBack()
    {
        QFETCH(int, level);
        Form& other = program->show(cs(vormen(3 - level)));
        drag(other, wrappings(3 - level)[0].present, wrappings(3 - level)[0].package);
        Form& f = program->show(cs(vormen(level)));
        const QImage fresh = render(f);
        const Picture oldDuck = f.image(wrappings(level)[2].present).picture();
        playToTheReward(f, level);
        QVERIFY(f.image("ImageGoed").visible());
        QCOMPARE(presentsLeft(f, level), 0);

        click(f, "knopOpnieuw");
        QVERIFY(f.isLoaded());
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        QVERIFY(!f.image("ImageGoed").visible());
        QCOMPARE(presentsLeft(f, level), 6);
        QCOMPARE(render(f), fresh);
        QVERIFY(!(f.image(wrappings(level)[2].present).picture() == oldDuck));
        // The other level is untouched, and this one can be played again.
        QCOMPARE(presentsLeft(other, 3 - level), 5);
        playToTheReward(f, level);
        QVERIFY(f.image("ImageGoed").visible());
    }

    // Both levels played to their rewards, starting from the start screen; the
    // arrows and the door leave each level as it was.
    void bothLevelsFromTheStartScreen()
    {
        Form& start = program->show("Start");
        click(start, "knopVormen");
        Form& v1 = program->form("Vormen1");
        QCOMPARE(QApplication::activeWindow(), windowOf(v1));
        drag(v1, "ImageEendje", "ImageVjack");  // the duck does not fit the jacket
        QVERIFY(v1.image("ImageEendje").visible());
        drag(v1, "ImageEendje", "ImageVeendje");
        QVERIFY(!v1.image("ImageEendje").visible());
        playToTheReward(v1, 1);
        QVERIFY(v1.image("ImageGoed").visible());
        const QImage finished1 = renderWithoutButtons(v1);

        click(v1, "knopVerder");
        Form& v2 = program->form("Vormen2");
        QCOMPARE(QApplication::activeWindow(), windowOf(v2));
        drag(v2, "ImageTas", "ImageVtas");
        click(v2, "Command4");
        QCOMPARE(QApplication::activeWindow(), windowOf(v1));
        QCOMPARE(renderWithoutButtons(v1), finished1);
        QCOMPARE(v1.focusedButton()->name(), QStringLiteral("knopVerder"));
        click(v1, "knopVerder");
        QCOMPARE(presentsLeft(v2, 2), 5);
        playToTheReward(v2, 2);
        QVERIFY(v2.image("ImageGoed").visible());

        click(v2, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
        click(start, "knopVormen");
        QCOMPARE(QApplication::activeWindow(), windowOf(v1));
        QVERIFY(v1.image("ImageGoed").visible());
        QVERIFY(v2.isLoaded());
        QVERIFY(v2.image("ImageGoed").visible());
    }

    // The look at load: the dark panel behind the packages, the title with its
    // level number in dark red, no reward.
    void lookAtLoad_data() { addLevels(); }
    void lookAtLoad()
    {
        QFETCH(int, level);
        Form& f = program->show(cs(vormen(level)));
        const QImage shown = render(f);
        const QRect panel = toQt(f.shape("Shape1").pixelRect());
        QCOMPARE(shown.pixelColor(panel.topLeft() + QPoint(5, 5)), QColor(64, 64, 64));
        QCOMPARE(shown.pixelColor(panel.bottomRight() - QPoint(5, 5)), QColor(64, 64, 64));
        // Above the presents, inside the hidden reward's rectangle: only the form.
        const QRect reward = toQt(f.image("ImageGoed").pixelRect());
        QCOMPARE(shown.pixelColor(reward.center().x(), reward.top() + 10), toQColor(SystemColor::ButtonFace));
        // Dark red letters in both labels: the title and the level number.
        for (const char* label : {"Label1", "Label2"}) {
            const QRect r = toQt(f.label(label).pixelRect());
            int red = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    red += shown.pixelColor(x, y) == QColor(192, 0, 0) ? 1 : 0;
            QVERIFY2(red > 20, label);
        }
    }
};

QTEST_MAIN(VormenTest)
#include "vormen_test.moc"
