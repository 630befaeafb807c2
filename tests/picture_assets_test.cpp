// The pictures built into the program, and the renderer that makes them: every catalog row
// decodes at its size and in its format, the catalog is what the manifests say, and the
// renderer's crop, paper, ground and palette work on small fixtures whose result is known.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cmath>

#include "assets/picture_catalog.h"
#include "desktop/picture_pixels.h"

namespace {

const QString kSourceDir = QStringLiteral(TUVREL_SOURCE_DIR);
const QString kRenderer = QStringLiteral(PICTURE_RENDERER);

QString fixtureDir()
{
    return kSourceDir + QStringLiteral("/tests/fixtures/pictures");
}

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A manifest row, read independently of the renderer.
struct Row {
    QString manifest;
    int line = 0;
    QString name, format;
    QList<QSize> sizes;
    bool transparent = false;
    QString description;

    QSize largest() const
    {
        QSize best;
        for (QSize s : sizes) {
            if (s.width() * s.height() > best.width() * best.height())
                best = s;
        }
        return best;
    }
    QString extension() const
    {
        return format == QLatin1String("jpeg")           ? QStringLiteral("jpg")
               : format.startsWith(QLatin1String("ico")) ? QStringLiteral("ico")
                                                         : format;
    }
};

QList<Row> readManifest(const QString& path)
{
    QList<Row> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression column(QStringLiteral("\\S+"));
    for (int i = 0; i < lines.size(); ++i) {
        QStringList columns;
        QString description;
        for (const QRegularExpressionMatch& m : column.globalMatch(lines[i])) {
            if (m.captured().startsWith(QLatin1Char('#'))) {
                description = lines[i].mid(m.capturedStart() + 1).trimmed();
                break;
            }
            columns << m.captured();
        }
        if (columns.size() < 5)
            continue;
        Row row{path, i + 1, columns[0], columns[1], {}, columns[3] == QLatin1String("transparent"), description};
        for (const QString& size : columns[2].split(QLatin1Char(','))) {
            const QStringList wh = size.split(QLatin1Char('x'));
            row.sizes << QSize(wh.value(0).toInt(), wh.value(1).toInt());
        }
        rows << row;
    }
    return rows;
}

QList<Row> readAssetManifests()
{
    QList<Row> rows;
    const QDir assets(kSourceDir + QStringLiteral("/assets"));
    for (const QString& folder : assets.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString manifest = assets.filePath(folder + QStringLiteral("/manifest.txt"));
        if (QFile::exists(manifest))
            rows << readManifest(manifest);
    }
    return rows;
}

struct IconEntry {
    QSize size;
    int colourCount = 0;
    int bitCount = 0;        // in the directory
    int headerBitCount = 0;  // in the image's BITMAPINFOHEADER
    bool headerMatches = false;
};

QList<IconEntry> iconEntries(const QByteArray& bytes)
{
    QList<IconEntry> entries;
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const int count = qFromLittleEndian<quint16>(data + 4);
    for (qsizetype i = 0; i < count && 6 + 16 * (i + 1) <= bytes.size(); ++i) {
        const uchar* e = data + 6 + 16 * i;
        IconEntry entry;
        entry.size = QSize(e[0] ? e[0] : 256, e[1] ? e[1] : 256);
        entry.colourCount = e[2];
        entry.bitCount = qFromLittleEndian<quint16>(e + 6);
        const quint32 length = qFromLittleEndian<quint32>(e + 8);
        const quint32 offset = qFromLittleEndian<quint32>(e + 12);
        if (offset + qMax<quint32>(length, 40) <= quint32(bytes.size())) {
            const uchar* header = data + offset;
            entry.headerBitCount = qFromLittleEndian<quint16>(header + 14);
            entry.headerMatches = qFromLittleEndian<quint32>(header) == 40 &&
                                  qFromLittleEndian<qint32>(header + 4) == entry.size.width() &&
                                  qFromLittleEndian<qint32>(header + 8) == 2 * entry.size.height();
        }
        entries << entry;
    }
    return entries;
}

// The encoded picture is what its row says: signature, format, every size, transparency.
void checkPicture(const QByteArray& bytes, const Row& row)
{
    const bool icon = row.format.startsWith(QLatin1String("ico"));
    QByteArray expectedFormat = icon ? "ico" : row.format.toLatin1();
    if (row.format == QLatin1String("gif")) {
        QVERIFY2(bytes.startsWith("GIF89a"), "not a GIF89a file");
    } else if (row.format == QLatin1String("jpeg")) {
        QVERIFY2(bytes.startsWith("\xFF\xD8\xFF"), "no JPEG start-of-image marker");
    } else {
        QVERIFY2(bytes.startsWith(QByteArray("\0\0\1\0", 4)), "no icon header");
        const QList<IconEntry> entries = iconEntries(bytes);
        QCOMPARE(entries.size(), row.sizes.size());
        for (const IconEntry& entry : entries) {
            QVERIFY2(row.sizes.contains(entry.size), "an icon image of a size the row does not list");
            QVERIFY2(entry.headerMatches, "icon image header does not match its directory entry");
            // A transparent full-colour icon keeps its colour in 24 bits and adds an alpha byte.
            const int bits = row.format == QLatin1String("ico16") ? 4 : row.transparent ? 32 : 24;
            QCOMPARE(entry.bitCount, bits);
            QCOMPARE(entry.headerBitCount, bits);
            QCOMPARE(entry.colourCount, bits == 4 ? 16 : 0);
        }
    }

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QCOMPARE(reader.format(), expectedFormat);
    const int count = icon ? reader.imageCount() : 1;
    QCOMPARE(count, int(row.sizes.size()));
    QList<QSize> decodedSizes;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        decodedSizes << image.size();
        int clear = 0, partial = 0;
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const int a = qAlpha(line[x]);
                clear += a == 0;
                partial += a != 0 && a != 255;
            }
        }
        QCOMPARE(partial, 0);
        if (row.transparent) {
            QVERIFY2(clear > 0, "a transparent picture without a transparent pixel");
        } else {
            QCOMPARE(clear, 0);
        }
    }
    std::sort(decodedSizes.begin(), decodedSizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QList<QSize> listed = row.sizes;
    std::sort(listed.begin(), listed.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    QCOMPARE(decodedSizes, listed);
}

struct Run {
    int exitCode = -1;
    QString errors;
};

Run runRenderer(const QStringList& arguments)
{
    QProcess process;
    process.start(kRenderer, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QImage readImage(const QString& path)
{
    return QImageReader(path).read().convertToFormat(QImage::Format_ARGB32);
}

// Distance of a pixel's centre from the middle of the 40 x 40 disc fixture.
double fromCentre(int x, int y)
{
    return std::hypot(x + 0.5 - 20, y + 0.5 - 20);
}

}  // namespace

class PictureAssetsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void builtPicture_data();
    void builtPicture();
    void catalogMatchesManifests();

    void fixturePicture_data();
    void fixturePicture();
    void cropCutsItsQuarter_data();
    void cropCutsItsQuarter();
    void paperFillsTheSilhouette_data();
    void paperFillsTheSilhouette();
    void transparentEdgeKeepsItsColour();
    void paletteKeepsFlatAreasAndGradients();
    void jpegKeepsItsColours();

    void renderErrorNamesTheRow_data();
    void renderErrorNamesTheRow();
    void nameUsedInTwoManifestsFails();
    void includeFromAnotherFolder_data();
    void includeFromAnotherFolder();

private:
    QTemporaryDir rendered_;
    QList<Row> fixtures_;
};

void PictureAssetsTest::initTestCase()
{
    QVERIFY(rendered_.isValid());
    fixtures_ = readManifest(fixtureDir() + QStringLiteral("/manifest.txt"));
    QVERIFY(!fixtures_.isEmpty());
    const Run run = runRenderer(
        {QStringLiteral("render-all"), fixtureDir() + QStringLiteral("/manifest.txt"), rendered_.path()});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
}

void PictureAssetsTest::builtPicture_data()
{
    QTest::addColumn<QString>("name");
    for (const tuvrel::PictureAsset& asset : tuvrel::pictureCatalog()) {
        QTest::newRow(asset.name.data()) << text(asset.name);
    }
    if (tuvrel::pictureCatalog().empty())
        QTest::newRow("no pictures yet") << QString();
}

void PictureAssetsTest::builtPicture()
{
    QFETCH(QString, name);
    if (name.isEmpty())
        QSKIP("no manifest rows yet");
    const tuvrel::PictureAsset* asset = tuvrel::findPictureAsset(name.toStdString());
    QVERIFY(asset);
    QCOMPARE(text(asset->name), name);

    // The sizes of an icon's images are in its manifest row; the catalog keeps the largest.
    Row row{QString(),
            0,
            name,
            asset->format == tuvrel::PictureFormat::Gif    ? QStringLiteral("gif")
            : asset->format == tuvrel::PictureFormat::Jpeg ? QStringLiteral("jpeg")
                                                           : QStringLiteral("ico24"),
            {QSize(asset->width, asset->height)},
            asset->transparent,
            text(asset->description)};
    for (const Row& listed : readAssetManifests()) {
        if (listed.name == name && asset->format == tuvrel::PictureFormat::Icon) {
            row.format = listed.format;
            row.sizes = listed.sizes;
        }
    }

    QFile file(tuvrel::pictureResourcePath(asset->name));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    checkPicture(file.readAll(), row);
}

void PictureAssetsTest::catalogMatchesManifests()
{
    QVERIFY(tuvrel::findPictureAsset("no_such_picture") == nullptr);

    QMap<QString, Row> listed;
    QStringList duplicates;
    for (const Row& row : readAssetManifests()) {
        if (listed.contains(row.name)) {
            duplicates << QStringLiteral("%1 (%2:%3 and %4:%5)")
                              .arg(row.name, listed[row.name].manifest)
                              .arg(listed[row.name].line)
                              .arg(row.manifest)
                              .arg(row.line);
        }
        listed.insert(row.name, row);
    }
    QVERIFY2(duplicates.isEmpty(), qPrintable(duplicates.join(QStringLiteral("; "))));

    QStringList catalogued;
    for (const tuvrel::PictureAsset& asset : tuvrel::pictureCatalog()) {
        const QString name = text(asset.name);
        catalogued << name;
        QVERIFY2(listed.contains(name), qPrintable(name + QStringLiteral(" is in the catalog but in no manifest")));
        const Row& row = listed[name];
        const QString format = asset.format == tuvrel::PictureFormat::Gif    ? QStringLiteral("gif")
                               : asset.format == tuvrel::PictureFormat::Jpeg ? QStringLiteral("jpeg")
                                                                             : QStringLiteral("ico");
        QVERIFY2(row.format.startsWith(format), qPrintable(name));
        QCOMPARE(QSize(asset.width, asset.height), row.largest());
        QCOMPARE(asset.transparent, row.transparent);
        QCOMPARE(text(asset.description), row.description);
    }
    for (const QString& name : listed.keys()) {
        QVERIFY2(catalogued.contains(name),
                 qPrintable(name + QStringLiteral(" is in a manifest but not in the catalog")));
    }
}

void PictureAssetsTest::fixturePicture_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < fixtures_.size(); ++i)
        QTest::newRow(qPrintable(fixtures_[i].name)) << i;
}

