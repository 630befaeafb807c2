#include "runtime/picture.h"

#include "assets/picture_catalog.h"
#include "runtime/runtime_error.h"

#include <QCache>
#include <QHash>
#include <QImageReader>
#include <functional>

namespace tuvrel {

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
QImage decodeRendering(std::string_view name, int scale)
{
    QImage image = QImageReader(pictureResourcePath(name, scale)).read();
    if (image.isNull())
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QHash<QString, QImage>& ownSizeCache()
{
    static QHash<QString, QImage> cache;
    return cache;
}

// The larger renderings and the copies at other sizes, each bounded in bytes.
// Together they hold every picture of all twenty forms at a scale of 2 or 3
// (about 32 and 72 MB); a least recently used one goes when a new one would
// pass the bound.
constexpr qsizetype RenderingBytes = 96 * 1024 * 1024;
constexpr qsizetype CopyBytes = 96 * 1024 * 1024;

QCache<QString, QImage>& renderingCache()
{
    static QCache<QString, QImage> cache(RenderingBytes);
    return cache;
}

QCache<QString, QImage>& copyCache()
{
    static QCache<QString, QImage> cache(CopyBytes);
    return cache;
}

QImage cached(QCache<QString, QImage>& cache, const QString& key, const std::function<QImage()>& make)
{
    if (const QImage* image = cache.object(key))
        return *image;
    QImage image = make();
    if (!image.isNull())
        cache.insert(key, new QImage(image), image.sizeInBytes());
    return image;
}

qint64 bytesOf(const QCache<QString, QImage>& cache)
{
    qint64 bytes = 0;
    for (const QString& key : cache.keys())
        bytes += cache[key]->sizeInBytes();
    return bytes;
}

}  // namespace

QImage decodedPictureAsset(std::string_view name)
{
    auto& cache = ownSizeCache();
    const QString key = QString::fromUtf8(name.data(), qsizetype(name.size()));
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const PictureAsset* asset = findPictureAsset(name);
    QImage image = asset ? decode(*asset) : QImage();
    if (!image.isNull())
        cache.insert(key, image);
    return image;
}

QImage pictureAssetPixels(std::string_view name, QSize deviceSize)
{
    const QImage own = decodedPictureAsset(name);
    if (own.isNull() || deviceSize.isEmpty())
        return {};
    if (deviceSize == own.size())
        return own;

    // The smallest rendering that is as large as the target; within a pixel,
    // which the smooth drawing below stretches without a visible change.
    const QString asset = QString::fromUtf8(name.data(), qsizetype(name.size()));
    int scale = 1;
    QImage source = own;
    auto covers = [&](int k) {
        return own.width() * k + 1 >= deviceSize.width() && own.height() * k + 1 >= deviceSize.height();
    };
    for (int k : pictureScales()) {
        if (covers(scale))
            break;
        QImage rendering = cached(renderingCache(), QStringLiteral("%1@%2x").arg(asset).arg(k),
                                  [&] { return decodeRendering(name, k); });
        if (rendering.isNull())
            break;  // a program built without larger renderings
        scale = k;
        source = rendering;
    }
    if (source.size() == deviceSize)
        return source;
    return cached(copyCache(), QStringLiteral("%1@%2x%3").arg(asset).arg(deviceSize.width()).arg(deviceSize.height()),
                  [&] { return source.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation); });
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

Picture Picture::load(std::string_view asset)
{
    QImage image = decodedPictureAsset(asset);
    if (image.isNull())
        throw RuntimeError("picture \"" + std::string(asset) + "\" is not built into the program");
    Picture picture;
    picture.object_ = std::make_shared<const Object>(
        Object{QString::fromUtf8(asset.data(), qsizetype(asset.size())), image});
    return picture;
}

const QImage& Picture::image() const
{
    static const QImage none;
    return object_ ? object_->image : none;
}

QImage Picture::pixelsFor(QSize deviceSize) const
{
    if (!object_)
        return {};
    if (deviceSize == object_->image.size())
        return object_->image;
    return pictureAssetPixels(object_->asset.toStdString(), deviceSize);
}

QString Picture::assetName() const
{
    return object_ ? object_->asset : QString();
}

}  // namespace tuvrel
