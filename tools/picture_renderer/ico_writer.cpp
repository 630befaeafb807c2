#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "writers.h"

namespace picture_renderer {
namespace {

class Bytes {
public:
    void u8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
    void u16(unsigned v)
    {
        u8(v & 0xff);
        u8((v >> 8) & 0xff);
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xffff);
        u16(v >> 16);
    }
    void padTo4(std::size_t rowStart)
    {
        while ((data.size() - rowStart) % 4 != 0)
            u8(0);
    }
    std::vector<std::uint8_t> data;
};

// BITMAPINFOHEADER, palette, colour rows and AND-mask rows, both bottom-up.
std::vector<std::uint8_t> bitmap(const Picture& picture, unsigned bits)
{
    const int w = picture.width, h = picture.height;
    const bool sixteenColours = bits == 4;
    const std::uint32_t colourRow = ((w * bits + 31) / 32) * 4;
    const std::uint32_t maskRow = ((w + 31) / 32) * 4;

    Bytes out;
    out.u32(40);
    out.u32(static_cast<std::uint32_t>(w));
    out.u32(static_cast<std::uint32_t>(h * 2));  // colour image and mask
    out.u16(1);
    out.u16(bits);
    out.u32(0);  // BI_RGB
    out.u32((colourRow + maskRow) * static_cast<std::uint32_t>(h));
    out.u32(0);
    out.u32(0);
    out.u32(sixteenColours ? 16 : 0);
    out.u32(0);

    if (sixteenColours) {
        // Transparent pixels are black in the colour image, so that the screen shows through
        // the AND/XOR pair unchanged.
        const IndexedPicture indexed = quantize(picture, 16, Rgb{0, 0, 0});
        for (std::size_t i = 0; i < 16; ++i) {
            const Rgb c = i < indexed.palette.size() ? indexed.palette[i] : Rgb{};
            out.u8(c.b);
            out.u8(c.g);
            out.u8(c.r);
            out.u8(0);
        }
        for (int y = h - 1; y >= 0; --y) {
            const std::size_t start = out.data.size();
            for (int x = 0; x < w; x += 2) {
                const std::size_t at = static_cast<std::size_t>(y) * w + x;
                const unsigned high = indexed.indices[at];
                const unsigned low = x + 1 < w ? indexed.indices[at + 1] : 0;
                out.u8((high << 4) | low);
            }
            out.padTo4(start);
        }
    } else {
        for (int y = h - 1; y >= 0; --y) {
            const std::size_t start = out.data.size();
            for (int x = 0; x < w; ++x) {
                const Rgba& p = picture.pixels[static_cast<std::size_t>(y) * w + x];
                out.u8(p.a ? p.b : 0);
                out.u8(p.a ? p.g : 0);
                out.u8(p.a ? p.r : 0);
                if (bits == 32)
                    out.u8(p.a);
            }
            out.padTo4(start);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const std::size_t start = out.data.size();
        for (int x = 0; x < w; x += 8) {
            unsigned byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const bool transparent = x + bit < w &&
                                         picture.pixels[static_cast<std::size_t>(y) * w + x + bit].a == 0;
                if (transparent)
                    byte |= 0x80u >> bit;
            }
            out.u8(byte);
        }
        out.padTo4(start);
    }
    return out.data;
}

}  // namespace

void writeIcon(const std::filesystem::path& file, const std::vector<Picture>& images, bool sixteenColours,
               bool transparent)
{
    // Readers that take a full-colour icon's alpha from its pixels ignore the AND mask of a
    // 24-bit image (Qt among them), so a transparent one carries its colour with an alpha byte.
    const unsigned bits = sixteenColours ? 4 : transparent ? 32 : 24;
    std::vector<std::vector<std::uint8_t>> bitmaps;
    for (const Picture& picture : images)
        bitmaps.push_back(bitmap(picture, bits));

    Bytes head;
    head.u16(0);
    head.u16(1);  // icon
    head.u16(static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        head.u8(images[i].width == 256 ? 0 : static_cast<unsigned>(images[i].width));
        head.u8(images[i].height == 256 ? 0 : static_cast<unsigned>(images[i].height));
        head.u8(sixteenColours ? 16 : 0);
        head.u8(0);
        head.u16(1);
        head.u16(bits);
        head.u32(static_cast<std::uint32_t>(bitmaps[i].size()));
        head.u32(offset);
        offset += static_cast<std::uint32_t>(bitmaps[i].size());
    }

    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(head.data.data()), static_cast<std::streamsize>(head.data.size()));
    for (const auto& b : bitmaps)
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace picture_renderer
