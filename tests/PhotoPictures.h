#pragma once

#include "imaging/GdImage.h"

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QStringList>

#include <cstdio>
#include <jpeglib.h>
#include <lcms2.h>
#include <libexif/exif-data.h>
#include <libheif/heif.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

// Photographs as cameras, phones and editing software write them, drawn by the tests:
// EXIF tags written with libexif, ICC profiles built with Little CMS from published
// primaries, JPEGs written with libjpeg in any colour space, HEIF written with libheif.
namespace PhotoPictures {

// Raw pixels of any number of components per pixel, rows one after the other.
struct Pixels
{
    int width = 0;
    int height = 0;
    int components = 3;
    std::vector<unsigned char> bytes;

    Pixels(int w, int h, int c) : width(w), height(h), components(c), bytes(std::size_t(w * h * c))
    {
    }
    // Fills the rectangle with one pixel value of `components` bytes.
    void fill(int x0, int y0, int x1, int y1, std::initializer_list<int> value)
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                int component = 0;
                for (int byte : value)
                    bytes[std::size_t((y * width + x) * components + component++)] =
                        (unsigned char)byte;
            }
    }
};

// The same colour everywhere.
inline Pixels patch(int width, int height, std::initializer_list<int> value)
{
    Pixels pixels(width, height, int(value.size()));
    pixels.fill(0, 0, width, height, value);
    return pixels;
}

struct JpegOptions
{
    QByteArray iccProfile;
    bool adobeMarker = false;
    int quality = 100;
};

// A JPEG at full chroma resolution, so flat colours come back within a level or two.
inline QByteArray jpeg(const Pixels& pixels, J_COLOR_SPACE space, const JpegOptions& options = {})
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &data, &size);
    info.image_width = JDIMENSION(pixels.width);
    info.image_height = JDIMENSION(pixels.height);
    info.input_components = pixels.components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, options.quality, TRUE);
    for (int component = 0; component < info.num_components; ++component) {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    info.write_Adobe_marker = options.adobeMarker;
    jpeg_start_compress(&info, TRUE);
    if (!options.iccProfile.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(options.iccProfile.data()),
                               unsigned(options.iccProfile.size()));
    const int stride = pixels.width * pixels.components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.bytes.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::free(data);
    return bytes;
}

// Inverts every ink, as editing software stores CMYK behind an Adobe marker.
inline Pixels inverted(Pixels pixels)
{
    for (unsigned char& byte : pixels.bytes)
        byte = (unsigned char)(255 - byte);
    return pixels;
}

// A JPEG with one more application segment right after its start marker.
inline QByteArray withSegment(const QByteArray& jpeg, int marker, const QByteArray& payload)
{
    const int length = int(payload.size()) + 2;
    QByteArray segment;
    segment.append(char(0xff)).append(char(marker));
    segment.append(char(length >> 8)).append(char(length & 0xff));
    segment.append(payload);
    return jpeg.first(2) + segment + jpeg.sliced(2);
}

