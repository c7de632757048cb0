#include "imaging/PictureTitle.h"

#include "imaging/ExifBlock.h"

#include <QStringDecoder>
#include <QXmlStreamReader>

namespace {

constexpr QByteArrayView xmpSegmentLine("http://ns.adobe.com/xap/1.0/\0", 29);
const QString dublinCore = QStringLiteral("http://purl.org/dc/elements/1.1/");
const QString rdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
const QString xmlNamespace = QStringLiteral("http://www.w3.org/XML/1998/namespace");

std::optional<QString> nonBlank(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

// EXIF text is ASCII by the standard, UTF-8 from most software today and Latin-1 from some
// older cameras; what is not valid UTF-8 is taken as Latin-1.
QString decodedText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// The reader stands on dc:title: an rdf:Alt of one text per language, or, written loosely,
// the text itself.
std::optional<QString> titleText(QXmlStreamReader& reader)
{
    std::optional<QString> first;
    QString loose;
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) {
            --depth;
        } else if (reader.isStartElement()) {
            if (reader.namespaceUri() != rdf || reader.name() != u"li") {
                ++depth;
                continue;
            }
            const bool isDefault =
                reader.attributes().value(xmlNamespace, QStringLiteral("lang")) == u"x-default";
            const std::optional<QString> text =
                nonBlank(reader.readElementText(QXmlStreamReader::IncludeChildElements));
            if (text && isDefault)
                return text;
            if (!first)
                first = text;
        } else if (reader.isCharacters() && depth == 1) {
            loose += reader.text();
        }
    }
    return first ? first : nonBlank(loose);
}

} // namespace

std::optional<QString> exifDescription(QByteArrayView exifBlock)
{
    QByteArray text = mainPictureText(exifBlock, EXIF_TAG_IMAGE_DESCRIPTION);
    // What follows a NUL inside the text is left over from the camera's buffer.
    const qsizetype end = text.indexOf('\0');
    if (end >= 0)
        text.truncate(end);
    return nonBlank(decodedText(text));
}

std::optional<QString> xmpTitle(QByteArrayView xmp)
{
    if (xmp.startsWith(xmpSegmentLine))
        xmp = xmp.sliced(xmpSegmentLine.size());
    QXmlStreamReader reader(xmp.toByteArray());
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        if (reader.namespaceUri() == dublinCore && reader.name() == u"title")
            return titleText(reader);
        // Some software writes the title as a plain attribute of the description.
        if (const auto title =
                nonBlank(reader.attributes().value(dublinCore, QStringLiteral("title")).toString()))
            return title;
    }
    return std::nullopt;
}
