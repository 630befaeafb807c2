#pragma once
// The pictures built into the program: one entry per manifest row, with the
// scales at which each is also rendered. Where the encoded bytes are is the
// front end's (the desktop's resources, the site's files).
#include <span>
#include <string_view>

namespace tuvrel {

enum class PictureFormat { Gif, Jpeg, Icon };

struct PictureAsset {
    std::string_view name;
    PictureFormat format;
    int width;  // pixels; for an icon, its largest image
    int height;
    bool transparent;
    std::string_view description;  // the row's comment: what the picture shows, who uses it
};

std::span<const PictureAsset> pictureCatalog();
const PictureAsset* findPictureAsset(std::string_view name);  // nullptr if unknown

// The scales above 1 at which every picture is also built in, ascending. The
// rendering at scale k is the picture's source rendered at k times the size of
// its largest image, with smooth edges (PNG with alpha, or JPEG for a JPEG).
std::span<const int> pictureScales();

// Which rendering a picture is drawn from, for every front end. A rendering
// at scale k (1: the picture's own pixels) serves a target up to its own
// length times k plus one pixel, which smooth drawing stretches without a
// visible change.
int renderingReach(int ownLength, int scale);
// The rendering a picture of its own size draws a target of device pixels
// from: 1, or the smallest of pictureScales() that reaches the target; the
// largest there is beyond that.
int renderingScaleFor(int ownWidth, int ownHeight, int deviceWidth, int deviceHeight);

}  // namespace tuvrel
