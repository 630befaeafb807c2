// Dress Piet, through the real window: each piece of clothing is worn only on
// its own place, replaces what Piet wore there, and fits over the white
// clothes of the figure in the background.
#include "desktop/picture_pixels.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QTest>
#include <algorithm>
#include <optional>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

const QStringList Slots{"ImageMuts", "ImageBloes", "ImageBroek"};
const QStringList Caps{"ImageMutsRood", "ImageMutsGroen", "ImageMutsBlauw"};
const QStringList Blouses{"ImageBloesOranje", "ImageBloesGroen", "ImageBloesBlauw"};
const QStringList Trousers{"ImageBroekRood", "imageBroekGroen", "ImageBroekBlauw"};

QStringList wardrobe()
{
    return Caps + Blouses + Trousers;
}

// The pixels of the figure's white clothes: opaque, light and without colour,
// within the places on Piet (the whites of his eyes lie just below the cap's).
QList<QPoint> whiteClothes(const QImage& background, const QList<QRect>& places)
{
    const QImage bg = background.convertToFormat(QImage::Format_ARGB32);
    QList<QPoint> white;
    for (int y = 0; y < bg.height(); ++y)
        for (int x = 0; x < bg.width(); ++x) {
            const QColor c = bg.pixelColor(x, y);
            const int lo = std::min({c.red(), c.green(), c.blue()});
            const int hi = std::max({c.red(), c.green(), c.blue()});
            const bool inPlace = std::any_of(places.begin(), places.end(),
                                             [x, y](const QRect& r) { return r.contains(x, y); });
            if (inPlace && c.alpha() == 255 && lo >= 190 && hi - lo <= 16)
                white << QPoint(x, y);
        }
    return white;
}

// The colour a worn piece shows at a form pixel, front-most place first; none
// when no worn piece is opaque there.
std::optional<QColor> wornAt(const Form& f, QPoint p)
{
    for (const QString& slot : Slots) {
        const Image& worn = f.image(cs(slot));
        const QImage piece = pictureImage(worn.picture());
        const QPoint inPiece = p - toQt(worn.pixelRect().topLeft());
        if (piece.rect().contains(inPiece) && qAlpha(piece.pixel(inPiece)) == 255)
            return QColor(piece.pixel(inPiece));
    }
    return std::nullopt;
}

}  // namespace

class PietkledenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

    void checkInvariants()
    {
        const QStringList broken = qs(brokenInvariants(pietkledenInvariants(), program->registry()));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup()
    {
        // Whatever a test did, the form is in a state a child can reach.
        checkInvariants();
        program.reset();
    }

    void eachPieceIsWornOnlyOnItsOwnPlace_data()
    {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<QString>("own");
        for (const QString& p : Caps)
            QTest::newRow(qPrintable(p)) << p << "ImageMuts";
        for (const QString& p : Blouses)
            QTest::newRow(qPrintable(p)) << p << "ImageBloes";
        for (const QString& p : Trousers)
            QTest::newRow(qPrintable(p)) << p << "ImageBroek";
    }
    void eachPieceIsWornOnlyOnItsOwnPlace()
    {
        QFETCH(QString, piece);
        QFETCH(QString, own);
        Form& f = program->show("Pietkleden");
        const Picture picture = f.image(cs(piece)).picture();
        // First on the two other places: nothing changes there.
        for (const QString& other : Slots) {
            if (other == own)
                continue;
            const QRect before = toQt(f.image(cs(other)).pixelRect());
            drag(f, cs(piece), cs(other));
            QVERIFY(f.image(cs(other)).picture().isEmpty());
            QCOMPARE(f.image(cs(other)).pixelRect(), before);
        }
        // Then on its own: Piet wears the very picture of the piece, at its size.
        const QPoint place = toQt(f.image(cs(own)).pixelRect().topLeft());
        drag(f, cs(piece), cs(own));
        QVERIFY(f.image(cs(own)).picture() == picture);
        QCOMPARE(f.image(cs(own)).pixelRect(), QRect(place, toQt(picture.size())));
        for (const QString& other : Slots)
            if (other != own)
                QVERIFY(f.image(cs(other)).picture().isEmpty());
        // The piece stays in the wardrobe, unchanged, and is shown on Piet.
        QVERIFY(f.image(cs(piece)).visible());
        QVERIFY(f.image(cs(piece)).picture() == picture);
        const QImage shown = render(f);
        const QRect worn = toQt(f.image(cs(own)).pixelRect());
        const QImage pixels = pictureImage(picture).convertToFormat(QImage::Format_ARGB32);
        int compared = 0;
        for (int y = 0; y < pixels.height(); y += 3)
            for (int x = 0; x < pixels.width(); x += 3)
                if (pixels.pixelColor(x, y).alpha() == 255) {
                    QCOMPARE(shown.pixelColor(worn.topLeft() + QPoint(x, y)), pixels.pixelColor(x, y));
                    ++compared;
                }
        QVERIFY(compared > 100);
        checkInvariants();
    }

    void aNewPieceReplacesTheOld_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("cap") << "ImageMuts" << Caps;
        QTest::newRow("blouse") << "ImageBloes" << Blouses;
        QTest::newRow("trousers") << "ImageBroek" << Trousers;
    }
    void aNewPieceReplacesTheOld()
    {
        QFETCH(QString, slot);
        QFETCH(QStringList, pieces);
        Form& f = program->show("Pietkleden");
        // Every order of two pieces: the later one is worn.
        for (const QString& first : pieces)
            for (const QString& second : pieces) {
                drag(f, cs(first), cs(slot));
                drag(f, cs(second), cs(slot));
                QVERIFY2(f.image(cs(slot)).picture() == f.image(cs(second)).picture(),
                         qPrintable(first + " then " + second));
                QCOMPARE(f.image(cs(slot)).pixelRect().size(), f.image(cs(second)).picture().size());
                QVERIFY(f.image(cs(first)).visible());
            }
        // The piece he already wears, once more: nothing visible changes.
        const QImage dressed = render(f);
        drag(f, cs(pieces.last()), cs(slot));
        QCOMPARE(render(f), dressed);
    }

    void blouseAndTrousersOverlap_data()
    {
        QTest::addColumn<QString>("blouse");
        QTest::addColumn<int>("width");
        QTest::newRow("orange") << "ImageBloesOranje" << 186;
        QTest::newRow("green") << "ImageBloesGroen" << 182;
        QTest::newRow("blue") << "ImageBloesBlauw" << 182;
    }
    void blouseAndTrousersOverlap()
    {
        QFETCH(QString, blouse);
        QFETCH(int, width);
        Form& f = program->show("Pietkleden");
        const QRect bloes = toQt(f.image("ImageBloes").pixelRect());
        const QRect broek = toQt(f.image("ImageBroek").pixelRect());
        QCOMPARE(bloes.intersected(broek), QRect(broek.left(), broek.top(), broek.width(), 8));
        // The strip belongs to the blouse place: trousers dropped there are not worn.
        const QPoint strip(broek.center().x(), broek.top() + 4);
        dragTo(f, "ImageBroekRood", strip);
        QVERIFY(f.image("ImageBroek").picture().isEmpty());
        dragTo(f, cs(blouse), strip);
        QVERIFY(f.image("ImageBloes").picture() == f.image(cs(blouse)).picture());
        QCOMPARE(f.image("ImageBloes").pixelRect(), QRect(bloes.topLeft(), QSize(width, 128)));
        // Just below the strip the trousers are worn; the blouse still lies in front.
        dragTo(f, "ImageBroekRood", QPoint(strip.x(), broek.top() + 8));
        QVERIFY(f.image("ImageBroek").picture() == f.image("ImageBroekRood").picture());
        dragTo(f, "ImageBroekBlauw", strip);
        QVERIFY(f.image("ImageBroek").picture() == f.image("ImageBroekRood").picture());
        QCOMPARE(f.hitTest(fromQt(strip)), f.find("ImageBloes"));
    }

    void theBlouseWidthFollowsThePiece()
    {
        Form& f = program->show("Pietkleden");
        QCOMPARE(f.image("ImageBloes").pixelRect().width(), 182);
        for (const auto& [blouse, width] : {std::pair{"ImageBloesOranje", 186},
                                            {"ImageBloesGroen", 182},
                                            {"ImageBloesOranje", 186},
                                            {"ImageBloesBlauw", 182}}) {
            drag(f, blouse, "ImageBloes");
            QCOMPARE(f.image("ImageBloes").pixelRect().width(), width);
        }
    }

    void dropsElsewhereDoNothing()
    {
        Form& f = program->show("Pietkleden");
        const QImage before = render(f);
        for (const QString& piece :
             {QStringLiteral("ImageMutsRood"), QStringLiteral("ImageBloesOranje"), QStringLiteral("imageBroekGroen")}) {
            // On the other wardrobe pieces, the title and the door.
            const QStringList targets = wardrobe() << "Label1"
                                                   << "knopTerug";
            for (const QString& target : targets)
                if (target != piece)
                    drag(f, cs(piece), cs(target));
            // On Piet's face between cap and blouse, beside him, on the bare form.
            for (QPoint p : {QPoint(810, 300), QPoint(700, 400), QPoint(950, 470), QPoint(810, 540), QPoint(1000, 650)})
                dragTo(f, cs(piece), p);
            checkInvariants();
        }
        QCOMPARE(QApplication::activeWindow(), windowOf(f));  // the door took a drop, not a click
        QCOMPARE(render(f), before);
        for (const QString& slot : Slots)
            QVERIFY(f.image(cs(slot)).picture().isEmpty());
    }

    void pietKeepsHisClothesUntilTheFormIsClosed()
    {
        Form& start = program->show("Start");
        click(start, "knopPiet");
        Form& f = program->form("Pietkleden");
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        drag(f, "ImageMutsGroen", "ImageMuts");
        drag(f, "ImageBloesBlauw", "ImageBloes");
        drag(f, "ImageBroekRood", "ImageBroek");
        const QImage dressed = render(f);
        const Picture cap = f.image("ImageMuts").picture();
        click(f, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
        QVERIFY(f.isLoaded());
        click(start, "knopPiet");
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        QVERIFY(f.image("ImageMuts").picture() == cap);
        QCOMPARE(render(f), dressed);
        // Closing the window undresses him: the next visit starts afresh.
        closeWindow(f);
        QVERIFY(!f.isLoaded());
        QVERIFY(start.isLoaded());
        click(start, "knopPiet");
        QVERIFY(f.isLoaded());
        for (const QString& slot : Slots)
            QVERIFY(f.image(cs(slot)).picture().isEmpty());
        QCOMPARE(f.image("ImageBloes").pixelRect().width(), 182);
    }

    void everyOutfitCoversTheWhiteClothes()
    {
        Form& f = program->show("Pietkleden");
        const QImage background = pictureImage(f.background());
        QCOMPARE(background.size(), QSize(987, 573));
        QList<QRect> places;
        for (const QString& slot : Slots)
            places << toQt(f.image(cs(slot)).pixelRect());
        const QList<QPoint> white = whiteClothes(background, places);
        QVERIFY(white.size() > 15000);  // cap, ruff, blouse with its sleeves and cuffs, trousers
        const QImage undressed = render(f);
        for (const QPoint& p : white)
            QCOMPARE(undressed.pixelColor(p), background.pixelColor(p));

        // No piece reaches beyond the figure where it is worn (one pixel of
        // its outline aside).
        const QImage figure = background.convertToFormat(QImage::Format_ARGB32);
        const auto onFigure = [&figure](QPoint p) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (figure.rect().contains(p + QPoint(dx, dy)) && qAlpha(figure.pixel(p + QPoint(dx, dy))) > 0)
                        return true;
            return false;
        };
        const QList<QStringList> categories{Caps, Blouses, Trousers};
        for (int k = 0; k < 3; ++k)
            for (const QString& piece : categories.at(k)) {
                const QImage pixels = pictureImage(f.image(cs(piece)).picture());
                const QPoint at = toQt(f.image(cs(Slots.at(k))).pixelRect().topLeft());
                for (int y = 0; y < pixels.height(); ++y)
                    for (int x = 0; x < pixels.width(); ++x)
                        if (qAlpha(pixels.pixel(x, y)) > 0 && !onFigure(at + QPoint(x, y)))
                            QFAIL(qPrintable(QStringLiteral("%1 reaches off Piet at %2,%3")
                                                 .arg(piece)
                                                 .arg(at.x() + x)
                                                 .arg(at.y() + y)));
            }

        // All 27 outfits: every white pixel of the figure is covered by a worn
        // piece, and the window shows that piece there.
        for (const QString& cap : Caps)
            for (const QString& blouse : Blouses)
                for (const QString& trousers : Trousers) {
                    const QStringList outfit{cap, blouse, trousers};
                    for (int k = 0; k < 3; ++k)
                        drag(f, cs(outfit.at(k)), cs(Slots.at(k)));
                    const QImage shown = render(f);
                    for (const QPoint& p : white) {
                        const std::optional<QColor> worn = wornAt(f, p);
                        QVERIFY2(
                            worn,
                            qPrintable(
                                QStringLiteral("%1 leaves %2,%3 white").arg(outfit.join(", ")).arg(p.x()).arg(p.y())));
                        QCOMPARE(shown.pixelColor(p), *worn);
                    }
                }
    }
};

QTEST_MAIN(PietkledenTest)
#include "pietkleden_test.moc"
