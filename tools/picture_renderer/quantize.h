#pragma once
// Reduces a finished picture to a palette of at most N colours for GIF and 16-colour icons.
#include <cstdint>
#include <vector>

#include "manifest.h"
#include "raster.h"

namespace picture_renderer {

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> indices;  // one per pixel, rows top to bottom
    int transparentIndex = -1;          // -1: no transparent pixels
};

// The pictures are flat colours with a soft shade and anti-aliased outlines. Every colour
// that covers a real area keeps its exact value (flat areas stay clean); the rest are
// clustered, and only pixels without an exact match are dithered, which keeps shades free
// of bands without speckling flat areas. Transparent pixels get one palette entry of their
// own, coloured `transparentColour`; `maxColours` counts it.
IndexedPicture quantize(const Picture& picture, int maxColours, Rgb transparentColour);

}  // namespace picture_renderer
