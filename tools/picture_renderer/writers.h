#pragma once
// Encoders for the three picture formats, and PNG for looking at a picture before palette
// reduction. Each throws std::runtime_error when the file cannot be written.
#include <filesystem>
#include <vector>

#include "quantize.h"
#include "raster.h"

namespace picture_renderer {

// GIF89a; a graphics control extension names the transparent entry when there is one.
void writeGif(const std::filesystem::path& file, const IndexedPicture& picture);

void writeJpeg(const std::filesystem::path& file, const Picture& picture, int quality);

// One BMP image with an AND mask per picture, in the given order: 4-bit with a 16-colour
// palette of its own, or 24-bit colour (with an alpha byte, 32 bits, when transparent).
void writeIcon(const std::filesystem::path& file, const std::vector<Picture>& images, bool sixteenColours,
               bool transparent);

void writePng(const std::filesystem::path& file, const Picture& picture);

}  // namespace picture_renderer