void PictureAssetsTest::fixturePicture()
{
    QFETCH(int, index);
    const Row& row = fixtures_[index];
    QFile file(rendered_.filePath(row.name + QLatin1Char('.') + row.extension()));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    checkPicture(file.readAll(), row);
}

void PictureAssetsTest::cropCutsItsQuarter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("top left") << "fx_quarter_tl" << QColor(0xc0, 0x00, 0x00);
    QTest::newRow("top right") << "fx_quarter_tr" << QColor(0x1e, 0x8c, 0x3a);
    QTest::newRow("bottom left") << "fx_quarter_bl" << QColor(0x1e, 0x5a, 0xb4);
    QTest::newRow("bottom right") << "fx_quarter_br" << QColor(0xe8, 0xb2, 0x1e);
}

// Each quarter is one flat colour; a cut a pixel off would take in its neighbour's.
void PictureAssetsTest::cropCutsItsQuarter()
{
    QFETCH(QString, name);
    QFETCH(QColor, colour);
    const QImage image = readImage(rendered_.filePath(name + QStringLiteral(".gif")));
    QCOMPARE(image.size(), QSize(20, 20));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            if (image.pixel(x, y) != colour.rgb()) {
                QFAIL(qPrintable(
                    QStringLiteral("pixel (%1, %2) is %3").arg(x).arg(y).arg(QColor(image.pixel(x, y)).name())));
            }
        }
    }
}

