// Pictures at larger scales: the renderings built in beside every picture, the renderer's
// crop, silhouette and edges at a scale on small fixtures, and pictures of every kind drawn
// at factors 2, 2.5 and 3 against their own sources rendered directly at that size.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "assets/picture_catalog.h"
#include "desktop/picture_pixels.h"

namespace {

const QString kSourceDir = QStringLiteral(TUVREL_SOURCE_DIR);
const QString kRenderer = QStringLiteral(PICTURE_RENDERER);

QString fixtures()
{
    return kSourceDir + QStringLiteral("/tests/fixtures/pictures/manifest.txt");
}

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The manifest that holds the row, found by its first column.
QString manifestOf(const QString& name)
{
    const QDir assets(kSourceDir + QStringLiteral("/assets"));
    for (const QString& folder : assets.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(assets.filePath(folder + QStringLiteral("/manifest.txt")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.simplified().split(' ').value(0) == name.toUtf8())
                return file.fileName();
        }
    }
    return {};
}

// The renderer's picture of a row at a scale, as PNG; an error text on failure.
QImage renderAt(const QString& manifest, const QString& row, double scale, const QString& file, QString* error)
{
    QProcess process;
    process.start(kRenderer, {QStringLiteral("render"), manifest, row, file, QStringLiteral("--png"),
                              QStringLiteral("--scale"), QString::number(scale)});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        *error = QString::fromUtf8(process.readAllStandardError());
        return {};
    }
    return QImageReader(file).read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Mean absolute difference per colour channel, 0 to 255, of two images of one size seen
// on a grey ground, so that alpha counts as well as colour.
double meanDifference(const QImage& a, const QImage& b)
{
    auto onGrey = [](const QImage& image) {
        QImage ground(image.size(), QImage::Format_RGB32);
        ground.fill(QColor(128, 128, 128));
        QPainter(&ground).drawImage(0, 0, image);
        return ground;
    };
    const QImage x = onGrey(a), y = onGrey(b);
    double total = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            total += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col])) +
                     std::abs(qBlue(p[col]) - qBlue(q[col]));
        }
    }
    return total / (3.0 * x.width() * x.height());
}

QRgb straight(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).rgba();
}

}  // namespace

class PictureScaleTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void builtRendering_data();
    void builtRendering();

    void quartersTileTheirSource_data();
    void quartersTileTheirSource();
    void packageIsItsPresentsSilhouette_data();
    void packageIsItsPresentsSilhouette();
    void smoothEdgeKeepsItsColour();

    void sharpAtEveryFactor_data();
    void sharpAtEveryFactor();
    void ownSizeIsTheOwnPixels();
    void whileTheScaleChanges();

private:
    QImage fixture(const QString& row, double scale)
    {
        QString error;
        const QImage image = renderAt(fixtures(), row, scale,
                                      dir_.filePath(QStringLiteral("%1@%2.png").arg(row).arg(scale)), &error);
        if (image.isNull())
            qWarning("%s", qPrintable(error));
        return image;
    }

    QTemporaryDir dir_;
};

void PictureScaleTest::builtRendering_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("scale");
    for (const tuvrel::PictureAsset& asset : tuvrel::pictureCatalog()) {
        for (int scale : tuvrel::pictureScales()) {
            QTest::addRow("%s at %dx", asset.name.data(), scale) << text(asset.name) << scale;
        }
    }
}

// Beside every picture, each larger rendering: its format, k times the picture's size, smooth
// edges where the picture is transparent and none where it is opaque.
void PictureScaleTest::builtRendering()
{
    QFETCH(QString, name);
    QFETCH(int, scale);
    const tuvrel::PictureAsset* asset = tuvrel::findPictureAsset(name.toStdString());
    QVERIFY(asset);
    QImageReader reader(tuvrel::pictureResourcePath(asset->name, scale));
    QCOMPARE(reader.format(), asset->format == tuvrel::PictureFormat::Jpeg ? QByteArray("jpeg") : QByteArray("png"));
    const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(image.size(), QSize(asset->width, asset->height) * scale);

    int clear = 0, partial = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            clear += qAlpha(line[x]) == 0;
            partial += qAlpha(line[x]) != 0 && qAlpha(line[x]) != 255;
        }
    }
    if (asset->transparent) {
        QVERIFY2(clear > 0, "a transparent picture without a transparent pixel");
        // (The empty token draws nothing at all.)
        QVERIFY2(partial > 0 || clear == image.width() * image.height(), "a transparent picture without a smooth edge");
    } else {
        QCOMPARE(clear + partial, 0);
    }
}

void PictureScaleTest::quartersTileTheirSource_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("2") << 2.0;
    QTest::newRow("3") << 3.0;
    QTest::newRow("2.3") << 2.3;
    QTest::newRow("1.55") << 1.55;
}

