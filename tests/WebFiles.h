#pragma once

#include "PhotoPictures.h"

#include <QByteArray>
#include <QSize>

#include <avif/avif.h>
#include <webp/demux.h>

#include <memory>

// What WebP, AVIF and JPEG outputs say about themselves, read with their own libraries.
namespace WebFiles {

// The EXIF chunk of a WebP file; empty when it has none or is no WebP.
inline QByteArray webpExif(const QByteArray& webp)
{
    const WebPData data{reinterpret_cast<const uint8_t*>(webp.constData()), size_t(webp.size())};
    const std::unique_ptr<WebPDemuxer, void (*)(WebPDemuxer*)> demuxer(WebPDemux(&data),
                                                                       WebPDemuxDelete);
    WebPChunkIterator chunk;
    if (!demuxer || !WebPDemuxGetChunk(demuxer.get(), "EXIF", 1, &chunk))
        return {};
    const QByteArray exif(reinterpret_cast<const char*>(chunk.chunk.bytes),
                          qsizetype(chunk.chunk.size));
    WebPDemuxReleaseChunkIterator(&chunk);
    return exif;
}

// An AVIF file's header as libavif reads it.
struct AvifHeader
{
    bool valid = false;
    QSize size;
    int depth = 0;
    avifPixelFormat yuvFormat = AVIF_PIXEL_FORMAT_NONE;
    int primaries = 0;
    int transfer = 0;
    int matrix = 0;
    avifRange range = AVIF_RANGE_LIMITED;
    bool hasIccProfile = false;
    QByteArray exif;
    QByteArray xmp;
};

inline AvifHeader avifHeader(const QByteArray& avif)
{
    const std::unique_ptr<avifDecoder, void (*)(avifDecoder*)> decoder(avifDecoderCreate(),
                                                                       avifDecoderDestroy);
    AvifHeader header;
    if (!decoder ||
        avifDecoderSetIOMemory(decoder.get(), reinterpret_cast<const uint8_t*>(avif.constData()),
                               size_t(avif.size())) != AVIF_RESULT_OK ||
        avifDecoderParse(decoder.get()) != AVIF_RESULT_OK)
        return header;
    const avifImage& image = *decoder->image;
    header.valid = true;
    header.size = QSize(int(image.width), int(image.height));
    header.depth = int(image.depth);
    header.yuvFormat = image.yuvFormat;
    header.primaries = image.colorPrimaries;
    header.transfer = image.transferCharacteristics;
    header.matrix = image.matrixCoefficients;
    header.range = image.yuvRange;
    header.hasIccProfile = image.icc.size > 0;
    header.exif =
        QByteArray(reinterpret_cast<const char*>(image.exif.data), qsizetype(image.exif.size));
    header.xmp =
        QByteArray(reinterpret_cast<const char*>(image.xmp.data), qsizetype(image.xmp.size));
    return header;
}

// The EXIF block (the APP1 payload) of a JPEG; empty when it has none.
inline QByteArray jpegExif(const QByteArray& jpeg)
{
    for (const PhotoPictures::Segment& segment : PhotoPictures::jpegSegments(jpeg))
        if (segment.marker == 0xe1 && segment.payload.startsWith(QByteArray("Exif\0\0", 6)))
            return segment.payload;
    return {};
}

// Whether a JPEG is progressive: its frame header is SOF2.
inline bool isProgressive(const QByteArray& jpeg)
{
    for (const PhotoPictures::Segment& segment : PhotoPictures::jpegSegments(jpeg))
        if (segment.marker == 0xc2)
            return true;
    return false;
}

} // namespace WebFiles
