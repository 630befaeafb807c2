#include "assets/picture_catalog.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tuvrel {
namespace {

#include "picture_scales.inc"
#include "picture_table.inc"

// Names in order, for lookups by binary search.
const std::vector<const PictureAsset*>& byName()
{
    static const std::vector<const PictureAsset*> index = [] {
        std::vector<const PictureAsset*> sorted;
        for (const PictureAsset& asset : kPictureTable)
            sorted.push_back(&asset);
        std::sort(sorted.begin(), sorted.end(),
                  [](const PictureAsset* a, const PictureAsset* b) { return a->name < b->name; });
        return sorted;
    }();
    return index;
}

}  // namespace

std::span<const PictureAsset> pictureCatalog()
{
    return kPictureTable;
}

const PictureAsset* findPictureAsset(std::string_view name)
{
    const auto& index = byName();
    auto it = std::lower_bound(index.begin(), index.end(), name,
                               [](const PictureAsset* asset, std::string_view key) { return asset->name < key; });
    return it != index.end() && (*it)->name == name ? *it : nullptr;
}

std::span<const int> pictureScales()
{
    return kPictureScales;
}

int renderingReach(int ownLength, int scale)
{
    return ownLength * scale + 1;
}

int renderingScaleFor(int ownWidth, int ownHeight, int deviceWidth, int deviceHeight)
{
    const auto reaches = [&](int k) {
        return renderingReach(ownWidth, k) >= deviceWidth && renderingReach(ownHeight, k) >= deviceHeight;
    };
    if (reaches(1) || pictureScales().empty())
        return 1;
    for (const int k : pictureScales())
        if (reaches(k))
            return k;
    return pictureScales().back();
}

}  // namespace tuvrel
