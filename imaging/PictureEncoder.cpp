#include "imaging/PictureEncoder.h"

#include "imaging/AvifEncoder.h"
#include "imaging/JpegEncoder.h"
#include "imaging/WebpEncoder.h"

const PictureEncoder& pictureEncoder(OutputFormat format)
{
    static const JpegEncoder jpeg;
    static const WebpEncoder webp;
    static const AvifEncoder avif;
    switch (format) {
    case OutputFormat::Jpeg:
        return jpeg;
    case OutputFormat::Webp:
        return webp;
    case OutputFormat::Avif:
        return avif;
    }
    Q_UNREACHABLE();
}
