#include "imaging/JpegDecoder.h"

#include "imaging/ColourTransforms.h"
#include "imaging/ExifOrientation.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdlib>
#include <vector>

#include <jerror.h>

namespace {

// GD keeps a true-colour pixel as an int 0xAARRGGBB; these rows are that int byte for byte.
constexpr J_COLOR_SPACE gdPixelLayout =
    std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
// libjpeg fills the spare byte with 0xFF, which GD reads as fully transparent; its alpha 0
// is opaque.
constexpr int opaque = 0x00FFFFFF;
constexpr int rowsPerRead = 16;
constexpr int inkBytes = 4;

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
// jump target and holds nothing that needs a destructor between the two; what must outlive
// a jump lives here.
struct JpegDecoder::Reader
{
    ErrorHandler errors;
    jpeg_decompress_struct info{};
    FilePtr file;
    QByteArray profile;              // the embedded ICC profile, empty when there is none
    std::vector<unsigned char> inks; // CMYK rows on their way to colour

    ~Reader()
    {
        // Safe on a struct never created: it only releases what the memory manager holds.
        jpeg_destroy_decompress(&info);
    }

    bool readHeader();
    bool chooseScale(int reduction, SourcePixels pixels);
    bool readRows(gdImagePtr image, const ColourConversion& colours);
    SourcePixels sourcePixels() const;

private:
    void readProfile();
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
    jpeg_stdio_src(&info, file.get());
    // EXIF data (APP1) and the colour profile (APP2) are read in the same pass.
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    readProfile();
    return true;
}

void JpegDecoder::Reader::readProfile()
{
    JOCTET* bytes = nullptr;
    unsigned length = 0;
    // A profile whose pieces do not fit together is no profile: the picture is taken as sRGB.
    if (!jpeg_read_icc_profile(&info, &bytes, &length))
        return;
    profile = QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(length));
    std::free(bytes);
}

// Editing software that writes an Adobe marker stores CMYK inverted.
SourcePixels JpegDecoder::Reader::sourcePixels() const
{
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        return info.saw_Adobe_marker ? SourcePixels::InvertedCmyk : SourcePixels::Cmyk;
    return info.jpeg_color_space == JCS_GRAYSCALE ? SourcePixels::Gray : SourcePixels::Colour;
}

bool JpegDecoder::Reader::chooseScale(int reduction, SourcePixels pixels)
{
    if (setjmp(errors.jump))
        return false;
    info.scale_num = 1;
    info.scale_denom = unsigned(reduction);
    info.out_color_space = isCmyk(pixels) ? JCS_CMYK : gdPixelLayout;
    jpeg_calc_output_dimensions(&info);
    return true;
}

bool JpegDecoder::Reader::readRows(gdImagePtr image, const ColourConversion& colours)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_start_decompress(&info);
    // Colour and gray rows land in the picture and are converted where they lie; ink rows
    // land beside it and are converted into it.
    const bool throughInks = info.out_color_space == JCS_CMYK;
    const std::size_t inkRow = std::size_t(inkBytes) * info.output_width;
    if (throughInks)
        inks.resize(rowsPerRead * inkRow);
    while (info.output_scanline < info.output_height && !errors.cutOff) {
        JSAMPROW rows[rowsPerRead];
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(rowsPerRead, info.output_height - first);
        for (JDIMENSION row = 0; row < count; ++row)
            rows[row] = throughInks ? inks.data() + row * inkRow
                                    : reinterpret_cast<JSAMPROW>(image->tpixels[first + row]);
        const JDIMENSION read = jpeg_read_scanlines(&info, rows, count);
        if (read == 0)
            return false;
        for (JDIMENSION row = 0; row < read; ++row) {
            int* pixels = image->tpixels[first + row];
            if (colours.changesPixels()) {
                colours.convertRow(rows[row], pixels, image->sx);
                continue;
            }
            for (int x = 0; x < image->sx; ++x)
                pixels[x] &= opaque;
        }
    }
    // The end of the data may still be missing after the last row.
    if (!errors.cutOff)
        jpeg_finish_decompress(&info);
    return !errors.cutOff;
}

JpegDecoder::JpegDecoder(FilePtr file, ColourTransforms& transforms)
    : m_reader(std::make_unique<Reader>())
{
    m_reader->file = std::move(file);
    if (!m_reader->readHeader()) {
        m_failure =
            m_reader->errors.outOfMemory ? DecodeFailure::OutOfMemory : DecodeFailure::NotAPicture;
        return;
    }
    const jpeg_decompress_struct& info = m_reader->info;
    m_storedSize = QSize(int(info.image_width), int(info.image_height));
    m_orientation = exifOrientation(info.marker_list);
    if (qint64(info.image_width) * info.image_height > maxPicturePixels) {
        m_failure = DecodeFailure::TooManyPixels;
        return;
    }
    // Two components, or a layout only its writer knows, is nothing a screen shows.
    if (info.jpeg_color_space == JCS_UNKNOWN) {
        m_failure = DecodeFailure::UnsupportedColours;
        return;
    }
    m_colours = transforms.conversionFor(m_reader->sourcePixels(), m_reader->profile);
    m_reader->profile.clear();
}

JpegDecoder::~JpegDecoder() = default;

jpeg_saved_marker_ptr JpegDecoder::markers() const
{
    return m_reader->info.marker_list;
}

int JpegDecoder::reductionFor(QSize needed) const
{
    const QSize stored = uprightSize(needed, m_orientation); // a turn is its own way back
    for (const int reduction : {8, 4, 2}) {
        // libjpeg rounds a reduced side up.
        const int width = (m_storedSize.width() + reduction - 1) / reduction;
        const int height = (m_storedSize.height() + reduction - 1) / reduction;
        if (width >= detailMargin * stored.width() && height >= detailMargin * stored.height())
            return reduction;
    }
    return 1;
}

QSize JpegDecoder::decodedSize(QSize needed) const
{
    const int reduction = reductionFor(needed);
    return uprightSize(QSize((m_storedSize.width() + reduction - 1) / reduction,
                             (m_storedSize.height() + reduction - 1) / reduction),
                       m_orientation);
}

GdImage JpegDecoder::decode(QSize needed)
{
    if (m_failure != DecodeFailure::None)
        return nullptr;
    const SourcePixels pixels = m_reader->sourcePixels();
    if (!m_reader->chooseScale(reductionFor(needed), pixels)) {
        m_failure = DecodeFailure::NotAPicture;
        return nullptr;
    }
    const jpeg_decompress_struct& info = m_reader->info;
    GdImage image(gdImageCreateTrueColor(int(info.output_width), int(info.output_height)));
    if (!image) {
        m_failure = DecodeFailure::OutOfMemory;
        return nullptr;
    }
    if (m_reader->readRows(image.get(), *m_colours))
        return image;
    m_failure = m_reader->errors.cutOff        ? DecodeFailure::CutOff
                : m_reader->errors.outOfMemory ? DecodeFailure::OutOfMemory
                                               : DecodeFailure::NotAPicture;
    return nullptr;
}
