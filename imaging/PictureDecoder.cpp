#include "imaging/PictureDecoder.h"

#include "imaging/HeifDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PictureFile.h"

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

} // namespace

PictureDecoder::PictureDecoder(const QString& path, ColourTransforms& transforms)
{
    FilePtr file = openPictureFile(path);
    if (!file) {
        m_failure = DecodeFailure::NotAFile;
        return;
    }
    m_format = sniffPictureFormat(headOf(file.get()));
    switch (m_format) {
    case PictureFormat::Jpeg:
        m_jpeg = std::make_unique<JpegDecoder>(std::move(file), transforms);
        break;
    case PictureFormat::Heif:
        m_heif = std::make_unique<HeifDecoder>(std::move(file), transforms);
        break;
    case PictureFormat::Other:
        m_failure = DecodeFailure::NotAPicture;
        break;
    }
}

PictureDecoder::~PictureDecoder() = default;

DecodeFailure PictureDecoder::failure() const
{
    if (m_jpeg)
        return m_jpeg->failure();
    if (m_heif)
        return m_heif->failure();
    return m_failure;
}

QSize PictureDecoder::fullSize() const
{
    if (m_jpeg)
        return m_jpeg->fullSize();
    if (m_heif)
        return m_heif->fullSize();
    return {};
}

QSize PictureDecoder::decodedSize(QSize needed) const
{
    if (m_jpeg)
        return m_jpeg->decodedSize(needed);
    return fullSize();
}

qint64 PictureDecoder::pixelsHeld(QSize needed) const
{
    if (m_jpeg) {
        const QSize decoded = m_jpeg->decodedSize(needed);
        return qint64(decoded.width()) * decoded.height();
    }
    if (m_heif)
        return m_heif->pixelsHeld();
    return 0;
}

DecodedPicture PictureDecoder::decode(QSize needed)
{
    if (m_jpeg)
        return DecodedPicture(m_jpeg->decode(needed), m_jpeg->orientation());
    // libheif turns a HEIF picture while decoding it, as its container says.
    if (m_heif)
        return DecodedPicture(m_heif->decode(), Orientation::AsStored);
    return {};
}