void PictureAssetsTest::paperFillsTheSilhouette_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("edged");
    QTest::newRow("with edge") << "fx_package" << true;
    QTest::newRow("without edge") << "fx_package_plain" << false;
}

// The disc (outer radius 18) filled with 4-pixel stripes of green and white; with edge=,
// a band of about two pixels inside the outline is the edge colour.
void PictureAssetsTest::paperFillsTheSilhouette()
{
    QFETCH(QString, name);
    QFETCH(bool, edged);
    const QImage image = readImage(rendered_.filePath(name + QStringLiteral(".gif")));
    QCOMPARE(image.size(), QSize(40, 40));
    const QRgb green = qRgb(0x1e, 0x8c, 0x3a), white = qRgb(0xff, 0xff, 0xff), edge = qRgb(0x3a, 0x2a, 0x1e);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const double d = fromCentre(x, y);
            const QRgb pixel = image.pixel(x, y);
            const QRgb paper = (x % 8 < 4) ? green : white;
            const QString where =
                QStringLiteral("pixel (%1, %2): %3").arg(x).arg(y).arg(QColor::fromRgba(pixel).name(QColor::HexArgb));
            if (d >= 18.6) {
                QVERIFY2(qAlpha(pixel) == 0, qPrintable(where));
            } else if (d <= 15.0 || (!edged && d <= 17.5)) {
                QVERIFY2(pixel == paper, qPrintable(where));
            } else if (edged && d >= 16.6 && d <= 17.5) {
                QVERIFY2(pixel == edge, qPrintable(where));
            }
        }
    }
}

