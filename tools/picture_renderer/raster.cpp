#include "raster.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>

#include <cairo.h>
#include <librsvg/rsvg.h>

#include "svg_include.h"

namespace picture_renderer {
namespace {

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct ObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
struct SurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

std::uint8_t alphaOf(std::uint32_t p)
{
    return static_cast<std::uint8_t>(p >> 24);
}
std::uint8_t channel(std::uint32_t p, int shift)
{
    return static_cast<std::uint8_t>(p >> shift);
}

std::uint8_t unpremultiply(std::uint8_t c, std::uint8_t a)
{
    return static_cast<std::uint8_t>(std::min(255, (c * 255 + a / 2) / a));
}

// Straight colour of a premultiplied pixel composited over white.
Rgba overWhite(std::uint32_t p)
{
    const int white = 255 - alphaOf(p);
    return Rgba{static_cast<std::uint8_t>(channel(p, 16) + white), static_cast<std::uint8_t>(channel(p, 8) + white),
                static_cast<std::uint8_t>(channel(p, 0) + white), 255};
}

std::uint32_t premultipliedPixel(Rgb c, std::uint8_t a)
{
    auto times = [a](std::uint8_t v) { return std::uint32_t((v * a + 127) / 255); };
    return (std::uint32_t(a) << 24) | (times(c.r) << 16) | (times(c.g) << 8) | times(c.b);
}

// The edge band of a package: inside pixels within about two pixels of the outside, the
// squared distance at 1:1.
constexpr double kEdgeBandSquared = 5.0;

// Whether the inside pixel (x, y) lies within sqrt(radiusSquared) of a pixel outside; the
// picture's border counts as outside.
template <class Inside>
bool nearOutside(const Inside& inside, int x, int y, double radiusSquared)
{
    const int r = static_cast<int>(std::floor(std::sqrt(radiusSquared)));
    for (int dy = -r; dy <= r; ++dy) {
        for (int dx = -r; dx <= r; ++dx) {
            if (dx * dx + dy * dy <= radiusSquared && !inside(x + dx, y + dy))
                return true;
        }
    }
    return false;
}

// The root element's preserveAspectRatio: "none" or "slice" mean the document chooses
// itself how it fills a viewport of another shape.
bool documentFillsAnyShape(const std::filesystem::path& svg)
{
    std::ifstream in(svg, std::ios::binary);
    std::string head(8192, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    std::size_t open = head.find("<svg");
    if (open == std::string::npos)
        return false;
    std::size_t close = head.find('>', open);
    std::string tag = head.substr(open, close == std::string::npos ? std::string::npos : close - open);
    std::smatch match;
    static const std::regex attribute(R"(preserveAspectRatio\s*=\s*["']([^"']*)["'])");
    if (!std::regex_search(tag, match, attribute))
        return false;
    std::string value = match[1];
    return value.find("none") != std::string::npos || value.find("slice") != std::string::npos;
}

std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string shapeText(double w, double h)
{
    std::ostringstream out;
    out << w << "x" << h;
    return out.str();
}

}  // namespace

bool Picture::hasTransparentPixels() const
{
    return std::any_of(pixels.begin(), pixels.end(), [](const Rgba& p) { return p.a == 0; });
}

RenderedImage renderSvg(const std::filesystem::path& svg, Size size, double slack)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(svg, ec))
        throw std::runtime_error("not found");

    GError* rawError = nullptr;
    std::unique_ptr<RsvgHandle, ObjectUnref> handle(openSvg(svg, &rawError));
    std::unique_ptr<GError, GErrorFree> error(rawError);
    if (!handle) {
        throw std::runtime_error("does not parse: " + oneLine(error ? error->message : "unknown error"));
    }
    rsvg_handle_set_dpi(handle.get(), 96.0);

    gboolean hasWidth = FALSE, hasHeight = FALSE, hasViewBox = FALSE;
    RsvgLength width{}, height{};
    RsvgRectangle viewBox{};
    rsvg_handle_get_intrinsic_dimensions(handle.get(), &hasWidth, &width, &hasHeight, &height, &hasViewBox, &viewBox);
    double shapeW = 0, shapeH = 0;
    if (hasViewBox) {
        shapeW = viewBox.width;
        shapeH = viewBox.height;
    } else if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &shapeW, &shapeH)) {
        throw std::runtime_error("has no viewBox and no absolute width and height");
    }
    if (!(shapeW > 0 && shapeH > 0))
        throw std::runtime_error("has an empty viewBox");

    const double w = size.width, h = size.height;
    const double aspect = shapeW / shapeH;
    const bool fillsAnyShape = documentFillsAnyShape(svg);
    if (!fillsAnyShape && std::abs(aspect * h - w) > slack && std::abs(w / aspect - h) > slack) {
        throw std::runtime_error(std::string(hasViewBox ? "viewBox " : "size ") + shapeText(shapeW, shapeH) +
                                 " does not have the shape of " + std::to_string(size.width) + "x" +
                                 std::to_string(size.height));
    }

    std::unique_ptr<cairo_surface_t, SurfaceDestroy> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.width, size.height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot make a " + shapeText(w, h) + " surface");
    }
    std::unique_ptr<cairo_t, CairoDestroy> cr(cairo_create(surface.get()));

    // Within the one pixel the shapes may differ by, stretch rather than leave a
    // half-transparent seam along one side.
    RsvgRectangle viewport{0, 0, w, h};
    if (!fillsAnyShape) {
        viewport.height = w / aspect;
        cairo_scale(cr.get(), 1.0, h / viewport.height);
    }
    GError* renderError = nullptr;
    if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &renderError)) {
        std::unique_ptr<GError, GErrorFree> owned(renderError);
        throw std::runtime_error("cannot be rendered: " + oneLine(owned ? owned->message : "unknown error"));
    }
    cairo_surface_flush(surface.get());

    RenderedImage image{size.width, size.height, {}};
    image.pixels.resize(static_cast<std::size_t>(size.width) * size.height);
    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < size.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        std::copy(row, row + size.width, image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * size.width);
    }
    return image;
}

