#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include <png.h>

#include "writers.h"

namespace picture_renderer {
namespace {

std::uint32_t key(const Rgba& p)
{
    // Every fully transparent pixel is the same colour.
    if (p.a == 0)
        return 0;
    return (std::uint32_t(p.a) << 24) | (std::uint32_t(p.r) << 16) | (std::uint32_t(p.g) << 8) | p.b;
}

// The picture's colours in order of first use, or nothing when there are more than 256.
std::vector<Rgba> paletteOf(const Picture& picture)
{
    std::unordered_map<std::uint32_t, int> seen;
    std::vector<Rgba> palette;
    for (const Rgba& p : picture.pixels) {
        if (seen.emplace(key(p), static_cast<int>(palette.size())).second) {
            if (palette.size() == 256)
                return {};
            palette.push_back(p.a == 0 ? Rgba{} : p);
        }
    }
    return palette;
}

// libpng reports its errors by a long jump back into this function, which therefore holds
// nothing that needs a destructor.
bool writeImage(std::FILE* out, int width, int height, int type, const std::vector<png_color>& colours,
                const std::vector<png_byte>& alphas, const png_byte* rows, std::size_t stride)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, type,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!colours.empty())
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
    if (!alphas.empty())
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rows + static_cast<std::size_t>(y) * stride);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void writePng(const std::filesystem::path& file, const Picture& picture)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.c_str(), "wb"), std::fclose);
    if (!out)
        throw std::runtime_error("cannot write " + file.string());

    const bool opaque = std::all_of(picture.pixels.begin(), picture.pixels.end(),
                                    [](const Rgba& p) { return p.a == 255; });
    // Few colours (flat pictures, and every 1:1 picture cut to its palette) are stored as a
    // palette, which loses nothing and takes a quarter of the room.
    const std::vector<Rgba> palette = paletteOf(picture);
    const int channels = !palette.empty() ? 1 : opaque ? 3 : 4;

    std::vector<png_byte> rows(static_cast<std::size_t>(picture.width) * picture.height * channels);
    if (!palette.empty()) {
        std::unordered_map<std::uint32_t, png_byte> index;
        for (std::size_t i = 0; i < palette.size(); ++i)
            index[key(palette[i])] = static_cast<png_byte>(i);
        for (std::size_t i = 0; i < picture.pixels.size(); ++i)
            rows[i] = index[key(picture.pixels[i])];
    } else {
        png_byte* at = rows.data();
        for (const Rgba& p : picture.pixels) {
            *at++ = p.r;
            *at++ = p.g;
            *at++ = p.b;
            if (channels == 4)
                *at++ = p.a;
        }
    }

    std::vector<png_color> colours;
    std::vector<png_byte> alphas;
    for (const Rgba& p : palette) {
        colours.push_back(png_color{p.r, p.g, p.b});
        alphas.push_back(p.a);
    }
    const int type = !palette.empty() ? PNG_COLOR_TYPE_PALETTE : opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA;
    if (!writeImage(out.get(), picture.width, picture.height, type, colours, opaque ? std::vector<png_byte>() : alphas,
                    rows.data(), static_cast<std::size_t>(picture.width) * channels)) {
        throw std::runtime_error("cannot write " + file.string());
    }
    if (std::fflush(out.get()) != 0)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace picture_renderer