// Pixels kept at the 50 % cut take their own colour, not one darkened by their coverage.
void PictureAssetsTest::transparentEdgeKeepsItsColour()
{
    const QImage disc = readImage(rendered_.filePath(QStringLiteral("fx_disc.gif")));
    int ring = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const QRgb pixel = disc.pixel(x, y);
            if (qAlpha(pixel) == 0 || fromCentre(x, y) < 17.5)
                continue;
            ++ring;
            QVERIFY2(qRed(pixel) >= 170 && qGreen(pixel) <= 50 && qBlue(pixel) <= 50,
                     qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(QColor(pixel).name())));
        }
    }
    QVERIFY(ring > 20);

    const QImage onWhite = readImage(rendered_.filePath(QStringLiteral("fx_disc_on_white.ico")));
    QCOMPARE(onWhite.pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(onWhite.pixel(47, 47), qRgb(255, 255, 255));
}

// Against the same row before palette reduction: flat areas exact, the gradient close.
void PictureAssetsTest::paletteKeepsFlatAreasAndGradients()
{
    const QString reference = rendered_.filePath(QStringLiteral("fx_bands.png"));
    const Run run = runRenderer({QStringLiteral("render"), fixtureDir() + QStringLiteral("/manifest.txt"),
                                 QStringLiteral("fx_bands"), reference, QStringLiteral("--png")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    const QImage truth = readImage(reference);
    const QImage gif = readImage(rendered_.filePath(QStringLiteral("fx_bands.gif")));
    QCOMPARE(gif.size(), QSize(128, 96));
    QCOMPARE(truth.size(), gif.size());

    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 128; ++x) {
            if (gif.pixel(x, y) != truth.pixel(x, y)) {
                QFAIL(qPrintable(QStringLiteral("flat band pixel (%1, %2) changed").arg(x).arg(y)));
            }
        }
    }
    // Per pixel, dithering may stray a little; averaged over 4 x 4 pixels, as the eye sees
    // it, the gradient has to stay on course (no bands).
    int worst = 0;
    double blockTotal = 0, blockWorst = 0;
    for (int by = 48; by < 96; by += 4) {
        for (int bx = 0; bx < 128; bx += 4) {
            int sum[3] = {0, 0, 0};
            for (int y = by; y < by + 4; ++y) {
                for (int x = bx; x < bx + 4; ++x) {
                    const QRgb a = gif.pixel(x, y), b = truth.pixel(x, y);
                    const int d[3] = {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)};
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += d[c];
                        worst = qMax(worst, qAbs(d[c]));
                    }
                }
            }
            const double block = qMax(qAbs(sum[0]), qMax(qAbs(sum[1]), qAbs(sum[2]))) / 16.0;
            blockTotal += block;
            blockWorst = qMax(blockWorst, block);
        }
    }
    const double blockMean = blockTotal / (32 * 12);
    QVERIFY2(worst <= 16, qPrintable(QStringLiteral("a pixel off by %1").arg(worst)));
    QVERIFY2(blockMean <= 1.2, qPrintable(QStringLiteral("4 x 4 blocks off by %1 on average").arg(blockMean)));
    QVERIFY2(blockWorst <= 6, qPrintable(QStringLiteral("a 4 x 4 block off by %1").arg(blockWorst)));
}

