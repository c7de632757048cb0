#include "imaging/JpegDecoder.h"

#include "imaging/ColourTransforms.h"
#include "imaging/ExifBlock.h"
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

// Far more scans than any encoder writes (progressive files have about ten). Each scan is
// another pass over the whole picture, so a file of a few hundred kilobytes repeating one
// scan header thousands of times would otherwise keep a core busy for minutes.
constexpr int maxScans = 300;

struct ErrorHandler
{
    jpeg_error_mgr manager; // first, so libjpeg's pointer to it points to the whole handler
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    DecodeFailure failure = DecodeFailure::None; // why the last jump was taken
    bool endMissing = false;                     // the file ended before its end marker
    unsigned componentsScanned = 0;              // one bit per component some scan carried
};

ErrorHandler& handlerOf(j_common_ptr info)
{
    return *reinterpret_cast<ErrorHandler*>(info->err);
}

[[noreturn]] void leave(j_common_ptr info, DecodeFailure failure)
{
    ErrorHandler& handler = handlerOf(info);
    handler.failure = failure;
    std::longjmp(handler.jump, 1);
}

[[noreturn]] void leaveOnError(j_common_ptr info)
{
    leave(info, info->err->msg_code == JERR_OUT_OF_MEMORY ? DecodeFailure::OutOfMemory
                                                          : DecodeFailure::NotAPicture);
}

// Warnings libjpeg gives when it meets damaged data and goes on with gray or guessed blocks.
bool meansDamagedData(int code)
{
    switch (code) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        return true;
    default:
        return false;
    }
}

// Some cameras and editors leave a byte or two between the last scan and the end marker.
// Whether every scan came whole is checked on its own, so this alone is no damage.
bool isPaddingBeforeTheEnd(const jpeg_error_mgr& error)
{
    constexpr int endOfImage = 0xD9;
    return error.msg_code == JWRN_EXTRANEOUS_DATA && error.msg_parm.i[1] == endOfImage;
}

// libjpeg only warns about damaged data and fills what it could not read with gray; such a
// picture is not the photograph, so it counts as unreadable at the first such warning. A
// damaged colour profile is ignored instead, and the picture taken as sRGB. The end of the
// file alone is no fault: data cut short within a scan is damaged data as soon as it is
// missed, and only a file that lacks nothing but its end marker gets past that.
void noteWarning(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // tracing, not a warning
    ErrorHandler& handler = handlerOf(info);
    ++info->err->num_warnings;
    if (info->err->msg_code == JWRN_JPEG_EOF)
        handler.endMissing = true;
    else if (isPaddingBeforeTheEnd(*info->err))
        return;
    else if (meansDamagedData(info->err->msg_code))
        leave(info, handler.endMissing ? DecodeFailure::CutOff : DecodeFailure::Corrupt);
}

// Called for every scan and every row of blocks read: counts the scans, and notes which
// components they carry.
void watchScans(j_common_ptr common)
{
    const auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > maxScans)
        leave(common, DecodeFailure::Corrupt);
    ErrorHandler& handler = handlerOf(common);
    for (int i = 0; i < info->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i)
        if (const jpeg_component_info* component = info->cur_comp_info[i])
            handler.componentsScanned |= 1u << component->component_index;
}

// The program reports failures its own way, never on stderr.
void staySilent(j_common_ptr) {}

// The namespace line an XMP packet's APP1 segment opens with.
constexpr QByteArrayView xmpStart("http://ns.adobe.com/xap/1.0/\0", 29);

// The payload of the first APP1 segment that starts as given, without that start when
// asked to strip it.
QByteArray app1Payload(jpeg_saved_marker_ptr markers, QByteArrayView start, bool strip)
{
    for (jpeg_saved_marker_ptr marker = markers; marker; marker = marker->next) {
        const QByteArrayView payload(reinterpret_cast<const char*>(marker->data),
                                     qsizetype(marker->data_length));
        if (marker->marker == JPEG_APP0 + 1 && payload.startsWith(start))
            return (strip ? payload.sliced(start.size()) : payload).toByteArray();
    }
    return {};
}

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
    bool everyScanArrived() const;

private:
    void readProfile();
};

