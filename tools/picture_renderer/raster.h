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

// How a transparent ground's edges are written: cut at 50 % alpha, as one transparent colour
// allows, or smooth, the coverage kept as alpha.
enum class Edges { Cut, Smooth };

// Every pixel the present covers with at least 50 % alpha takes the paper's colour (or the edge
// colour within the 2-pixel band along the inside of the outline); the rest becomes transparent.
// With smooth edges the package keeps the present's own coverage as alpha, so that it has
// exactly the present's shape, and the half-covered pixels outside the 50 % line are edge too.
// At a `scale` the band is that many times as wide.
RenderedImage paperFill(const RenderedImage& present, const RenderedImage& paper, std::optional<Rgb> edge,
                        Edges edges = Edges::Cut, double scale = 1.0);

// Opaque ground: composite over white. Transparent ground: straight colours; with cut edges,
// pixels under 50 % alpha become transparent and the others fully opaque.
Picture finish(const RenderedImage& image, bool transparentGround, Edges edges = Edges::Cut);

// One image of a row at `size` (one of row.sizes). Throws ManifestError naming the row.
Picture renderRow(const ManifestRow& row, Size size);

// The row's largest image rendered from its source at `scale` times its size (from 1 to 8;
// sides are rounded), for screens that show the picture larger: a crop cuts the source
// rendered at `scale` at `scale` times its offsets, the edges rounded so that neighbouring
// quarters still meet; a package is the silhouette of its present at that scale. Colours and
// alpha are kept in full (smooth edges). Throws ManifestError naming the row.
Picture renderRowScaled(const ManifestRow& row, double scale);

// `size` times `scale`, each side rounded to the nearest pixel.
Size scaledSize(Size size, double scale);

}  // namespace picture_renderer
