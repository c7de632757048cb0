#include "imaging/ExifMetadata.h"

#include "imaging/ExifBlock.h"

#include <QtEndian>

namespace {

// The text of an ASCII tag, without its terminator; empty when the tag is missing.
QByteArray text(ExifData* data, ExifIfd ifd, ExifTag tag)
{
    const ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (!entry || !entry->data || entry->format != EXIF_FORMAT_ASCII)
        return {};
    const auto* bytes = reinterpret_cast<const char*>(entry->data);
    return QByteArray(bytes, qsizetype(qstrnlen(bytes, entry->size)));
}

// The number written in text[from, from + length), -1 unless every character is a digit.
int digits(const QByteArray& text, int from, int length)
{
    int value = 0;
    for (int i = from; i < from + length; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY:MM:DD HH:MM:SS", the form EXIF prescribes.
std::optional<QDateTime> dateTime(const QByteArray& text)
{
    if (text.size() < 19 || text[4] != ':' || text[7] != ':' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const QDate date(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
    const QTime time(digits(text, 11, 2), digits(text, 14, 2), digits(text, 17, 2));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

// SubSecTimeOriginal: the decimal digits after the second, padded with blanks.
int milliseconds(const QByteArray& fraction)
{
    const QByteArray digitsOnly = fraction.trimmed();
    if (digitsOnly.isEmpty() || digits(digitsOnly, 0, int(digitsOnly.size())) < 0)
        return 0;
    return digits(digitsOnly.leftJustified(3, '0', true), 0, 3);
}

} // namespace

std::optional<QDateTime> exifDateTaken(std::span<const unsigned char> app1Payload)
{
    const ExifDataPtr data = loadExif(app1Payload);
    if (!data)
        return std::nullopt;
    std::optional<QDateTime> taken =
        dateTime(text(data.get(), EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL));
    if (taken)
        *taken = taken->addMSecs(
            milliseconds(text(data.get(), EXIF_IFD_EXIF, EXIF_TAG_SUB_SEC_TIME_ORIGINAL)));
    return taken;
}

QByteArray exifThumbnail(std::span<const unsigned char> app1Payload)
{
    const ExifDataPtr data = loadExif(app1Payload);
    // libexif takes the thumbnail only from inside the block, where its offset and length
    // point; what it holds is checked by whoever decodes it.
    if (!data || !data->data || data->size == 0)
        return {};
    return QByteArray(reinterpret_cast<const char*>(data->data), qsizetype(data->size));
}

QByteArray exifPayloadFromHeifItem(QByteArrayView item)
{
    if (item.size() < 4)
        return {};
    const quint32 offset = qFromBigEndian<quint32>(item.data());
    if (offset > quint32(item.size() - 4))
        return {};
    const QByteArrayView tiff = item.sliced(4 + offset);
    if (!tiff.startsWith(QByteArrayView("II*\0", 4)) &&
        !tiff.startsWith(QByteArrayView("MM\0*", 4)))
        return {};
    return exifHeader.toByteArray().append(tiff);
}