void PictureAssetsTest::jpegKeepsItsColours()
{
    const QImage jpeg = readImage(rendered_.filePath(QStringLiteral("fx_bands_jpeg.jpg")));
    QCOMPARE(jpeg.size(), QSize(80, 60));
    const struct {
        QPoint at;
        QRgb colour;
    } bands[] = {
        {{12, 14}, qRgb(0xc0, 0x00, 0x00)}, {{40, 14}, qRgb(0xff, 0xff, 0xff)}, {{67, 14}, qRgb(0xe8, 0xb2, 0x1e)}};
    for (const auto& band : bands) {
        const QRgb got = jpeg.pixel(band.at);
        QVERIFY2(qAbs(qRed(got) - qRed(band.colour)) <= 6 && qAbs(qGreen(got) - qGreen(band.colour)) <= 6 &&
                     qAbs(qBlue(got) - qBlue(band.colour)) <= 6,
                 qPrintable(QColor(got).name()));
    }
}

void PictureAssetsTest::renderErrorNamesTheRow_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<bool>("rowFault");  // found by reading the manifest alone, before any file is opened
    QTest::newRow("missing source") << "gif 40x40 transparent nowhere.svg"
                                    << "source nowhere.svg not found" << false;
    QTest::newRow("source that does not parse") << "gif 40x40 transparent broken.svg"
                                                << "source broken.svg does not parse" << false;
    QTest::newRow("source of another shape") << "gif 60x40 transparent disc.svg"
                                             << "does not have the shape of 60x40" << false;
    QTest::newRow("missing paper") << "gif 40x40 transparent disc.svg paper=none.svg"
                                   << "paper none.svg not found" << false;
    QTest::newRow("malformed size") << "gif 40by40 transparent disc.svg"
                                    << "size '40by40' is not WxH" << true;
    QTest::newRow("too few columns") << "gif 40x40 transparent"
                                     << "expected the columns" << true;
    QTest::newRow("unknown format") << "png 40x40 transparent disc.svg"
                                    << "unknown format 'png'" << true;
    QTest::newRow("unknown ground") << "gif 40x40 clear disc.svg"
                                    << "ground 'clear'" << true;
    QTest::newRow("unknown option") << "gif 40x40 transparent disc.svg shade=soft"
                                    << "unknown option 'shade=soft'" << true;
    QTest::newRow("two sizes for a gif") << "gif 40x40,20x20 transparent disc.svg"
                                         << "a gif has one size" << true;
    QTest::newRow("transparent jpeg") << "jpeg 40x40 transparent disc.svg"
                                      << "a jpeg cannot have a transparent ground" << true;
    QTest::newRow("crop outside its render") << "gif 20x20 opaque quarters.svg crop=40x40+30+0"
                                             << "reaches outside the 40x40 render" << true;
    QTest::newRow("malformed crop") << "gif 20x20 opaque quarters.svg crop=40x40"
                                    << "crop '40x40' is not WxH+X+Y" << true;
    QTest::newRow("edge without paper") << "gif 40x40 transparent disc.svg edge=#3a2a1e"
                                        << "edge= needs paper=" << true;
}

