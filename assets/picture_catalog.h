#pragma once
// The pictures built into the program: one entry per manifest row. The encoded
// bytes of each are in the Qt resources at pictureResourcePath(name), and its
// renderings at larger scales at pictureResourcePath(name, scale).
#include <QString>
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
QString pictureResourcePath(std::string_view name);           // ":/pictures/<name>"

// The scales above 1 at which every picture is also built in, ascending. The
// rendering at scale k is the picture's source rendered at k times the size of
// its largest image, with smooth edges (PNG with alpha, or JPEG for a JPEG).
std::span<const int> pictureScales();
QString pictureResourcePath(std::string_view name, int scale);  // ":/pictures/<k>x/<name>"; scale 1 as above

}  // namespace tuvrel
