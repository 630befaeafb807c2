// picture_renderer: turns rows of the picture manifests into the files the program embeds.
//
//   picture_renderer render <manifest> <row> <output> [--png | --png=WxH] [--scale K]
//   picture_renderer render-all <manifest> <directory>
//   picture_renderer catalog <output> <manifest>...
//
// `render` writes one row in its own format (or, with --png, its largest image as PNG as it
// looks before palette reduction; with --png=WxH, drawn afresh from its source at that size,
// as the program's icon is for an icon theme). With --scale K it writes the row's largest
// image rendered from its source at K times its size (K from 1 to 8, e.g. 2 or 2.5), with
// smooth edges and full colour, for screens that show the picture larger: as PNG, or JPEG for
// a jpeg row unless --png is given. `render-all` writes every row of a manifest to
// <directory>/<name>.<gif|jpg|ico>; `catalog` checks every row of the manifests and writes
// the table behind pictureCatalog(). A fault prints one line naming the manifest, the line
// and the row, and exits with status 1.
#include <charconv>
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

struct Options {
    bool png = false;
    std::optional<Size> pngSize;
    std::optional<double> scale;
};

void encode(const ManifestRow& row, const fs::path& file, const Options& options)
{
    const bool png = options.png;
    if (options.pngSize) {
        // A crop's offsets hold for the row's own size only.
        if (row.crop)
            throw rowError(row, "a cropped picture is drawn only at its own size");
        return writePng(file, renderRow(row, *options.pngSize));
    }
    if (options.scale) {
        const Picture picture = renderRowScaled(row, *options.scale);
        if (row.format == Format::Jpeg && !png)
            return writeJpeg(file, picture, kJpegQuality);
        return writePng(file, picture);
    }
    std::vector<Picture> images;
    for (Size size : row.sizes)
        images.push_back(renderRow(row, size));
    if (png) {
        const Size largest = row.largest();
        for (const Picture& picture : images) {
            if (picture.width == largest.width && picture.height == largest.height)
                return writePng(file, picture);
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
void renderTo(const ManifestRow& row, const fs::path& output, const Options& options)
{
    const fs::path partial = output.string() + ".part" + std::to_string(::getpid());
    try {
        encode(row, partial, options);
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

std::optional<double> parseScale(const std::string& text)
{
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 1.0 && value <= 8.0))
        return std::nullopt;
    return value;
}

// --png=WxH, each side from 1 to 4096 pixels.
std::optional<Size> parsePngSize(const std::string& option)
{
    int width = 0, height = 0, end = 0;
    if (std::sscanf(option.c_str(), "--png=%4dx%4d%n", &width, &height, &end) != 2 ||
        end != static_cast<int>(option.size()) || width < 1 || height < 1 || width > 4096 || height > 4096) {
        return std::nullopt;
    }
    return Size{width, height};
}

int usage()
{
    std::cerr << "usage: picture_renderer render <manifest> <row> <output> [--png | --png=WxH] [--scale K]\n"
                 "       picture_renderer render-all <manifest> <directory>\n"
                 "       picture_renderer catalog <output> <manifest>...\n";
    return 2;
}

int run(const std::vector<std::string>& args)
{
    if (args.empty())
        return usage();
    const std::string& command = args[0];
    if (command == "render" && args.size() >= 4) {
        Options options;
        for (std::size_t i = 4; i < args.size(); ++i) {
            if (args[i] == "--png" && !options.png) {
                options.png = true;
            } else if (args[i].starts_with("--png=") && !options.pngSize) {
                options.pngSize = parsePngSize(args[i]);
                if (!options.pngSize)
                    return usage();
            } else if (args[i] == "--scale" && i + 1 < args.size() && !options.scale) {
                options.scale = parseScale(args[++i]);
                if (!options.scale) {
                    std::cerr << "picture_renderer: scale '" << args[i] << "' is not a number from 1 to 8\n";
                    return 2;
                }
            } else {
                return usage();
            }
        }
        if (options.pngSize && (options.png || options.scale))
            return usage();
        const fs::path output = args[3];
        std::error_code ignored;
        fs::remove(output, ignored);  // a stale picture must not outlive a failed render
        renderTo(readManifestRow(args[1], args[2]), output, options);
        return 0;
    }
    if (command == "render-all" && args.size() == 3) {
        fs::create_directories(args[2]);
        for (const ManifestRow& row : readManifest(args[1])) {
            renderTo(row, fs::path(args[2]) / (row.name + "." + fileExtension(row.format)), Options{});
        }
        return 0;
    }
    if (command == "catalog" && args.size() >= 2) {
        std::vector<ManifestRow> all;
        std::map<std::string, const ManifestRow*> byName;
        for (std::size_t i = 2; i < args.size(); ++i) {
            for (ManifestRow& row : readManifest(args[i]))
                all.push_back(std::move(row));
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

int main(int argc, char** argv)
{
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
