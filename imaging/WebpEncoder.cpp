#include "imaging/WebpEncoder.h"

#include "imaging/ExifBlock.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <memory>

namespace {

struct PictureFree
{
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};

struct MemoryWriterClear
{
    void operator()(WebPMemoryWriter* writer) const { WebPMemoryWriterClear(writer); }
};

struct MuxDelete
{
    void operator()(WebPMux* mux) const { WebPMuxDelete(mux); }
};

struct DataClear
{
    void operator()(WebPData* data) const { WebPDataClear(data); }
};

// The picture as libwebp's ARGB, which its sharp conversion starts from.
bool importPixels(const gdImage& source, WebPPicture& picture)
{
    picture.width = source.sx;
    picture.height = source.sy;
    picture.use_argb = 1;
    if (!WebPPictureAlloc(&picture))
        return false;
    // GD holds each pixel as 0x00RRGGBB below its own alpha, as libwebp's ARGB word has them.
    constexpr uint32_t opaque = 0xff000000u;
    for (int y = 0; y < source.sy; ++y) {
        uint32_t* row = picture.argb + size_t(y) * size_t(picture.argb_stride);
        const int* pixels = source.tpixels[y];
        for (int x = 0; x < source.sx; ++x)
            row[x] = opaque | (uint32_t(pixels[x]) & 0x00ffffffu);
    }
    return true;
}

// The encoded picture in a container with an EXIF chunk, which takes the block without the
// "Exif\0\0" a JPEG segment starts with.
QByteArray withExif(const QByteArray& webp, const QByteArray& exif)
{
    const std::unique_ptr<WebPMux, MuxDelete> mux(WebPMuxNew());
    if (!mux)
        return {};
    const WebPData image{reinterpret_cast<const uint8_t*>(webp.constData()), size_t(webp.size())};
    const QByteArray tiff = tiffPart(exif);
    const WebPData chunk{reinterpret_cast<const uint8_t*>(tiff.constData()), size_t(tiff.size())};
    WebPData assembled{};
    const std::unique_ptr<WebPData, DataClear> owned(&assembled);
    if (WebPMuxSetImage(mux.get(), &image, 0) != WEBP_MUX_OK ||
        WebPMuxSetChunk(mux.get(), "EXIF", &chunk, 0) != WEBP_MUX_OK ||
        WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK)
        return {};
    return QByteArray(reinterpret_cast<const char*>(assembled.bytes), qsizetype(assembled.size));
}

} // namespace

QByteArray WebpEncoder::encode(const gdImage& source, const EncodeOptions& options) const
{
    if (!source.trueColor || source.sx < 1 || source.sy < 1 || source.sx > largestSide() ||
        source.sy > largestSide())
        return {};
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return {};
    config.quality = float(std::clamp(options.quality, 0, 100));
    config.use_sharp_yuv = 1;
    if (!WebPValidateConfig(&config))
        return {};

    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return {};
    const std::unique_ptr<WebPPicture, PictureFree> ownedPicture(&picture);
    if (!importPixels(source, picture))
        return {};
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    const std::unique_ptr<WebPMemoryWriter, MemoryWriterClear> ownedWriter(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    if (!WebPEncode(&config, &picture))
        return {};
    QByteArray webp(reinterpret_cast<const char*>(writer.mem), qsizetype(writer.size));
    if (options.exif.isEmpty())
        return webp;
    return withExif(webp, options.exif);
}

int WebpEncoder::largestSide() const
{
    return WEBP_MAX_DIMENSION;
}
