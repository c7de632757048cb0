#include "imaging/GroupMarkup.h"

#include "imaging/PictureEncoder.h"
#include "imaging/PictureTitle.h"

#include <algorithm>

namespace {

// Characters that would end or change a URL path, or a srcset entry, where they stand;
// letters of any script are left as they are, which browsers take as UTF-8.
bool needsPercent(char16_t c)
{
    return c < 0x20 || c == 0x7f || QStringView(u" \"#%'(),:;<>?[\\]^`{|}").contains(c);
}

QString urlPath(const QString& path)
{
    QString url;
    for (const QChar c : path) {
        if (!needsPercent(c.unicode())) {
            url += c;
            continue;
        }
        for (const char byte : QString(c).toUtf8())
            url += QStringLiteral("%%1").arg(uchar(byte), 2, 16, QLatin1Char('0')).toUpper();
    }
    return url;
}

// Escaped for a double-quoted attribute, in HTML and XML alike. Control characters are
// allowed in neither, and become blanks.
QString attribute(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            escaped += QStringLiteral("&amp;");
            break;
        case u'<':
            escaped += QStringLiteral("&lt;");
            break;
        case u'>':
            escaped += QStringLiteral("&gt;");
            break;
        case u'"':
            escaped += QStringLiteral("&quot;");
            break;
        case u'\'':
            escaped += QStringLiteral("&#39;");
            break;
        default:
            escaped += c.unicode() < 0x20 || c.unicode() == 0x7f ? QChar(u' ') : c;
        }
    }
    return escaped;
}

const ProfileOutput* find(const std::vector<ProfileOutput>& outputs, OutputFormat format,
                          int density)
{
    const auto found = std::find_if(outputs.begin(), outputs.end(), [&](const ProfileOutput& o) {
        return o.format == format && o.density == density && o.size;
    });
    return found == outputs.end() ? nullptr : &*found;
}

// "beach01_t.avif" alone, or "beach01_t.avif 1x, beach01_t@2x.avif 2x".
QString srcset(const ProfileOutput& single, const ProfileOutput* twice)
{
    if (!twice)
        return urlPath(single.fileName);
    return urlPath(single.fileName) + QStringLiteral(" 1x, ") + urlPath(twice->fileName) +
           QStringLiteral(" 2x");
}

QString pictureLine(const MarkupPicture& picture, const QString& largeFolder)
{
    const ProfileOutput* jpeg = find(picture.thumbnails, OutputFormat::Jpeg, 1);
    if (!jpeg)
        return {};
    QString line = QStringLiteral("<picture>");
    // The browser takes the first source it can show.
    for (OutputFormat format : {OutputFormat::Avif, OutputFormat::Webp}) {
        if (const ProfileOutput* single = find(picture.thumbnails, format, 1))
            line += QStringLiteral("<source type=\"%1\" srcset=\"%2\" />")
                        .arg(pictureEncoder(format).mediaType(),
                             attribute(srcset(*single, find(picture.thumbnails, format, 2))));
    }
    line += QStringLiteral("<img src=\"%1\"").arg(attribute(urlPath(jpeg->fileName)));
    if (const ProfileOutput* twice = find(picture.thumbnails, OutputFormat::Jpeg, 2))
        line += QStringLiteral(" srcset=\"%1\"").arg(attribute(srcset(*jpeg, twice)));
    line += QStringLiteral(" width=\"%1\" height=\"%2\" alt=\"%3\" loading=\"lazy\" "
                           "decoding=\"async\" /></picture>")
                .arg(QString::number(jpeg->size->width()), QString::number(jpeg->size->height()),
                     attribute(picture.altText));
    if (picture.largeImage.isEmpty())
        return line;
    QString href = picture.largeImage;
    if (!largeFolder.isEmpty())
        href = largeFolder + (largeFolder.endsWith(u'/') ? QString() : QStringLiteral("/")) + href;
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(attribute(urlPath(href)), line);
}

} // namespace

QString markupAltText(QByteArrayView exifBlock, QByteArrayView xmp, const QString& fileName)
{
    if (const std::optional<QString> description = exifDescription(exifBlock))
        return *description;
    if (const std::optional<QString> title = xmpTitle(xmp))
        return *title;
    return fileName;
}

QByteArray groupMarkup(const std::vector<MarkupPicture>& pictures, const QString& largeFolder)
{
    QString markup;
    for (const MarkupPicture& picture : pictures) {
        const QString line = pictureLine(picture, largeFolder);
        if (!line.isEmpty())
            markup += line + u'\n';
    }
    return markup.toUtf8();
}