// An EXIF block (APP1 payload) built with libexif, tag by tag.
class ExifBlock
{
public:
    explicit ExifBlock(ExifByteOrder order = EXIF_BYTE_ORDER_INTEL)
        : m_memory(exif_mem_new_default()), m_data(exif_data_new_mem(m_memory))
    {
        exif_data_set_byte_order(m_data, order);
        exif_data_unset_option(m_data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    }
    ~ExifBlock()
    {
        exif_data_unref(m_data);
        exif_mem_unref(m_memory);
    }
    ExifBlock(const ExifBlock&) = delete;
    ExifBlock& operator=(const ExifBlock&) = delete;

    ExifBlock& shortTag(ExifIfd ifd, ExifTag tag, int value)
    {
        unsigned char* data = add(ifd, tag, EXIF_FORMAT_SHORT, 1);
        exif_set_short(data, exif_data_get_byte_order(m_data), ExifShort(value));
        return *this;
    }
    ExifBlock& longTag(ExifIfd ifd, ExifTag tag, int value)
    {
        unsigned char* data = add(ifd, tag, EXIF_FORMAT_LONG, 1);
        exif_set_long(data, exif_data_get_byte_order(m_data), ExifLong(value));
        return *this;
    }
    ExifBlock& textTag(ExifIfd ifd, ExifTag tag, const char* text)
    {
        const unsigned length = unsigned(std::strlen(text)) + 1;
        std::memcpy(add(ifd, tag, EXIF_FORMAT_ASCII, length), text, length);
        return *this;
    }
    ExifBlock& orientation(int value) { return shortTag(EXIF_IFD_0, EXIF_TAG_ORIENTATION, value); }
    // "YYYY:MM:DD HH:MM:SS", as cameras write it.
    ExifBlock& dateTaken(const char* text)
    {
        return textTag(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, text);
    }
    // The small JPEG a camera stores beside the picture, in the second directory.
    ExifBlock& thumbnail(const QByteArray& jpeg)
    {
        shortTag(EXIF_IFD_1, EXIF_TAG_COMPRESSION, 6);
        m_data->data = static_cast<unsigned char*>(exif_mem_alloc(m_memory, ExifLong(jpeg.size())));
        std::memcpy(m_data->data, jpeg.constData(), std::size_t(jpeg.size()));
        m_data->size = unsigned(jpeg.size());
        return *this;
    }

    // Starts with "Exif", as the APP1 segment carries it.
    QByteArray payload() const
    {
        unsigned char* data = nullptr;
        unsigned size = 0;
        exif_data_save_data(m_data, &data, &size);
        QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
        exif_mem_free(m_memory, data);
        return bytes;
    }

private:
    unsigned char* add(ExifIfd ifd, ExifTag tag, ExifFormat format, unsigned components)
    {
        ExifEntry* entry = exif_entry_new_mem(m_memory);
        entry->tag = tag;
        entry->format = format;
        entry->components = components;
        entry->size = exif_format_get_size(format) * components;
        entry->data = static_cast<unsigned char*>(exif_mem_alloc(m_memory, entry->size));
        exif_content_add_entry(m_data->ifd[ifd], entry);
        exif_entry_unref(entry);
        return entry->data;
    }

    ExifMem* m_memory;
    ExifData* m_data;
};

// The JPEG with an ICC profile in one APP2 segment, as cameras write a small one.
inline QByteArray withIccProfile(const QByteArray& jpeg, const QByteArray& profile)
{
    return withSegment(jpeg, 0xe2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + profile);
}

inline QByteArray withExif(const QByteArray& jpeg, const ExifBlock& exif)
{
    return withSegment(jpeg, 0xe1, exif.payload());
}

// What a phone or editor adds beside the picture: an XMP packet.
inline QByteArray xmpPayload()
{
    return QByteArray("http://ns.adobe.com/xap/1.0/", 29) +
           "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF/></x:xmpmeta>";
}

// --- ICC profiles from published primaries and tone curves ---

struct Chromaticity
{
    double x;
    double y;
};

struct RgbSpace
{
    Chromaticity red, green, blue, white;
    bool srgbCurve; // else a pure power law
    double gamma;
};

inline const RgbSpace srgbSpace{{0.64, 0.33},     {0.30, 0.60}, {0.15, 0.06},
                                {0.3127, 0.3290}, true,         0};
inline const RgbSpace displayP3Space{{0.680, 0.320},   {0.265, 0.690}, {0.150, 0.060},
                                     {0.3127, 0.3290}, true,           0};
inline const RgbSpace adobeRgbSpace{{0.64, 0.33},     {0.21, 0.71}, {0.15, 0.06},
                                    {0.3127, 0.3290}, false,        563.0 / 256.0};

struct ProfileCloser
{
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

inline QByteArray saved(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    if (!profile || !cmsSaveProfileToMem(profile, nullptr, &size))
        return {};
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    return bytes;
}

inline cmsToneCurve* toneCurve(const RgbSpace& space)
{
    if (!space.srgbCurve)
        return cmsBuildGamma(nullptr, space.gamma);
    const cmsFloat64Number srgb[] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return cmsBuildParametricToneCurve(nullptr, 4, srgb);
}

inline QByteArray rgbProfile(const RgbSpace& space)
{
    const cmsCIExyY white{space.white.x, space.white.y, 1.0};
    const cmsCIExyYTRIPLE primaries{{space.red.x, space.red.y, 1.0},
                                    {space.green.x, space.green.y, 1.0},
                                    {space.blue.x, space.blue.y, 1.0}};
    cmsToneCurve* curve = toneCurve(space);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    const Profile profile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    return saved(profile.get());
}

inline QByteArray grayProfile(double gamma)
{
    cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
    const Profile profile(cmsCreateGrayProfile(cmsD50_xyY(), curve));
    cmsFreeToneCurve(curve);
    return saved(profile.get());
}

inline int sampleThroughTransform(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo)
{
    const double rgb[3] = {in[0] / 65535.0, in[1] / 65535.0, in[2] / 65535.0};
    cmsCIELab lab;
    cmsDoTransform(cargo, rgb, &lab, 1);
    cmsFloat2LabEncodedV2(out, &lab);
    return TRUE;
}

// A profile of one lookup table from the inputs' colour space to Lab, each grid point
// sampled through sampler, which turns it into Lab with toLab.
inline QByteArray lookupTableProfile(double version, cmsProfileClassSignature deviceClass,
                                     cmsColorSpaceSignature space, int inputs, int gridPoints,
                                     cmsSAMPLER16 sampler, cmsHTRANSFORM toLab)
{
    const Profile profile(cmsCreateProfilePlaceholder(nullptr));
    cmsSetProfileVersion(profile.get(), version);
    cmsSetDeviceClass(profile.get(), deviceClass);
    cmsSetColorSpace(profile.get(), space);
    cmsSetPCS(profile.get(), cmsSigLabData);
    cmsWriteTag(profile.get(), cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipeline* lut = cmsPipelineAlloc(nullptr, inputs, 3);
    cmsStage* grid = cmsStageAllocCLut16bit(nullptr, gridPoints, inputs, 3, nullptr);
    cmsStageSampleCLut16bit(grid, sampler, toLab, 0);
    // Version 4 lookup tables need curves on both sides, even when they change nothing.
    cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, inputs, nullptr));
    cmsPipelineInsertStage(lut, cmsAT_END, grid);
    cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile.get(), cmsSigAToB0Tag, lut);
    cmsPipelineFree(lut);
    cmsDeleteTransform(toLab);
    return saved(profile.get());
}

