#include "imaging/PictureFormat.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace {

// Still pictures and picture sequences coded as HEVC, and the generic HEIF image brands
// that phones list beside them.
constexpr std::array<QByteArrayView, 8> heifBrands = {"heic", "heix", "heim", "heis",
                                                      "hevc", "hevx", "mif1", "msf1"};

bool isJpeg(QByteArrayView head)
{
    return head.size() >= 3 && quint8(head[0]) == 0xff && quint8(head[1]) == 0xd8 &&
           quint8(head[2]) == 0xff;
}

// An ISO media file opens with its file-type box: size, "ftyp", the major brand, a minor
// version and the compatible brands, four bytes each.
bool isHeif(QByteArrayView head)
{
    if (head.size() < 16 || head.sliced(4, 4) != "ftyp")
        return false;
    const quint32 boxSize = qFromBigEndian<quint32>(head.data());
    if (boxSize < 16 || boxSize % 4 != 0)
        return false;
    const QByteArrayView box = head.first(std::min<qsizetype>(boxSize, head.size()));
    const auto isHeifBrand = [](QByteArrayView brand) {
        return std::find(heifBrands.begin(), heifBrands.end(), brand) != heifBrands.end();
    };
    if (isHeifBrand(box.sliced(8, 4)))
        return true;
    for (qsizetype offset = 16; offset + 4 <= box.size(); offset += 4)
        if (isHeifBrand(box.sliced(offset, 4)))
            return true;
    return false;
}

} // namespace

PictureFormat sniffPictureFormat(QByteArrayView headBytes)
{
    if (isJpeg(headBytes))
        return PictureFormat::Jpeg;
    if (isHeif(headBytes))
        return PictureFormat::Heif;
    return PictureFormat::Other;
}

QString originalFileSuffix(PictureFormat format, const QString& fileName)
{
    if (format != PictureFormat::Heif)
        return QStringLiteral(".jpg");
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("heic"), Qt::CaseInsensitive) == 0 ||
        suffix.compare(QLatin1String("heif"), Qt::CaseInsensitive) == 0)
        return u'.' + suffix;
    return QStringLiteral(".heic");
}
