#pragma once
// From SVG to the finished pixels of one picture image: render, crop, paper fill, ground.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "manifest.h"

namespace picture_renderer {

// Premultiplied 0xAARRGGBB pixels, as cairo keeps them.
struct RenderedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// The picture as it is written: straight colours. At 1:1 every pixel is fully opaque or fully
// transparent; the larger renderings (renderRowScaled) keep the coverage of their source as alpha.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
    bool hasTransparentPixels() const;
};

// Renders the whole document at exactly `size`. Throws std::runtime_error when the file is
// missing, does not parse, or its viewBox does not have the shape of `size` within `slack` pixels.
RenderedImage renderSvg(const std::filesystem::path& svg, Size size, double slack = 1.0);

RenderedImage cropImage(const RenderedImage& image, int x, int y, Size size);

// Every pixel the present covers with at least 50 % alpha takes the paper's colour (or the edge
// colour within the 2-pixel band along the inside of the outline); the rest becomes transparent.
RenderedImage paperFill(const RenderedImage& present, const RenderedImage& paper, std::optional<Rgb> edge);

// The same silhouette at `scale` times the picture's size, with the present's own coverage as
// alpha, so that the package has exactly the present's shape, smooth edges included. The edge
// band is `scale` times as wide, and the half-covered pixels outside the 50 % line are edge too.
RenderedImage paperFillScaled(const RenderedImage& present, const RenderedImage& paper, std::optional<Rgb> edge,
                              double scale);

// Opaque ground: composite over white. Transparent ground: pixels under 50 % alpha become
// transparent, the others take their own colour at full opacity.
Picture finish(const RenderedImage& image, bool transparentGround);

// Opaque ground: composite over white. Transparent ground: straight colours with the coverage as alpha.
Picture finishScaled(const RenderedImage& image, bool transparentGround);

// One image of a row at `size` (one of row.sizes). Throws ManifestError naming the row.
Picture renderRow(const ManifestRow& row, Size size);

// The row's largest image rendered from its source at `scale` times its size (from 1 to 8;
// sides are rounded), for screens that show the picture larger: a crop cuts the source
// rendered at `scale` at `scale` times its offsets, the edges rounded so that neighbouring
// quarters still meet; a package is the silhouette of its present at that scale. Colours and
// alpha are kept in full (finishScaled). Throws ManifestError naming the row.
Picture renderRowScaled(const ManifestRow& row, double scale);

// `size` times `scale`, each side rounded to the nearest pixel.
Size scaledSize(Size size, double scale);

}  // namespace picture_renderer
