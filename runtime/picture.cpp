#include "runtime/picture.h"

#include "assets/picture_catalog.h"
#include "runtime/runtime_error.h"

#include <string>

namespace tuvrel {

Picture Picture::load(std::string_view name)
{
    const PictureAsset* asset = findPictureAsset(name);
    if (!asset)
        throw RuntimeError("picture \"" + std::string(name) + "\" is not built into the program");
    // The program plays on one thread: the forms are only ever touched from the event loop.
    static std::uint64_t lastIdentity = 0;
    Picture picture;
    picture.object_ = std::make_shared<const Object>(Object{asset, ++lastIdentity});
    return picture;
}

bool Picture::isOpaque() const
{
    return object_ && !object_->asset->transparent;
}

Size Picture::size() const
{
    return object_ ? Size{object_->asset->width, object_->asset->height} : Size{};
}

std::string_view Picture::assetName() const
{
    return object_ ? object_->asset->name : std::string_view();
}

}  // namespace tuvrel
