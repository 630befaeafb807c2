#include "desktop/picture_pixels.h"

#include "assets/picture_catalog.h"

#include <QCache>
#include <QHash>
#include <QImageReader>
#include <vector>

namespace tuvrel {

QString pictureResourcePath(std::string_view name)
{
    return QStringLiteral(":/pictures/") + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString pictureResourcePath(std::string_view name, int scale)
{
    if (scale == 1)
        return pictureResourcePath(name);
    return QStringLiteral(":/pictures/%1x/").arg(scale) +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

namespace {

const char* readerFormat(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Gif: return "gif";
    case PictureFormat::Jpeg: return "jpeg";
    case PictureFormat::Icon: return "ico";
    }
    return "";
}

QImage decode(const PictureAsset& asset)
{
    QImageReader reader(pictureResourcePath(asset.name), readerFormat(asset.format));
    QImage best;
    // An icon holds several sizes; a control shows the largest.
    do {
        QImage image = reader.read();
        if (!image.isNull() && image.width() * image.height() > best.width() * best.height())
            best = image;
    } while (reader.jumpToNextImage());
    if (best.isNull())
        return best;
    return best.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A larger rendering as built in: one image, PNG or JPEG. An opaque one stays
// without alpha, so that it is copied rather than blended when painted.
QImage decodeRendering(const PictureAsset& asset, int scale)
{
    QImage image = QImageReader(pictureResourcePath(asset.name, scale)).read();
    if (image.isNull())
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// An asset at a size (a rendering: its scale and no height).
struct SizeKey {
    const PictureAsset* asset;
    int width;
    int height;
    friend bool operator==(const SizeKey&, const SizeKey&) = default;
};

size_t qHash(const SizeKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.asset, key.width, key.height);
}

QHash<const PictureAsset*, QImage>& ownSizeCache()
{
    static QHash<const PictureAsset*, QImage> cache;
    return cache;
}

// The larger renderings and the copies at other sizes, each bounded in bytes.
// The renderings hold every picture of all twenty forms at a scale of 2 or 3
// (about 32 and 72 MB), the copies as many at a size in between; a least
// recently used one goes when a new one would pass the bound.
constexpr qsizetype MiB = qsizetype(1024) * 1024;
constexpr qsizetype RenderingBytes = 96 * MiB;
constexpr qsizetype CopyBytes = 96 * MiB;

using ImageCache = QCache<SizeKey, QImage>;

ImageCache& renderingCache()
{
    static ImageCache cache(RenderingBytes);
    return cache;
}

ImageCache& copyCache()
{
    static ImageCache cache(CopyBytes);
    return cache;
}

template <class Make>
QImage cached(ImageCache& cache, const SizeKey& key, Make make)
{
    if (const QImage* image = cache.object(key))
        return *image;
    QImage image = make();
    if (!image.isNull())
        cache.insert(key, new QImage(image), image.sizeInBytes());
    return image;
}

qint64 bytesOf(const ImageCache& cache)
{
    qint64 bytes = 0;
    for (const SizeKey& key : cache.keys())
        bytes += cache[key]->sizeInBytes();
    return bytes;
}

QImage ownPixels(const PictureAsset& asset)
{
    auto& cache = ownSizeCache();
    auto it = cache.constFind(&asset);
    if (it != cache.constEnd())
        return *it;
    QImage image = decode(asset);
    if (!image.isNull())
        cache.insert(&asset, image);
    return image;
}

// The 1:1 pixels and the larger renderings, smallest first, as far as they
// are decoded; nothing is decoded.
std::vector<QImage> renderingsAtHand(const PictureAsset& asset)
{
    std::vector<QImage> atHand;
    if (auto it = ownSizeCache().constFind(&asset); it != ownSizeCache().constEnd())
        atHand.push_back(*it);
    for (int k : pictureScales())
        if (const QImage* rendering = renderingCache().object(SizeKey{&asset, k, 0}))
            atHand.push_back(*rendering);
    return atHand;
}

// Whether an image drawn at `size` reaches the target (renderingReach).
bool covers(QSize have, QSize want)
{
    return renderingReach(have.width(), 1) >= want.width() && renderingReach(have.height(), 1) >= want.height();
}

// The pixels of an asset for a target size: from the rendering the core
// chooses for it (renderingScaleFor), drawn smoothly to exactly that size.
// The 1:1 pixels are decoded only when they are what is drawn, so that a
// larger screen holds only the larger renderings. A program built without
// larger renderings draws from the largest there is.
QImage pixelsAt(const PictureAsset& asset, QSize deviceSize)
{
    if (deviceSize.isEmpty())
        return {};
    const int scale = renderingScaleFor(asset.width, asset.height, deviceSize.width(), deviceSize.height());
    QImage source;
    for (auto k = pictureScales().rbegin(); k != pictureScales().rend() && source.isNull(); ++k)
        if (*k <= scale)
            source = cached(renderingCache(), SizeKey{&asset, *k, 0}, [&] { return decodeRendering(asset, *k); });
    if (source.isNull())
        source = ownPixels(asset);
    if (source.isNull() || source.size() == deviceSize)
        return source;
    return cached(copyCache(), SizeKey{&asset, deviceSize.width(), deviceSize.height()},
                  [&] { return source.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation); });
}

// The pixels for a target size as far as they are kept already: the decoded
// 1:1 pixels or rendering of exactly that size, or a copy made for it before.
QImage keptPixels(const PictureAsset& asset, QSize deviceSize)
{
    for (const QImage& image : renderingsAtHand(asset))
        if (image.size() == deviceSize)
            return image;
    const QImage* copy = copyCache().object(SizeKey{&asset, deviceSize.width(), deviceSize.height()});
    return copy ? *copy : QImage();
}

QImage pixelsAtHand(const PictureAsset& asset, QSize deviceSize)
{
    const std::vector<QImage> atHand = renderingsAtHand(asset);
    for (const QImage& image : atHand)
        if (covers(image.size(), deviceSize))
            return image;
    return atHand.empty() ? QImage() : atHand.back();
}

}  // namespace

QImage decodedPictureAsset(std::string_view name)
{
    const PictureAsset* asset = findPictureAsset(name);
    return asset ? ownPixels(*asset) : QImage();
}

QImage pictureAssetPixels(std::string_view name, QSize deviceSize)
{
    const PictureAsset* asset = findPictureAsset(name);
    return asset ? pixelsAt(*asset, deviceSize) : QImage();
}

PictureMemory pictureMemory()
{
    PictureMemory memory;
    for (const QImage& image : std::as_const(ownSizeCache()))
        memory.ownSize += image.sizeInBytes();
    memory.renderings = bytesOf(renderingCache());
    memory.copies = bytesOf(copyCache());
    return memory;
}

QImage pictureImage(const Picture& picture)
{
    return picture.isEmpty() ? QImage() : ownPixels(*picture.asset());
}

QImage picturePixelsFor(const Picture& picture, QSize deviceSize)
{
    if (picture.isEmpty())
        return {};
    if (deviceSize == toQt(picture.size()))
        return pictureImage(picture);
    return pixelsAt(*picture.asset(), deviceSize);
}

QImage keptPicturePixelsFor(const Picture& picture, QSize deviceSize)
{
    return picture.isEmpty() ? QImage() : keptPixels(*picture.asset(), deviceSize);
}

QImage picturePixelsAtHandFor(const Picture& picture, QSize deviceSize)
{
    return picture.isEmpty() ? QImage() : pixelsAtHand(*picture.asset(), deviceSize);
}

}  // namespace tuvrel