// Each quarter of the 40 x 40 fixture is one flat colour: cut a pixel off, it would take in
// its neighbour's; and side by side the quarters are exactly the source at that scale.
void PictureScaleTest::quartersTileTheirSource()
{
    QFETCH(double, scale);
    const struct {
        const char* row;
        QRgb colour;
    } quarters[] = {{"fx_quarter_tl", qRgb(0xc0, 0x00, 0x00)},
                    {"fx_quarter_tr", qRgb(0x1e, 0x8c, 0x3a)},
                    {"fx_quarter_bl", qRgb(0x1e, 0x5a, 0xb4)},
                    {"fx_quarter_br", qRgb(0xe8, 0xb2, 0x1e)}};
    QList<QSize> sizes;
    for (const auto& quarter : quarters) {
        const QImage image = fixture(QLatin1String(quarter.row), scale);
        QVERIFY(!image.isNull());
        sizes << image.size();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (straight(image, x, y) != quarter.colour) {
                    QFAIL(qPrintable(QStringLiteral("%1 (%2, %3) is %4")
                                         .arg(QLatin1String(quarter.row))
                                         .arg(x)
                                         .arg(y)
                                         .arg(QColor(straight(image, x, y)).name())));
                }
            }
        }
    }
    const int whole = int(std::lround(40 * scale));
    QCOMPARE(sizes[0].width() + sizes[1].width(), whole);
    QCOMPARE(sizes[0].height() + sizes[2].height(), whole);
    QCOMPARE(sizes[0].width(), sizes[2].width());
    QCOMPARE(sizes[1].height(), sizes[0].height());
}

void PictureScaleTest::packageIsItsPresentsSilhouette_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("2") << 2.0;
    QTest::newRow("3") << 3.0;
}

// The striped package of the disc at a scale has exactly the disc's alpha there, pixel for
// pixel; inside, the paper's stripes at that scale; along the outline the edge colour, as
// wide as the scale makes two pixels.
void PictureScaleTest::packageIsItsPresentsSilhouette()
{
    QFETCH(double, scale);
    const QImage disc = fixture(QStringLiteral("fx_disc"), scale);
    const QImage package = fixture(QStringLiteral("fx_package"), scale);
    QVERIFY(!disc.isNull() && !package.isNull());
    QCOMPARE(package.size(), disc.size());
    QCOMPARE(package.size(), QSize(40, 40) * scale);
    const QRgb green = qRgb(0x1e, 0x8c, 0x3a), white = qRgb(0xff, 0xff, 0xff), edge = qRgb(0x3a, 0x2a, 0x1e);
    for (int y = 0; y < package.height(); ++y) {
        for (int x = 0; x < package.width(); ++x) {
            const QString where = QStringLiteral("pixel (%1, %2)").arg(x).arg(y);
            const QRgb pixel = straight(package, x, y);
            QVERIFY2(qAlpha(pixel) == qAlpha(straight(disc, x, y)), qPrintable(where + QStringLiteral(": alpha")));
            const double d = std::hypot(x + 0.5 - 20 * scale, y + 0.5 - 20 * scale) / scale;  // in 1:1 pixels
            const QRgb paper = (int(x / scale) % 8 < 4) ? green : white;
            if (d <= 15.0 && std::fmod(x / scale, 4.0) > 0.5 && std::fmod(x / scale, 4.0) < 3.5) {
                QVERIFY2((pixel | 0xff000000u) == paper, qPrintable(where + QStringLiteral(": paper")));
            } else if (d >= 16.6 && d <= 17.5) {
                QVERIFY2((pixel | 0xff000000u) == edge, qPrintable(where + QStringLiteral(": edge")));
            }
        }
    }
}

// At a scale the disc's outline is smooth, and its half-covered pixels keep the outline's own
// red rather than one darkened by their coverage.
void PictureScaleTest::smoothEdgeKeepsItsColour()
{
    const QImage disc = fixture(QStringLiteral("fx_disc"), 3.0);
    QVERIFY(!disc.isNull());
    int smooth = 0;
    for (int y = 0; y < disc.height(); ++y) {
        for (int x = 0; x < disc.width(); ++x) {
            const QRgb pixel = straight(disc, x, y);
            if (qAlpha(pixel) == 0 || qAlpha(pixel) == 255)
                continue;
            ++smooth;
            QVERIFY2(
                qRed(pixel) >= 170 && qGreen(pixel) <= 60 && qBlue(pixel) <= 60,
                qPrintable(
                    QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(QColor::fromRgba(pixel).name(QColor::HexArgb))));
        }
    }
    QVERIFY(smooth > 100);
}

void PictureScaleTest::sharpAtEveryFactor_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("factor");
    const char* kinds[][2] = {{"opaque", "tellen_een_cadeau"}, {"transparent", "vormen_eendje"},
                              {"puzzle quarter", "puzzel1_2"}, {"package", "vormen_pakje_beer"},
                              {"jpeg", "start_tellen"},        {"icon", "smiley_icon"}};
    for (const auto& kind : kinds) {
        for (double factor : {2.0, 2.5, 3.0})
            QTest::addRow("%s at %g", kind[0], factor) << kind[1] << factor;
    }
}