bool JpegDecoder::Reader::readHeader()
{
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = leaveOnError;
    errors.manager.emit_message = noteWarning;
    errors.manager.output_message = staySilent;
    errors.progress = {};
    errors.progress.progress_monitor = watchScans;
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    info.progress = &errors.progress;
    jpeg_stdio_src(&info, file.get());
    // EXIF data (APP1) and the colour profile (APP2) are read in the same pass.
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    watchScans(reinterpret_cast<j_common_ptr>(&info)); // the first scan
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

// Whether the scans read hold the whole picture: a progressive one once every coefficient of
// every component is known to its last bit, any other once each component was in a scan.
bool JpegDecoder::Reader::everyScanArrived() const
{
    if (!info.progressive_mode)
        return errors.componentsScanned == (1u << info.num_components) - 1;
    for (int component = 0; component < info.num_components; ++component)
        for (int coefficient = 0; coefficient < DCTSIZE2; ++coefficient)
            if (info.coef_bits[component][coefficient] != 0)
                return false;
    return true;
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
    // A picture of several scans is read whole before its first row comes out. Cut between
    // two scans, with or without an end marker after the cut, it raises no warning: it only
    // lacks detail, or a colour.
    if (jpeg_has_multiple_scans(&info) && !everyScanArrived()) {
        errors.failure = DecodeFailure::CutOff;
        return false;
    }
    // Colour and gray rows land in the picture and are converted where they lie; ink rows
    // land beside it and are converted into it.
    const bool throughInks = info.out_color_space == JCS_CMYK;
    const std::size_t inkRow = std::size_t(inkBytes) * info.output_width;
    if (throughInks)
        inks.resize(rowsPerRead * inkRow);
    while (info.output_scanline < info.output_height) {
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
    // Data cut short within a scan was caught as damaged on the way, so a file that only
    // lacks its end marker holds the whole picture, and libjpeg decodes it as if the marker
    // were there.
    jpeg_finish_decompress(&info);
    return true;
}

JpegDecoder::JpegDecoder(FilePtr file, ColourTransforms& transforms)
    : m_reader(std::make_unique<Reader>())
{
    m_reader->file = std::move(file);
    if (!m_reader->readHeader()) {
        // A header cut short or damaged is no picture at all.
        m_failure = m_reader->errors.failure == DecodeFailure::OutOfMemory
                        ? DecodeFailure::OutOfMemory
                        : DecodeFailure::NotAPicture;
        return;
    }
    const jpeg_decompress_struct& info = m_reader->info;
    m_storedSize = QSize(int(info.image_width), int(info.image_height));
    m_orientation = exifOrientation(info.marker_list);
    // Decoding frees the markers.
    m_exif = app1Payload(info.marker_list, exifHeader, false);
    m_xmp = app1Payload(info.marker_list, xmpStart, true);
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
        const double margin = reduction == 8 ? dcOnlyMargin : detailMargin;
        if (width >= margin * stored.width() && height >= margin * stored.height())
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

qint64 JpegDecoder::pixelsHeld(QSize needed) const
{
    const QSize decoded = decodedSize(needed);
    return qint64(decoded.width()) * decoded.height();
}

DecodedPicture JpegDecoder::decode(QSize needed)
{
    return DecodedPicture(decodeStored(needed), m_orientation);
}

GdImage JpegDecoder::decodeStored(QSize needed)
{
    if (m_failure != DecodeFailure::None)
        return nullptr;
    const SourcePixels pixels = m_reader->sourcePixels();
    if (!m_reader->chooseScale(reductionFor(needed), pixels)) {
        m_failure = DecodeFailure::NotAPicture;
        return nullptr;
    }
    const jpeg_decompress_struct& info = m_reader->info;
    GdImage image = newTrueColorImage(int(info.output_width), int(info.output_height));
    if (!image) {
        m_failure = DecodeFailure::OutOfMemory;
        return nullptr;
    }
    if (m_reader->readRows(image.get(), *m_colours))
        return image;
    m_failure = m_reader->errors.failure == DecodeFailure::None ? DecodeFailure::NotAPicture
                                                                : m_reader->errors.failure;
    return nullptr;
}