RenderedImage cropImage(const RenderedImage& image, int x, int y, Size size)
{
    RenderedImage out{size.width, size.height, {}};
    out.pixels.reserve(static_cast<std::size_t>(size.width) * size.height);
    for (int row = 0; row < size.height; ++row) {
        auto begin = image.pixels.begin() + static_cast<std::ptrdiff_t>(y + row) * image.width + x;
        out.pixels.insert(out.pixels.end(), begin, begin + size.width);
    }
    return out;
}

RenderedImage paperFill(const RenderedImage& present, const RenderedImage& paper, std::optional<Rgb> edge, Edges edges,
                        double scale)
{
    const bool smooth = edges == Edges::Smooth;
    const int w = present.width, h = present.height;
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h &&
               alphaOf(present.pixels[static_cast<std::size_t>(y) * w + x]) >= 128;
    };
    RenderedImage out{w, h, std::vector<std::uint32_t>(present.pixels.size(), 0)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            const std::uint8_t a = alphaOf(present.pixels[i]);
            if (smooth ? a == 0 : !inside(x, y))
                continue;
            const bool onEdge = edge && (!inside(x, y) || nearOutside(inside, x, y, kEdgeBandSquared * scale * scale));
            const Rgba c = overWhite(paper.pixels[i]);
            out.pixels[i] = premultipliedPixel(onEdge ? *edge : Rgb{c.r, c.g, c.b}, smooth ? a : std::uint8_t(255));
        }
    }
    return out;
}

Picture finish(const RenderedImage& image, bool transparentGround, Edges edges)
{
    const bool smooth = edges == Edges::Smooth;
    Picture picture{image.width, image.height, {}};
    picture.pixels.reserve(image.pixels.size());
    for (std::uint32_t p : image.pixels) {
        const std::uint8_t a = alphaOf(p);
        if (!transparentGround) {
            picture.pixels.push_back(overWhite(p));
        } else if (smooth ? a == 0 : a < 128) {
            picture.pixels.push_back(Rgba{0, 0, 0, 0});
        } else {
            picture.pixels.push_back(Rgba{unpremultiply(channel(p, 16), a), unpremultiply(channel(p, 8), a),
                                          unpremultiply(channel(p, 0), a), smooth ? a : std::uint8_t(255)});
        }
    }
    return picture;
}

Size scaledSize(Size size, double scale)
{
    return Size{static_cast<int>(std::lround(size.width * scale)), static_cast<int>(std::lround(size.height * scale))};
}

namespace {

// The source or paper of a row at `size`, its failure named after the row. A shape may be off
// by a pixel at 1:1, so by `scale` pixels at `scale`.
RenderedImage renderFor(const ManifestRow& row, const char* role, const std::filesystem::path& svg, Size size,
                        double scale)
{
    try {
        return renderSvg(svg, size, scale);
    } catch (const std::runtime_error& e) {
        throw rowError(row, std::string(role) + " " + svg.lexically_relative(row.folder()).string() + " " + e.what());
    }
}

}  // namespace

Picture renderRow(const ManifestRow& row, Size size)
{
    RenderedImage image = renderFor(row, "source", row.source, row.crop ? row.crop->canvas : size, 1.0);
    if (row.crop)
        image = cropImage(image, row.crop->x, row.crop->y, size);
    if (row.paper)
        image = paperFill(image, renderFor(row, "paper", *row.paper, size, 1.0), row.edge);
    return finish(image, row.transparent);
}

Picture renderRowScaled(const ManifestRow& row, double scale)
{
    if (!(scale >= 1.0 && scale <= 8.0))
        throw rowError(row, "a scale must lie between 1 and 8");
    const Size size = row.largest();
    RenderedImage image;
    if (row.crop) {
        // Each edge rounded on its own, so that quarters cut from one render still tile it.
        const Crop& crop = *row.crop;
        auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
        const int left = at(crop.x), top = at(crop.y);
        image = renderFor(row, "source", row.source, scaledSize(crop.canvas, scale), scale);
        image = cropImage(image, left, top, Size{at(crop.x + size.width) - left, at(crop.y + size.height) - top});
    } else {
        image = renderFor(row, "source", row.source, scaledSize(size, scale), scale);
    }
    if (row.paper) {
        const RenderedImage paper = renderFor(row, "paper", *row.paper, Size{image.width, image.height}, scale);
        image = paperFill(image, paper, row.edge, Edges::Smooth, scale);
    }
    return finish(image, row.transparent, Edges::Smooth);
}

}  // namespace picture_renderer