// One line naming the manifest, the line and the row, a failing exit, and no picture left
// behind (a stale one would pass for built).
void PictureAssetsTest::renderErrorNamesTheRow()
{
    QFETCH(QString, columns);
    QFETCH(QString, problem);
    QFETCH(bool, rowFault);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char* svg : {"disc.svg", "quarters.svg", "stripes.svg"}) {
        QVERIFY(QFile::copy(fixtureDir() + QLatin1Char('/') + QLatin1String(svg), dir.filePath(QLatin1String(svg))));
    }
    QFile broken(dir.filePath(QStringLiteral("broken.svg")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 40 40"><circle r="4"</svg>)");
    broken.close();

    const QString manifest = dir.filePath(QStringLiteral("manifest.txt"));
    QFile file(manifest);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# name  format  size  ground  source  options\n"
               "good    gif     40x40 transparent disc.svg  # a good row before the bad one\n"
               "\n");
    file.write(("bad " + columns + "  # the row under test\n").toUtf8());
    file.close();

    const QString output = dir.filePath(QStringLiteral("bad.gif"));
    QFile stale(output);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("an earlier picture");
    stale.close();

    const QString expected = manifest + QStringLiteral(":4: bad: ");
    const Run render = runRenderer({QStringLiteral("render"), manifest, QStringLiteral("bad"), output});
    QCOMPARE(render.exitCode, 1);
    const QString message = render.errors.trimmed();
    QVERIFY2(!message.contains(QLatin1Char('\n')), qPrintable(message));
    QVERIFY2(message.startsWith(expected) && message.contains(problem), qPrintable(message));
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("bad.gif*")}, QDir::Files), QStringList());

    // The catalog reads every row, so the build stops at a malformed one even before rendering it.
    const Run catalog = runRenderer({QStringLiteral("catalog"), dir.filePath(QStringLiteral("table.inc")), manifest});
    if (rowFault) {
        QCOMPARE(catalog.exitCode, 1);
        QCOMPARE(catalog.errors.trimmed(), message);
    } else {
        QVERIFY2(catalog.exitCode == 0, qPrintable(catalog.errors));
    }
}

void PictureAssetsTest::nameUsedInTwoManifestsFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("one")) && QDir(dir.path()).mkpath(QStringLiteral("two")));
    const QString one = dir.filePath(QStringLiteral("one/manifest.txt")),
                  two = dir.filePath(QStringLiteral("two/manifest.txt"));
    for (const QString& path : {one, two}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(path == one ? "door gif 43x44 transparent door.svg\n"
                               : "# doors\n\ndoor gif 43x44 transparent deur.svg\n");
    }
    const Run run = runRenderer({QStringLiteral("catalog"), dir.filePath(QStringLiteral("table.inc")), one, two});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.trimmed().startsWith(two + QStringLiteral(":3: door: ")) &&
                 run.errors.contains(one + QStringLiteral(":1")),
             qPrintable(run.errors));
}

