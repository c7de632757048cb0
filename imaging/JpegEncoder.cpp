#include "imaging/JpegEncoder.h"

#include "imaging/OutputSize.h"
#include "imaging/RgbRows.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <vector>

#include <jpeglib.h>

namespace {

// GD turns chroma subsampling off from this quality on; the pixels follow it.
constexpr int fullChromaQuality = 90;
// What one marker segment holds after its length field.
constexpr qsizetype largestSegment = 65533;
constexpr size_t destinationChunk = 64 * 1024;

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

// Collects the encoded bytes in a buffer of its own, so a failure part-way leaves nothing
// that libjpeg allocated behind.
struct Destination
{
    jpeg_destination_mgr manager; // first, for the same reason as the error handler
    std::vector<JOCTET> chunk = std::vector<JOCTET>(destinationChunk);
    QByteArray bytes;

    static Destination& of(j_compress_ptr info)
    {
        return *reinterpret_cast<Destination*>(info->dest);
    }
    static void start(j_compress_ptr info)
    {
        Destination& destination = of(info);
        destination.manager.next_output_byte = destination.chunk.data();
        destination.manager.free_in_buffer = destination.chunk.size();
    }
    static boolean flush(j_compress_ptr info)
    {
        Destination& destination = of(info);
        destination.bytes.append(reinterpret_cast<const char*>(destination.chunk.data()),
                                 qsizetype(destination.chunk.size()));
        start(info);
        return TRUE;
    }
    static void finish(j_compress_ptr info)
    {
        Destination& destination = of(info);
        destination.bytes.append(
            reinterpret_cast<const char*>(destination.chunk.data()),
            qsizetype(destination.chunk.size() - destination.manager.free_in_buffer));
    }
};

// What must outlive a jump out of libjpeg.
struct Compressor
{
    ErrorHandler errors;
    Destination destination;
    jpeg_compress_struct info{};
    std::vector<JSAMPLE> row;

    Compressor()
    {
        info.err = jpeg_std_error(&errors.manager);
        errors.manager.error_exit = leave;
        errors.manager.output_message = staySilent;
        errors.manager.emit_message = ignoreMessage;
        destination.manager.init_destination = Destination::start;
        destination.manager.empty_output_buffer = Destination::flush;
        destination.manager.term_destination = Destination::finish;
    }
    ~Compressor()
    {
        // Safe on a struct never created: it only releases what the memory manager holds.
        jpeg_destroy_compress(&info);
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
    info.dest = &compressor.destination.manager;
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
    return std::move(compressor.destination.bytes);
}

int JpegEncoder::largestSide() const
{
    return maxJpegSide;
}
