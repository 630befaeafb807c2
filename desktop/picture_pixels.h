#pragma once
// The pixels of the pictures on the desktop: each asset decoded once from the
// program's resources, its larger renderings and the copies made for other
// sizes kept in bounded caches. A picture's identity is the core's; every
// picture of the same asset shares these pixels.
#include "desktop/qt_types.h"
#include "runtime/picture.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <string_view>

namespace tuvrel {

// Where the encoded bytes of an asset are in the resources: ":/pictures/<name>",
// and its rendering at a larger scale ":/pictures/<k>x/<name>" (scale 1 as the first).
QString pictureResourcePath(std::string_view name);
QString pictureResourcePath(std::string_view name, int scale);

// The picture's own pixels in premultiplied ARGB, ready to paint, decoded
// when first asked for; a null image when empty.
QImage pictureImage(const Picture& picture);
// The pixels that show a picture on a target of `deviceSize` device pixels:
// at its own size exactly pictureImage(); at any other size its source as
// built in at the nearest larger scale (the largest there is, beyond that),
// drawn smoothly to exactly that size. A null image when empty or when the
// size is empty.
QImage picturePixelsFor(const Picture& picture, QSize deviceSize);
// While the scale changes: the same pixels if they are kept already (nothing
// is decoded or drawn for them); a null image otherwise.
QImage keptPicturePixelsFor(const Picture& picture, QSize deviceSize);
// Meanwhile: the rendering at hand nearest above the size (below it when none
// above is), to draw smoothly to the size; a null image when none is.
QImage picturePixelsAtHandFor(const Picture& picture, QSize deviceSize);

// Decodes a built-in picture asset (cached); a null image if there is none.
QImage decodedPictureAsset(std::string_view name);

// The pixels of a built-in asset for a target of `deviceSize` device pixels,
// as picturePixelsFor gives them; a null image for an unknown asset.
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
