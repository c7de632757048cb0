#pragma once

#include "imaging/ColourTransforms.h"
#include "imaging/ExifOrientation.h"
#include "imaging/HeifDecoder.h"
#include "imaging/PictureFormat.h"

#include <QByteArray>

#include <csetjmp>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

// The decoder's steps for a photograph, in the order the codec takes them: decode the
// rows, convert them to sRGB, then turn the picture upright. A stand-in for the codec, so
// the photo units can be tested on real files before they are wired into it.
namespace PhotoDecoding {

struct JumpingErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

inline SourcePixels sourcePixels(const jpeg_decompress_struct& info)
{
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
        return info.saw_Adobe_marker ? SourcePixels::InvertedCmyk : SourcePixels::Cmyk;
    return info.num_components == 1 ? SourcePixels::Gray : SourcePixels::Colour;
}

// What the decoding needs to outlive a jump out of libjpeg: everything with a destructor.
struct DecodeState
{
    gdImagePtr image = nullptr;
    Orientation orientation = Orientation::AsStored;
    std::optional<ColourConversion> conversion;
    std::vector<unsigned char> inks;
};

inline void decodeRows(jpeg_decompress_struct& info, ColourTransforms& transforms,
                       DecodeState& state)
{
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xffff);
    jpeg_read_header(&info, TRUE);
    state.orientation = exifOrientation(info.marker_list);
    JOCTET* icc = nullptr;
    unsigned iccLength = 0;
    if (!jpeg_read_icc_profile(&info, &icc, &iccLength))
        iccLength = 0;
    const SourcePixels pixels = sourcePixels(info);
    const ColourConversion& conversion = state.conversion.emplace(transforms.conversionFor(
        pixels, QByteArrayView(reinterpret_cast<const char*>(icc), qsizetype(iccLength))));
    std::free(icc);
    const bool cmyk = pixels == SourcePixels::Cmyk || pixels == SourcePixels::InvertedCmyk;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    gdImagePtr image = state.image =
        gdImageCreateTrueColor(int(info.output_width), int(info.output_height));
    state.inks.resize(cmyk ? 4 * info.output_width : 0);
    while (info.output_scanline < info.output_height) {
        int* row = image->tpixels[info.output_scanline];
        JSAMPROW target = cmyk ? state.inks.data() : reinterpret_cast<JSAMPROW>(row);
        jpeg_read_scanlines(&info, &target, 1);
        if (!cmyk) // libjpeg-turbo pads with 0xff, which GD reads as transparent
            for (JDIMENSION x = 0; x < info.output_width; ++x)
                row[x] &= 0x00ffffff;
        if (conversion.changesPixels())
            conversion.convertRow(target, row, int(info.output_width));
    }
    jpeg_finish_decompress(&info);
}

inline GdImage decodeJpeg(const QByteArray& bytes, ColourTransforms& transforms)
{
    jpeg_decompress_struct info;
    JumpingErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = [](j_common_ptr common) {
        std::longjmp(reinterpret_cast<JumpingErrors*>(common->err)->jump, 1);
    };
    errors.manager.output_message = [](j_common_ptr) {};
    jpeg_create_decompress(&info);
    DecodeState state;
    GdImage image;
    if (setjmp(errors.jump) == 0) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                     (unsigned long)bytes.size());
        decodeRows(info, transforms, state);
        image.reset(std::exchange(state.image, nullptr));
    } else if (state.image) {
        gdImageDestroy(state.image);
    }
    jpeg_destroy_decompress(&info);
    return image ? turnUpright(std::move(image), state.orientation) : nullptr;
}

// The decoder's entry point: the file's content decides how it is read, never its name.
inline GdImage decode(const QByteArray& bytes, ColourTransforms& transforms)
{
    switch (sniffPictureFormat(QByteArrayView(bytes).first(std::min<qsizetype>(64, bytes.size())))) {
    case PictureFormat::Jpeg:
        return decodeJpeg(bytes, transforms);
    case PictureFormat::Heif:
        return decodeHeif(bytes, transforms);
    case PictureFormat::Other:
        break;
    }
    return nullptr;
}

} // namespace PhotoDecoding