// The transform from an RGB profile into Lab, in doubles.
inline cmsHTRANSFORM toLabFrom(cmsHPROFILE rgb)
{
    const Profile labProfile(cmsCreateLab4Profile(nullptr));
    return cmsCreateTransform(rgb, TYPE_RGB_DBL, labProfile.get(), TYPE_Lab_DBL,
                              INTENT_RELATIVE_COLORIMETRIC, 0);
}

// The same space described by a lookup table instead of colorants and curves, as some
// cameras and scanners describe theirs: a version 2 profile, since version 4 tables are
// meant for a perceptual black that is not the screen's.
inline QByteArray lookupTableProfile(const RgbSpace& space)
{
    const QByteArray matrixShaper = rgbProfile(space);
    const Profile described(
        cmsOpenProfileFromMem(matrixShaper.data(), cmsUInt32Number(matrixShaper.size())));
    return lookupTableProfile(2.1, cmsSigDisplayClass, cmsSigRgbData, 3, 33, sampleThroughTransform,
                              toLabFrom(described.get()));
}

// A made-up press whose inks print these sRGB colours on white paper, one over the other
// multiplying; the profile holds the corners of the ink cube.
inline const std::array<std::array<double, 3>, 4> pressInks = {{
    {0, 160, 230}, // cyan
    {230, 0, 140}, // magenta
    {255, 235, 0}, // yellow
    {30, 30, 30},  // black
}};

inline std::array<double, 3> pressColour(const std::array<bool, 4>& inks)
{
    std::array<double, 3> colour{255, 255, 255};
    for (int ink = 0; ink < 4; ++ink)
        if (inks[ink])
            for (int channel = 0; channel < 3; ++channel)
                colour[channel] *= pressInks[ink][channel] / 255.0;
    return colour;
}

inline int samplePress(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo)
{
    const std::array<bool, 4> inks{in[0] > 0x8000, in[1] > 0x8000, in[2] > 0x8000, in[3] > 0x8000};
    const std::array<double, 3> colour = pressColour(inks);
    const double rgb[3] = {colour[0] / 255, colour[1] / 255, colour[2] / 255};
    cmsCIELab lab;
    cmsDoTransform(cargo, rgb, &lab, 1);
    cmsFloat2LabEncoded(out, &lab);
    return TRUE;
}