void PictureAssetsTest::includeFromAnotherFolder_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("problem");  // empty: the included disc is drawn
    QTest::newRow("a shared drawing") << "../shared/part.svg" << QString();
    QTest::newRow("a drawing in its own folder") << "part.svg" << QString();
    QTest::newRow("a missing drawing") << "../shared/none.svg"
                                       << "includes ../shared/none.svg, which is not found";
    QTest::newRow("a drawing outside the picture folders") << "../../part.svg"
                                                           << "includes ../../part.svg, which lies outside";
    QTest::newRow("a drawing that includes another")
        << "../shared/nested.svg"
        << "includes ../shared/nested.svg, which includes another file itself";
    QTest::newRow("a drawing that shows an include in a comment") << "../shared/quoting.svg" << QString();
}

// A picture reuses a drawing kept in a sibling folder, which librsvg alone would not load.
void PictureAssetsTest::includeFromAnotherFolder()
{
    QFETCH(QString, href);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDir root(dir.path());
    QVERIFY(root.mkpath(QStringLiteral("pictures/game")) && root.mkpath(QStringLiteral("pictures/shared")));
    const QByteArray part = "<?xml version=\"1.0\"?>\n<!-- a part to reuse -->\n"
                            "<svg xmlns=\"http://www.w3.org/2000/svg\"><defs><circle id=\"part\" cx=\"20\" cy=\"20\" "
                            "r=\"12\"/></defs></svg>\n";
    const QByteArray quoting = "<!-- included with <xi:include href=\"../shared/quoting.svg\"/> -->\n"
                               "<svg xmlns=\"http://www.w3.org/2000/svg\"><!-- not <svg> itself -->"
                               "<defs><circle id=\"part\" cx=\"20\" cy=\"20\" r=\"12\"/></defs></svg>\n";
    const QByteArray nested = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xi=\"http://www.w3.org/2001/XInclude\">"
                              "<xi:include href=\"part.svg\"/></svg>\n";
    const QByteArray picture =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xi=\"http://www.w3.org/2001/XInclude\" viewBox=\"0 0 40 40\">"
        "<defs><xi:include href=\"" +
        href.toUtf8() +
        "\"/></defs>"
        "<rect width=\"40\" height=\"40\" fill=\"#ffffff\"/><use href=\"#part\" fill=\"#c00000\"/></svg>\n";
    const struct {
        const char* path;
        QByteArray content;
    } files[] = {{"part.svg", part},
                 {"pictures/shared/part.svg", part},
                 {"pictures/game/part.svg", part},
                 {"pictures/shared/nested.svg", nested},
                 {"pictures/shared/quoting.svg", quoting},
                 {"pictures/game/picture.svg", picture},
                 {"pictures/game/manifest.txt", "picture gif 40x40 opaque picture.svg\n"}};
    for (const auto& f : files) {
        QFile file(root.filePath(QLatin1String(f.path)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(f.content);
    }

    const QString output = root.filePath(QStringLiteral("picture.gif"));
    const Run run = runRenderer({QStringLiteral("render"), root.filePath(QStringLiteral("pictures/game/manifest.txt")),
                                 QStringLiteral("picture"), output});
    if (!problem.isEmpty()) {
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(QStringLiteral(":1: picture: source picture.svg ") + problem),
                 qPrintable(run.errors));
        return;
    }
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    const QImage image = readImage(output);
    QCOMPARE(image.pixel(20, 20), qRgb(0xc0, 0x00, 0x00));
    QCOMPARE(image.pixel(2, 2), qRgb(0xff, 0xff, 0xff));
}

QTEST_MAIN(PictureAssetsTest)
#include "picture_assets_test.moc"
