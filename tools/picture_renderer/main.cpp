// picture_renderer: turns rows of the picture manifests into the files the program embeds.
//
//   picture_renderer render <manifest> <row> <output> [--png | --png=WxH]
//   picture_renderer render-all <manifest> <directory>
//   picture_renderer catalog <output> <manifest>...
//
// `render` writes one row in its own format (or, with --png, its largest image as PNG as it
// looks before palette reduction; with --png=WxH, drawn afresh from its source at that size,
// as the program's icon is for an icon theme); `render-all` writes every row of a manifest to
// <directory>/<name>.<gif|jpg|ico>; `catalog` checks every row of the manifests and writes
// the table behind pictureCatalog(). A fault prints one line naming the manifest, the line
// and the row, and exits with status 1.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalog_writer.h"
#include "manifest.h"
#include "quantize.h"
#include "raster.h"
#include "writers.h"

namespace fs = std::filesystem;
using namespace picture_renderer;

namespace {

constexpr int kJpegQuality = 92;

void encode(const ManifestRow& row, const fs::path& file, bool png, std::optional<Size> pngSize) {
    if (pngSize) {
        // A crop's offsets hold for the row's own size only.
        if (row.crop) throw rowError(row, "a cropped picture is drawn only at its own size");
        return writePng(file, renderRow(row, *pngSize));
    }
    std::vector<Picture> images;
    for (Size size : row.sizes) images.push_back(renderRow(row, size));
    if (png) {
        const Size largest = row.largest();
        for (const Picture& picture : images) {
            if (picture.width == largest.width && picture.height == largest.height) return writePng(file, picture);
        }
    }
    switch (row.format) {
    case Format::Gif: writeGif(file, quantize(images.front(), 256, Rgb{255, 255, 255})); break;
    case Format::Jpeg: writeJpeg(file, images.front(), kJpegQuality); break;
    case Format::Ico24: writeIcon(file, images, false, row.transparent); break;
    case Format::Ico16: writeIcon(file, images, true, row.transparent); break;
    }
}

// Written next to its place and renamed, so a failed row never leaves a file that a build
// would take for finished, and two runs for the same row never write into one file.
void renderTo(const ManifestRow& row, const fs::path& output, bool png, std::optional<Size> pngSize = {}) {
    const fs::path partial = output.string() + ".part" + std::to_string(::getpid());
    try {
        encode(row, partial, png, pngSize);
        fs::rename(partial, output);
    } catch (const ManifestError&) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw;
    } catch (const std::exception& e) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        throw rowError(row, e.what());
    }
}

// --png=WxH, each side from 1 to 4096 pixels.
std::optional<Size> parsePngSize(const std::string& option) {
    int width = 0, height = 0, end = 0;
    if (std::sscanf(option.c_str(), "--png=%4dx%4d%n", &width, &height, &end) != 2 ||
        end != static_cast<int>(option.size()) || width < 1 || height < 1 || width > 4096 || height > 4096) {
        return std::nullopt;
    }
    return Size{width, height};
}

int usage() {
    std::cerr << "usage: picture_renderer render <manifest> <row> <output> [--png | --png=WxH]\n"
                 "       picture_renderer render-all <manifest> <directory>\n"
                 "       picture_renderer catalog <output> <manifest>...\n";
    return 2;
}

int run(const std::vector<std::string>& args) {
    if (args.empty()) return usage();
    const std::string& command = args[0];
    const std::optional<Size> pngSize = args.size() == 5 ? parsePngSize(args[4]) : std::nullopt;
    if (command == "render" && (args.size() == 4 || (args.size() == 5 && (args[4] == "--png" || pngSize)))) {
        const fs::path output = args[3];
        std::error_code ignored;
        fs::remove(output, ignored);  // a stale picture must not outlive a failed render
        renderTo(readManifestRow(args[1], args[2]), output, args.size() == 5, pngSize);
        return 0;
    }
    if (command == "render-all" && args.size() == 3) {
        fs::create_directories(args[2]);
        for (const ManifestRow& row : readManifest(args[1])) {
            renderTo(row, fs::path(args[2]) / (row.name + "." + fileExtension(row.format)), false);
        }
        return 0;
    }
    if (command == "catalog" && args.size() >= 2) {
        std::vector<ManifestRow> all;
        std::map<std::string, const ManifestRow*> byName;
        for (std::size_t i = 2; i < args.size(); ++i) {
            for (ManifestRow& row : readManifest(args[i])) all.push_back(std::move(row));
        }
        for (const ManifestRow& row : all) {
            auto [it, fresh] = byName.emplace(row.name, &row);
            if (!fresh) {
                throw rowError(row, "the name is already used in " + it->second->manifest.string() + ":" +
                                        std::to_string(it->second->line));
            }
        }
        writeCatalog(args[1], all);
        return 0;
    }
    return usage();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
