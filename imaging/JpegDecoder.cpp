#include "imaging/JpegDecoder.h"

#include "base/LocalPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <csetjmp>

#include <jerror.h>

namespace {

// GD keeps a true-colour pixel as an int 0xAARRGGBB; these rows are that int byte for byte.
constexpr J_COLOR_SPACE gdPixelLayout =
    std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
// libjpeg fills the spare byte with 0xFF, which GD reads as fully transparent; its alpha 0
// is opaque.
constexpr int opaque = 0x00FFFFFF;
constexpr int rowsPerRead = 16;

struct ErrorHandler
{
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it points to the whole handler
    std::jmp_buf jump;
    bool cutOff = false;
    bool outOfMemory = false;
};

ErrorHandler& handlerOf(j_common_ptr info)
{
    return *reinterpret_cast<ErrorHandler*>(info->err);
}

[[noreturn]] void leave(j_common_ptr info)
{
    ErrorHandler& handler = handlerOf(info);
    handler.outOfMemory = info->err->msg_code == JERR_OUT_OF_MEMORY;
    std::longjmp(handler.jump, 1);
}

// libjpeg only warns when the data ends early, and fills the rest of the picture with gray;
// such a picture is not the photograph, so it counts as unreadable.
void noteWarning(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // tracing, not a warning
    if (info->err->msg_code == JWRN_JPEG_EOF)
        handlerOf(info).cutOff = true;
    ++info->err->num_warnings;
}

// The program reports failures its own way, never on stderr.
void staySilent(j_common_ptr) {}

} // namespace

// libjpeg leaves a failing call through longjmp, so each step that calls it sets its own
// jump target and holds nothing that needs a destructor between the two.
struct JpegDecoder::Reader
{
    ErrorHandler errors;
    jpeg_decompress_struct info{};
    std::FILE* file = nullptr;

    ~Reader()
    {
        // Safe on a struct never created: it only releases what the memory manager holds.
        jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }

    bool readHeader();
    bool chooseScale(int reduction);
    bool readRows(gdImagePtr image);
};

bool JpegDecoder::Reader::readHeader()
{
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leave;
    errors.manager.emit_message = noteWarning;
    errors.manager.output_message = staySilent;
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    // EXIF data (APP1) and the colour profile (APP2) are read in the same pass.
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    return true;
}

bool JpegDecoder::Reader::chooseScale(int reduction)
{
    if (setjmp(errors.jump))
        return false;
    info.scale_num = 1;
    info.scale_denom = unsigned(reduction);
    info.out_color_space = gdPixelLayout;
    jpeg_calc_output_dimensions(&info);
    return true;
}

bool JpegDecoder::Reader::readRows(gdImagePtr image)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height && !errors.cutOff) {
        JSAMPROW rows[rowsPerRead];
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(rowsPerRead, info.output_height - first);
        for (JDIMENSION row = 0; row < count; ++row)
            rows[row] = reinterpret_cast<JSAMPROW>(image->tpixels[first + row]);
        const JDIMENSION read = jpeg_read_scanlines(&info, rows, count);
        if (read == 0)
            return false;
        for (JDIMENSION row = 0; row < read; ++row) {
            int* pixels = image->tpixels[first + row];
            for (int x = 0; x < image->sx; ++x)
                pixels[x] &= opaque;
        }
    }
    // The end of the data may still be missing after the last row.
    if (!errors.cutOff)
        jpeg_finish_decompress(&info);
    return !errors.cutOff;
}

JpegDecoder::JpegDecoder(const QString& path) : m_reader(std::make_unique<Reader>())
{
    if (!open(path)) {
        m_failure = DecodeFailure::NotAFile;
        return;
    }
    if (!m_reader->readHeader()) {
        m_failure =
            m_reader->errors.outOfMemory ? DecodeFailure::OutOfMemory : DecodeFailure::NotAJpeg;
        return;
    }
    const jpeg_decompress_struct& info = m_reader->info;
    m_fullSize = QSize(int(info.image_width), int(info.image_height));
    if (qint64(info.image_width) * info.image_height > maxPicturePixels)
        m_failure = DecodeFailure::TooManyPixels;
    else if (info.jpeg_color_space != JCS_YCbCr && info.jpeg_color_space != JCS_GRAYSCALE &&
             info.jpeg_color_space != JCS_RGB)
        m_failure = DecodeFailure::UnsupportedColours;
}

JpegDecoder::~JpegDecoder() = default;

bool JpegDecoder::open(const QString& path)
{
    const QByteArray local = pathToLocal(path);
    struct stat status;
    // Opening a FIFO waits for a writer, and opening a device may do anything: only a regular
    // file is opened, and it is looked at again once open, in case the name changed hands.
    if (stat(local.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const int fd = ::open(local.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    m_reader->file = fdopen(fd, "rb");
    if (!m_reader->file) {
        ::close(fd);
        return false;
    }
    return true;
}

jpeg_saved_marker_ptr JpegDecoder::markers() const
{
    return m_reader->info.marker_list;
}

int JpegDecoder::reductionFor(QSize needed) const
{
    for (const int reduction : {8, 4, 2}) {
        // libjpeg rounds a reduced side up.
        const int width = (m_fullSize.width() + reduction - 1) / reduction;
        const int height = (m_fullSize.height() + reduction - 1) / reduction;
        if (width >= detailMargin * needed.width() && height >= detailMargin * needed.height())
            return reduction;
    }
    return 1;
}

QSize JpegDecoder::decodedSize(QSize needed) const
{
    const int reduction = reductionFor(needed);
    return QSize((m_fullSize.width() + reduction - 1) / reduction,
                 (m_fullSize.height() + reduction - 1) / reduction);
}

GdImage JpegDecoder::decode(QSize needed)
{
    if (m_failure != DecodeFailure::None)
        return nullptr;
    if (!m_reader->chooseScale(reductionFor(needed))) {
        m_failure = DecodeFailure::NotAJpeg;
        return nullptr;
    }
    const jpeg_decompress_struct& info = m_reader->info;
    GdImage image(gdImageCreateTrueColor(int(info.output_width), int(info.output_height)));
    if (!image) {
        m_failure = DecodeFailure::OutOfMemory;
        return nullptr;
    }
    if (m_reader->readRows(image.get()))
        return image;
    m_failure = m_reader->errors.cutOff        ? DecodeFailure::CutOff
                : m_reader->errors.outOfMemory ? DecodeFailure::OutOfMemory
                                               : DecodeFailure::NotAJpeg;
    return nullptr;
}
