#include "imaging/PictureDecoder.h"

#include "base/RegularFile.h"
#include "imaging/HeifDecoder.h"
#include "imaging/JpegDecoder.h"

#include <unistd.h>

namespace {

// Enough of the start of a file to tell its format.
constexpr int headSize = 64;

QByteArray headOf(std::FILE* file)
{
    QByteArray head(headSize, Qt::Uninitialized);
    // pread leaves the file where it is for the decoder that follows.
    const ssize_t got = pread(fileno(file), head.data(), headSize, 0);
    head.truncate(got < 0 ? 0 : got);
    return head;
}

// The decoder of a format, reading the header of the opened file; none for other files.
std::unique_ptr<FormatDecoder> decoderFor(PictureFormat format, FilePtr file,
                                          ColourTransforms& transforms)
{
    switch (format) {
    case PictureFormat::Jpeg:
        return std::make_unique<JpegDecoder>(std::move(file), transforms);
    case PictureFormat::Heif:
        return std::make_unique<HeifDecoder>(std::move(file), transforms);
    case PictureFormat::Other:
        break;
    }
    return nullptr;
}

} // namespace

PictureDecoder::PictureDecoder(const QString& path, ColourTransforms& transforms)
{
    FilePtr file = openRegularFile(path);
    if (!file) {
        m_failure = DecodeFailure::NotAFile;
        return;
    }
    m_format = sniffPictureFormat(headOf(file.get()));
    m_decoder = decoderFor(m_format, std::move(file), transforms);
    if (!m_decoder)
        m_failure = DecodeFailure::NotAPicture;
}

PictureDecoder::~PictureDecoder() = default;

DecodeFailure PictureDecoder::failure() const
{
    return m_decoder ? m_decoder->failure() : m_failure;
}

QSize PictureDecoder::fullSize() const
{
    return m_decoder ? m_decoder->fullSize() : QSize();
}

QSize PictureDecoder::decodedSize(QSize needed) const
{
    return m_decoder ? m_decoder->decodedSize(needed) : QSize();
}

qint64 PictureDecoder::pixelsHeld(QSize needed) const
{
    return m_decoder ? m_decoder->pixelsHeld(needed) : 0;
}

DecodedPicture PictureDecoder::decode(QSize needed)
{
    return m_decoder ? m_decoder->decode(needed) : DecodedPicture();
}

QByteArray PictureDecoder::exif() const
{
    return m_decoder ? m_decoder->exif() : QByteArray();
}

QByteArray PictureDecoder::xmp() const
{
    return m_decoder ? m_decoder->xmp() : QByteArray();
}
