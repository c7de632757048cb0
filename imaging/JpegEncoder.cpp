#include "imaging/JpegEncoder.h"

#include "imaging/OutputSize.h"
#include "imaging/RgbRows.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// GD turns chroma subsampling off from this quality on; the pixels follow it.
constexpr int fullChromaQuality = 90;
// What one marker segment holds after its length field.
constexpr qsizetype largestSegment = 65533;

struct ErrorHandler
{
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it points to the whole handler
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->jump, 1);
}

// Failures are reported by the empty result, never on stderr.
void staySilent(j_common_ptr) {}
void ignoreMessage(j_common_ptr, int) {}

// What must outlive a jump out of libjpeg.
struct Compressor
{
    ErrorHandler errors;
    // libjpeg's memory destination: it grows the buffer with malloc, and it is ours to free,
    // whether the encoding finished or jumped out.
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_compress_struct info{};
    std::vector<JSAMPLE> row;

    Compressor()
    {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = leave;
        errors.manager.output_message = staySilent;
        errors.manager.emit_message = ignoreMessage;
    }
    ~Compressor()
    {
        // Safe on a struct never created: it only releases what the memory manager holds.
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
};

// libjpeg leaves a failing call through longjmp: between the jump target and the last call
// nothing here needs a destructor.
bool compress(Compressor& compressor, const gdImage& picture, const EncodeOptions& options)
{
    jpeg_compress_struct& info = compressor.info;
    if (setjmp(compressor.errors.jump))
        return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &compressor.buffer, &compressor.size);
    info.image_width = JDIMENSION(picture.sx);
    info.image_height = JDIMENSION(picture.sy);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    // What GD writes, quality for quality; a negative quality leaves libjpeg's own, as GD does.
    info.density_unit = 1;
    info.X_density = UINT16(picture.res_x);
    info.Y_density = UINT16(picture.res_y);
    if (options.quality >= 0) {
        jpeg_set_quality(&info, options.quality, TRUE);
        if (options.quality >= fullChromaQuality) {
            info.comp_info[0].h_samp_factor = 1;
            info.comp_info[0].v_samp_factor = 1;
        }
    }
    info.optimize_coding = TRUE;
    if (options.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!options.exif.isEmpty())
        jpeg_write_marker(&info, JPEG_APP0 + 1,
                          reinterpret_cast<const JOCTET*>(options.exif.constData()),
                          unsigned(options.exif.size()));
    JSAMPROW rows[1] = {compressor.row.data()};
    while (info.next_scanline < info.image_height) {
        copyRgbRow(picture, int(info.next_scanline), compressor.row);
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

QByteArray JpegEncoder::encode(const gdImage& picture, const EncodeOptions& options) const
{
    if (!picture.trueColor || picture.sx < 1 || picture.sy < 1 || picture.sx > largestSide() ||
        picture.sy > largestSide() || options.exif.size() > largestSegment)
        return {};
    Compressor compressor;
    compressor.row.resize(3 * size_t(picture.sx));
    if (!compress(compressor, picture, options))
        return {};
    return QByteArray(reinterpret_cast<const char*>(compressor.buffer), qsizetype(compressor.size));
}

int JpegEncoder::largestSide() const
{
    return maxJpegSide;
}