inline QByteArray cmykProfile()
{
    const Profile srgb(cmsCreate_sRGBProfile());
    return lookupTableProfile(4.3, cmsSigOutputClass, cmsSigCmykData, 4, 2, samplePress,
                              toLabFrom(srgb.get()));
}

// --- HEIF ---

// A HEIC of the picture as stored, with the container telling how to turn it upright, the
// EXIF block given, and an ICC profile when one is given.
inline QByteArray heicWithExif(const gdImage& stored, heif_orientation orientation,
                               const ExifBlock& exif, const QByteArray& iccProfile = {})
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 95);
    heif_image* image = nullptr;
    heif_image_create(stored.sx, stored.sy, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                      &image);
    heif_image_add_plane(image, heif_channel_interleaved, stored.sx, stored.sy, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < stored.sy; ++y)
        for (int x = 0; x < stored.sx; ++x) {
            const int pixel = stored.tpixels[y][x];
            uint8_t* rgb = plane + y * stride + 3 * x;
            rgb[0] = uint8_t(gdTrueColorGetRed(pixel));
            rgb[1] = uint8_t(gdTrueColorGetGreen(pixel));
            rgb[2] = uint8_t(gdTrueColorGetBlue(pixel));
        }
    if (!iccProfile.isEmpty())
        heif_image_set_raw_color_profile(image, "prof", iccProfile.data(),
                                         std::size_t(iccProfile.size()));
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = orientation;
    heif_image_handle* handle = nullptr;
    heif_context_encode_image(context, image, encoder, options, &handle);
    // libheif takes the block without the APP1 segment's "Exif\0\0".
    const QByteArray tiff = exif.payload().sliced(6);
    heif_context_add_exif_metadata(context, handle, tiff.data(), int(tiff.size()));
    heif_image_handle_release(handle);
    heif_encoding_options_free(options);
    heif_image_release(image);
    heif_encoder_release(encoder);

    QByteArray bytes;
    heif_writer writer;
    writer.writer_api_version = 1;
    writer.write = [](heif_context*, const void* data, std::size_t size, void* target) {
        static_cast<QByteArray*>(target)->append(static_cast<const char*>(data), qsizetype(size));
        return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
    };
    heif_context_write(context, &writer, &bytes);
    heif_context_free(context);
    return bytes;
}

// A HEIC with an EXIF block that tags the same orientation as the container, as phones
// write it.
inline QByteArray heic(const gdImage& stored, heif_orientation orientation,
                       const QByteArray& iccProfile = {})
{
    ExifBlock exif;
    exif.orientation(orientation);
    return heicWithExif(stored, orientation, exif, iccProfile);
}

// The same HEIF with its picture's size box claiming another size. The encoder writes the
// box of the whole picture after those of its coded tiles.
inline QByteArray withClaimedHeifSize(QByteArray heif, QSize claimed)
{
    // "ispe", version and flags (4), width (4), height (4), big-endian
    const qsizetype box = heif.lastIndexOf("ispe");
    if (box < 0)
        return {};
    for (int byte = 0; byte < 4; ++byte) {
        heif[box + 8 + byte] = char(quint32(claimed.width()) >> (24 - 8 * byte));
        heif[box + 12 + byte] = char(quint32(claimed.height()) >> (24 - 8 * byte));
    }
    return heif;
}

// A picture with four differently coloured quarters: red top left, green top right, blue
// bottom left, yellow bottom right; enough to tell every turn and flip apart.
inline const int quarterColours[4] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00};

inline GdImage quarters(int width, int height)
{
    GdImage image(gdImageCreateTrueColor(width, height));
    for (int quarter = 0; quarter < 4; ++quarter) {
        const bool right = quarter % 2;
        const bool bottom = quarter / 2;
        gdImageFilledRectangle(image.get(), right ? width / 2 : 0, bottom ? height / 2 : 0,
                               right ? width - 1 : width / 2 - 1,
                               bottom ? height - 1 : height / 2 - 1, quarterColours[quarter]);
    }
    return image;
}

// The quarters picture encoded by GD, as a camera without EXIF would store it.
inline QByteArray quartersJpeg(int width, int height, int quality = 100)
{
    int size = 0;
    const GdImage picture = quarters(width, height);
    const std::unique_ptr<void, void (*)(void*)> data(gdImageJpegPtr(picture.get(), &size, quality),
                                                      gdFree);
    return QByteArray(static_cast<const char*>(data.get()), size);
}

