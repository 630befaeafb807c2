#include <csetjmp>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "writers.h"

namespace picture_renderer {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

}  // namespace

void writeJpeg(const std::filesystem::path& file, const Picture& picture, int quality)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(file.c_str(), "wb"), std::fclose);
    if (!out)
        throw std::runtime_error("cannot write " + file.string());

    std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width) * 3);
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        throw std::runtime_error("cannot write " + file.string() + ": " + errors.message);
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out.get());
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full colour resolution: halved chroma smears red against white.
    for (int i = 0; i < info.num_components; ++i) {
        info.comp_info[i].h_samp_factor = 1;
        info.comp_info[i].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const Rgba* source = picture.pixels.data() + static_cast<std::size_t>(info.next_scanline) * picture.width;
        for (int x = 0; x < picture.width; ++x) {
            row[static_cast<std::size_t>(x) * 3] = source[x].r;
            row[static_cast<std::size_t>(x) * 3 + 1] = source[x].g;
            row[static_cast<std::size_t>(x) * 3 + 2] = source[x].b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (std::fflush(out.get()) != 0)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace picture_renderer
