#include "runtime/picture.h"

#include "assets/picture_catalog.h"
#include "runtime/runtime_error.h"

#include <QHash>
#include <QImageReader>

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

}  // namespace

QImage decodedPictureAsset(std::string_view name)
{
    static QHash<QString, QImage> cache;
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

QString Picture::assetName() const
{
    return object_ ? object_->asset : QString();
}

}  // namespace tuvrel
