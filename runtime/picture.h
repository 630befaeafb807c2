#pragma once
// A picture is an immutable image object compared by identity only: every
// control that is built with a picture gets an object of its own, assigning a
// picture from one control to another shares the object, and all empty
// pictures are the same.
#include <QImage>
#include <QSize>
#include <QString>
#include <memory>
#include <string_view>

namespace tuvrel {

struct PictureAsset;

class Picture {
public:
    Picture() = default;  // the empty picture

    // A new picture object showing the named built-in asset. Pixels are decoded
    // once per asset and shared by every object made from it. Throws
    // RuntimeError for a name the program does not carry.
    static Picture load(std::string_view name);

    bool isEmpty() const { return !object_; }
    // Every pixel of it covers what lies beneath (no transparent ground).
    bool isOpaque() const;
    // 0 for the empty picture, otherwise unique among living pictures.
    quintptr identity() const { return reinterpret_cast<quintptr>(object_.get()); }
    // Pixels in premultiplied ARGB, ready to paint, decoded when first asked
    // for; a null image when empty.
    const QImage& image() const;
    QSize size() const;  // of image(), known without decoding it
    // The pixels that show this picture on a target of `deviceSize` device
    // pixels: at its own size exactly image(); at any other size its source as
    // built in at the nearest larger scale (the largest there is, beyond that),
    // drawn smoothly to exactly that size. Shared by every picture of the same
    // asset; a null image when empty or when the size is empty.
    QImage pixelsFor(QSize deviceSize) const;
    // While the scale changes: the same pixels if they are kept already
    // (nothing is decoded or drawn for them); a null image otherwise.
    QImage keptPixelsFor(QSize deviceSize) const;
    // Meanwhile: the rendering at hand nearest above the size (below it when
    // none above is), to draw smoothly to the size; a null image when none is.
    QImage pixelsAtHandFor(QSize deviceSize) const;
    QString assetName() const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.object_ == b.object_; }

private:
    struct Object {
        explicit Object(const PictureAsset* a) : asset(a) {}
        const PictureAsset* asset;
        mutable QImage image;  // the asset's pixels once asked for, shared with every picture of it
    };
    std::shared_ptr<const Object> object_;
};

// Decodes a built-in picture asset (cached); a null image if there is none.
QImage decodedPictureAsset(std::string_view name);

// The pixels of a built-in asset for a target of `deviceSize` device pixels,
// as Picture::pixelsFor gives them; a null image for an unknown asset.
QImage pictureAssetPixels(std::string_view name, QSize deviceSize);

// What the decoded pictures hold now, in bytes: the pictures at their own
// size, their larger renderings and the copies made for other sizes. Larger
// renderings and copies are dropped, least recently used first, beyond a
// bound; the pictures at their own size are kept.
struct PictureMemory {
    qint64 ownSize = 0;
    qint64 renderings = 0;
    qint64 copies = 0;
    qint64 total() const { return ownSize + renderings + copies; }
};
PictureMemory pictureMemory();

}  // namespace tuvrel
