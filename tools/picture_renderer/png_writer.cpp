#include <memory>
#include <stdexcept>
#include <string>

#include <cairo.h>

#include "writers.h"

namespace picture_renderer {

void writePng(const std::filesystem::path& file, const Picture& picture) {
    std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height), cairo_surface_destroy);
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < picture.width; ++x) {
            const Rgba& p = picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
            // Alpha is 0 or 255, so the straight colour is also the premultiplied one.
            row[x] = p.a ? (0xff000000u | (std::uint32_t(p.r) << 16) | (std::uint32_t(p.g) << 8) | p.b) : 0;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    if (cairo_surface_write_to_png(surface.get(), file.c_str()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

}  // namespace picture_renderer
