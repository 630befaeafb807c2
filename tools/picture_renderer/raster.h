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

// The picture as it is written: straight colours, every pixel fully opaque or fully transparent.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
    bool hasTransparentPixels() const;
};

// Renders the whole document at exactly `size`. Throws std::runtime_error when the file is
// missing, does not parse, or its viewBox does not have the shape of `size`.
RenderedImage renderSvg(const std::filesystem::path& svg, Size size);

RenderedImage cropImage(const RenderedImage& image, int x, int y, Size size);

// Every pixel the present covers with at least 50 % alpha takes the paper's colour (or the edge
// colour within the 2-pixel band along the inside of the outline); the rest becomes transparent.
RenderedImage paperFill(const RenderedImage& present, const RenderedImage& paper, std::optional<Rgb> edge);

// Opaque ground: composite over white. Transparent ground: pixels under 50 % alpha become
// transparent, the others take their own colour at full opacity.
Picture finish(const RenderedImage& image, bool transparentGround);

// One image of a row at `size` (one of row.sizes). Throws ManifestError naming the row.
Picture renderRow(const ManifestRow& row, Size size);

}  // namespace picture_renderer
