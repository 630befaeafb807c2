#pragma once
#include <filesystem>
#include <vector>

#include "manifest.h"

namespace picture_renderer {

// The C++ table behind tuvrel::pictureCatalog(): one PictureAsset per row, in manifest order.
void writeCatalog(const std::filesystem::path& file, const std::vector<ManifestRow>& rows);

}  // namespace picture_renderer
