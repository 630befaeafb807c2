#include <memory>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include <gif_lib.h>

#include "writers.h"

namespace picture_renderer {

void writeGif(const std::filesystem::path& file, const IndexedPicture& picture)
{
    int bits = 1;
    while ((1 << bits) < static_cast<int>(picture.palette.size()))
        ++bits;
    const int entries = 1 << bits;

    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(entries, nullptr),
                                                                   GifFreeMapObject);
    if (!map)
        throw std::runtime_error("out of memory for the GIF palette");
    for (int i = 0; i < entries; ++i) {
        const Rgb c = i < static_cast<int>(picture.palette.size()) ? picture.palette[static_cast<std::size_t>(i)]
                                                                   : Rgb{};
        map->Colors[i] = GifColorType{c.r, c.g, c.b};
    }

    // Opened here rather than by giflib, which would make the file readable by its owner only.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        throw std::runtime_error("cannot write " + file.string());
    int error = 0;
    GifFileType* gif = EGifOpenFileHandle(fd, &error);
    if (!gif) {
        ::close(fd);
        throw std::runtime_error("cannot write " + file.string() + ": " + GifErrorString(error));
    }
    auto fail = [&](const char* what) {
        const int code = gif->Error;
        int ignored = 0;
        EGifCloseFile(gif, &ignored);
        return std::runtime_error(std::string(what) + " " + file.string() + ": " + GifErrorString(code));
    };

    EGifSetGifVersion(gif, true);
    const int background = picture.transparentIndex >= 0 ? picture.transparentIndex : 0;
    if (EGifPutScreenDesc(gif, picture.width, picture.height, bits, background, map.get()) == GIF_ERROR) {
        throw fail("cannot write the screen of");
    }
    if (picture.transparentIndex >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, picture.transparentIndex};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) == GIF_ERROR) {
            throw fail("cannot write the transparency of");
        }
    }
    if (EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) == GIF_ERROR) {
        throw fail("cannot write the image of");
    }
    for (int y = 0; y < picture.height; ++y) {
        auto* line = const_cast<GifPixelType*>(picture.indices.data() + static_cast<std::size_t>(y) * picture.width);
        if (EGifPutLine(gif, line, picture.width) == GIF_ERROR)
            throw fail("cannot write the pixels of");
    }
    if (EGifCloseFile(gif, &error) == GIF_ERROR) {
        throw std::runtime_error("cannot finish " + file.string() + ": " + GifErrorString(error));
    }
}

}  // namespace picture_renderer