// Which quarter each corner of the quarters picture shows once turned upright, for the EXIF
// orientations 1 to 8: top left, top right, bottom left, bottom right.
inline const QList<QList<int>> uprightCorners = {{0, 1, 2, 3}, {1, 0, 3, 2}, {3, 2, 1, 0},
                                                 {2, 3, 0, 1}, {0, 2, 1, 3}, {2, 0, 3, 1},
                                                 {3, 1, 2, 0}, {1, 3, 0, 2}};

// The quarter colour each corner of a picture shows a few pixels in, where compression
// leaves flat colour, in the order of uprightCorners; -1 where none is within tolerance.
inline QList<int> cornerQuarters(const gdImage& image, int inset, int tolerance)
{
    const int right = image.sx - 1 - inset;
    const int bottom = image.sy - 1 - inset;
    QList<int> found;
    for (int pixel : {image.tpixels[inset][inset], image.tpixels[inset][right],
                      image.tpixels[bottom][inset], image.tpixels[bottom][right]}) {
        int match = -1;
        for (int quarter = 0; quarter < 4; ++quarter) {
            const int colour = quarterColours[quarter];
            if (std::abs(gdTrueColorGetRed(pixel) - gdTrueColorGetRed(colour)) <= tolerance &&
                std::abs(gdTrueColorGetGreen(pixel) - gdTrueColorGetGreen(colour)) <= tolerance &&
                std::abs(gdTrueColorGetBlue(pixel) - gdTrueColorGetBlue(colour)) <= tolerance)
                match = quarter;
        }
        found << match;
    }
    return found;
}

// A phone's photograph of the quarters, stored lying on its side with all the metadata a
// phone writes: the turn, its maker, model and serial number, where it was taken, and XMP.
inline QByteArray phonePhoto(int storedWidth = 64, int storedHeight = 48)
{
    ExifBlock exif;
    exif.orientation(6)
        .textTag(EXIF_IFD_0, EXIF_TAG_MAKE, "Phone maker")
        .textTag(EXIF_IFD_0, EXIF_TAG_MODEL, "Phone 12")
        .textTag(EXIF_IFD_EXIF, ExifTag(0xa431), "SERIAL-0042") // the body's serial number
        .textTag(EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), "N");
    const QByteArray picture =
        withSegment(quartersJpeg(storedWidth, storedHeight), 0xe1, xmpPayload());
    return withExif(picture, exif);
}

// --- reading outputs ---

struct Segment
{
    int marker;
    QByteArray payload;
};

// The marker segments before a JPEG's picture data.
inline QList<Segment> jpegSegments(const QByteArray& jpeg)
{
    QList<Segment> segments;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && quint8(jpeg[at]) == 0xff) {
        const int marker = quint8(jpeg[at + 1]);
        const int length = quint8(jpeg[at + 2]) << 8 | quint8(jpeg[at + 3]);
        if (marker == 0xda || length < 2)
            break;
        segments.append({marker, jpeg.mid(at + 4, length - 2)});
        at += 2 + length;
    }
    return segments;
}

// The metadata blocks a JPEG carries: EXIF (camera, GPS position, serial number) and XMP.
inline QStringList metadataBlocks(const QByteArray& jpeg)
{
    QStringList blocks;
    for (const Segment& segment : jpegSegments(jpeg)) {
        if (segment.marker != 0xe1)
            continue;
        if (segment.payload.startsWith(QByteArray("Exif\0", 5)))
            blocks << QStringLiteral("EXIF");
        else if (segment.payload.startsWith("http://ns.adobe.com/xap/1.0/"))
            blocks << QStringLiteral("XMP");
        else
            blocks << QStringLiteral("APP1");
    }
    return blocks;
}

// The JPEG in the file decoded by GD alone; null when there is none.
inline GdImage readJpeg(const QByteArray& bytes)
{
    return GdImage(gdImageCreateFromJpegPtr(int(bytes.size()), const_cast<char*>(bytes.data())));
}

// A picture's size; empty when there is no picture.
inline QSize sizeOf(const GdImage& image)
{
    return image ? QSize(image->sx, image->sy) : QSize();
}

} // namespace PhotoPictures