// A picture drawn for a target of `factor` times its size is close to its own source
// rendered directly at that size, and far closer than its 1:1 pixels enlarged. At a built-in
// scale it is that rendering (JPEG's own loss aside). Between two, it is the larger one drawn
// down, which differs from a rendering made at that size along every edge and in every fine
// pattern however it is filtered (area, bilinear and exact box filters all come out within
// 0.1 of each other), so there the bound is looser.
void PictureScaleTest::sharpAtEveryFactor()
{
    QFETCH(QString, name);
    QFETCH(double, factor);
    const QString manifest = manifestOf(name);
    QVERIFY2(!manifest.isEmpty(), qPrintable(name));
    QString error;
    const QImage reference = renderAt(manifest, name, factor, dir_.filePath(name + QStringLiteral(".png")), &error);
    QVERIFY2(!reference.isNull(), qPrintable(error));

    const tuvrel::Picture picture = tuvrel::Picture::load(name.toStdString());
    const QImage drawn = picturePixelsFor(picture, reference.size());
    QCOMPARE(drawn.size(), reference.size());
    const QImage enlarged = pictureImage(picture).scaled(reference.size(), Qt::IgnoreAspectRatio,
                                                         Qt::FastTransformation);

    const double sharp = meanDifference(drawn, reference);
    const double blocky = meanDifference(enlarged, reference);
    qInfo("%s at %g: %.2f against the source, %.2f enlarged", qPrintable(name), factor, sharp, blocky);
    const bool builtIn = factor == std::floor(factor);
    QVERIFY2(sharp <= (builtIn ? 1.0 : 2.5), qPrintable(QStringLiteral("%1 off on average").arg(sharp)));
    QVERIFY2(sharp * (builtIn ? 4 : 2) <= blocky,
             qPrintable(QStringLiteral("%1 off, enlarged %2").arg(sharp).arg(blocky)));
}

// At its own size a picture is exactly its own pixels, the very image it was decoded to.
void PictureScaleTest::ownSizeIsTheOwnPixels()
{
    const tuvrel::Picture picture = tuvrel::Picture::load("vormen_eendje");
    QCOMPARE(picturePixelsFor(picture, toQt(picture.size())).cacheKey(), pictureImage(picture).cacheKey());
    QVERIFY(picturePixelsFor(picture, QSize()).isNull());
    QVERIFY(picturePixelsFor(tuvrel::Picture(), QSize(10, 10)).isNull());
    // Two picture objects of one asset share what is drawn for them.
    const tuvrel::Picture other = tuvrel::Picture::load("vormen_eendje");
    QVERIFY(!(other == picture));
    QCOMPARE(picturePixelsFor(other, toQt(picture.size()) * 2).cacheKey(),
             picturePixelsFor(picture, toQt(picture.size()) * 2).cacheKey());
}

// While a window's scale changes, a picture gives only what it keeps for a size already,
// and else the decoded rendering nearest above the size; nothing is decoded or drawn for
// either. (An asset that no other case here draws.)
void PictureScaleTest::whileTheScaleChanges()
{
    const tuvrel::Picture picture = tuvrel::Picture::load("zak1_1_boek");
    const QSize own = toQt(picture.size()), twice = own * 2, between = own * 3 / 2, thrice = own * 3;
    QVERIFY(picturePixelsAtHandFor(picture, twice).isNull());
    QVERIFY(keptPicturePixelsFor(picture, own).isNull());

    QCOMPARE(pictureImage(picture).size(), own);
    QCOMPARE(keptPicturePixelsFor(picture, own).cacheKey(), pictureImage(picture).cacheKey());
    QCOMPARE(picturePixelsAtHandFor(picture, twice).cacheKey(),
             pictureImage(picture).cacheKey());  // the largest at hand
    QVERIFY(keptPicturePixelsFor(picture, twice).isNull());

    const QImage rendering = picturePixelsFor(picture, twice);
    QCOMPARE(rendering.size(), twice);
    QCOMPARE(keptPicturePixelsFor(picture, twice).cacheKey(), rendering.cacheKey());
    QCOMPARE(picturePixelsAtHandFor(picture, between).cacheKey(), rendering.cacheKey());  // the nearest above
    QCOMPARE(picturePixelsAtHandFor(picture, thrice).cacheKey(), rendering.cacheKey());   // none above: the largest
    QVERIFY(keptPicturePixelsFor(picture, thrice).isNull());
    QVERIFY(keptPicturePixelsFor(picture, between).isNull());  // no copy made for it yet
    const QImage copy = picturePixelsFor(picture, between);
    QCOMPARE(copy.size(), between);
    QCOMPARE(keptPicturePixelsFor(picture, between).cacheKey(), copy.cacheKey());
}

QTEST_MAIN(PictureScaleTest)
#include "picture_scale_test.moc"
