#include "PhotoPictures.h"

#include "imaging/GroupMarkup.h"

#include <QProcess>
#include <QTest>
#include <QXmlStreamReader>

namespace {

ProfileOutput made(OutputFormat format, int density, QSize size, const QString& name)
{
    return {format, density, size, name};
}

// A picture's thumbnail files in every format, at 1x and, when asked, at 2x.
std::vector<ProfileOutput> thumbnails(const QString& name, QSize size, bool twice,
                                      const std::vector<OutputFormat>& formats)
{
    std::vector<ProfileOutput> outputs;
    for (int density = 1; density <= (twice ? 2 : 1); ++density)
        for (OutputFormat format : formats) {
            const char* suffix = format == OutputFormat::Jpeg   ? ".jpg"
                                 : format == OutputFormat::Webp ? ".webp"
                                                                : ".avif";
            outputs.push_back(
                made(format, density, size * density, name + (density == 2 ? "@2x" : "") + suffix));
        }
    return outputs;
}

const std::vector<OutputFormat> allFormats = {OutputFormat::Jpeg, OutputFormat::Webp,
                                              OutputFormat::Avif};

// The elements of the markup as an XML reader sees them: "a href=...", one line per element
// with its attributes in their order, their values unescaped.
QStringList xmlElements(const QByteArray& markup, QString* error)
{
    QXmlStreamReader reader("<fragment>" + markup + "</fragment>");
    QStringList elements;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement() || reader.name() == u"fragment")
            continue;
        QString element = reader.name().toString();
        for (const QXmlStreamAttribute& attribute : reader.attributes())
            element += QStringLiteral(" %1=%2").arg(attribute.name(), attribute.value());
        elements << element;
    }
    if (reader.hasError())
        *error = reader.errorString();
    return elements;
}

// The same as Python's HTML parser sees it, as browsers would.
QStringList htmlElements(const QByteArray& markup)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import sys
from html.parser import HTMLParser
class Elements(HTMLParser):
    def handle_starttag(self, tag, attrs):
        print(" ".join([tag] + ["%s=%s" % (n, v) for n, v in attrs]))
    handle_startendtag = handle_starttag
parser = Elements(convert_charrefs=True)
parser.feed(sys.stdin.buffer.read().decode("utf-8"))
parser.close()
)")});
    python.write(markup);
    python.closeWriteChannel();
    if (!python.waitForFinished(20000) || python.exitCode() != 0)
        return {QStringLiteral("python failed: ") +
                QString::fromUtf8(python.readAllStandardError())};
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class GroupMarkupTest : public QObject
{
    Q_OBJECT

private slots:
    void writesOneLinePerPicture();
    void offersTheFormatsMade_data();
    void offersTheFormatsMade();
    void escapesNamesAndText_data();
    void escapesNamesAndText();
    void leavesOutPicturesWithoutAThumbnail();
    void takesTheAltText_data();
    void takesTheAltText();
};

void GroupMarkupTest::writesOneLinePerPicture()
{
    const std::vector<MarkupPicture> pictures = {
        {thumbnails("beach01_t", QSize(160, 120), true, allFormats), "beach01.jpg", "Dunes"},
        {thumbnails("beach02_t", QSize(89, 120), false, {OutputFormat::Jpeg}), "beach02.jpg",
         "IMG_4711.jpg"},
    };
    QCOMPARE(groupMarkup(pictures, "../images"),
             QByteArray("<a href=\"../images/beach01.jpg\"><picture>"
                        "<source type=\"image/avif\" srcset=\"beach01_t.avif 1x, "
                        "beach01_t@2x.avif 2x\" />"
                        "<source type=\"image/webp\" srcset=\"beach01_t.webp 1x, "
                        "beach01_t@2x.webp 2x\" />"
                        "<img src=\"beach01_t.jpg\" srcset=\"beach01_t.jpg 1x, beach01_t@2x.jpg "
                        "2x\" width=\"160\" height=\"120\" alt=\"Dunes\" loading=\"lazy\" "
                        "decoding=\"async\" /></picture></a>\n"
                        "<a href=\"../images/beach02.jpg\"><picture><img src=\"beach02_t.jpg\" "
                        "width=\"89\" height=\"120\" alt=\"IMG_4711.jpg\" loading=\"lazy\" "
                        "decoding=\"async\" /></picture></a>\n"));
    QCOMPARE(groupMarkup({}, "../images"), QByteArray());
}

void GroupMarkupTest::offersTheFormatsMade_data()
{
    QTest::addColumn<std::vector<ProfileOutput>>("outputs");
    QTest::addColumn<QString>("largeImage");
    QTest::addColumn<QString>("largeFolder");
    QTest::addColumn<QStringList>("elements");

    QTest::newRow("WebP only, same folder")
        << thumbnails("a_t", QSize(40, 30), false, {OutputFormat::Jpeg, OutputFormat::Webp})
        << "a.jpg"
        << ""
        << QStringList{"a href=a.jpg", "picture", "source type=image/webp srcset=a_t.webp",
                       "img src=a_t.jpg width=40 height=30 alt=A loading=lazy decoding=async"};
    QTest::newRow("AVIF at 2x, folder with a slash")
        << thumbnails("a_t", QSize(40, 30), true, {OutputFormat::Avif, OutputFormat::Jpeg})
        << "a.jpg"
        << "/www/images/"
        << QStringList{"a href=/www/images/a.jpg", "picture",
                       "source type=image/avif srcset=a_t.avif 1x, a_t@2x.avif 2x",
                       "img src=a_t.jpg srcset=a_t.jpg 1x, a_t@2x.jpg 2x width=40 height=30 "
                       "alt=A loading=lazy decoding=async"};
    // A format without its 1x file is not offered; one without its 2x file offers the 1x.
    std::vector<ProfileOutput> unmade = thumbnails("a_t", QSize(40, 30), true, allFormats);
    unmade[2].size.reset(); // AVIF 1x
    unmade[4].size.reset(); // WebP 2x
    QTest::newRow("some not made")
        << unmade << ""
        << "../images"
        << QStringList{"picture", "source type=image/webp srcset=a_t.webp",
                       "img src=a_t.jpg srcset=a_t.jpg 1x, a_t@2x.jpg 2x width=40 height=30 "
                       "alt=A loading=lazy decoding=async"};
}

void GroupMarkupTest::offersTheFormatsMade()
{
    QFETCH(std::vector<ProfileOutput>, outputs);
    QFETCH(QString, largeImage);
    QFETCH(QString, largeFolder);
    const QByteArray markup = groupMarkup({{outputs, largeImage, "A"}}, largeFolder);
    QString error;
    QTEST(xmlElements(markup, &error), "elements");
    QCOMPARE(error, QString());
    QTEST(htmlElements(markup), "elements");
}

void GroupMarkupTest::escapesNamesAndText_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("alt");
    QTest::addColumn<QString>("thumbnailUrl");
    QTest::addColumn<QString>("largeUrl");

    QTest::newRow("markup characters") << "<b>&\"'"
                                       << "../images"
                                       << "<b>&\"'.jpg"
                                       << "%3Cb%3E&%22%2701_t.jpg"
                                       << "../images/%3Cb%3E&%22%2701.jpg";
    // A blank or comma would split a srcset entry, # and ? end the path, % starts an escape,
    // and a colon in the first segment would read as a scheme.
    QTest::newRow("URL characters") << "a b,c#d?e%f:g"
                                    << "my images"
                                    << "a\tb"
                                    << "a%20b%2Cc%23d%3Fe%25f%3Ag01_t.jpg"
                                    << "my%20images/a%20b%2Cc%23d%3Fe%25f%3Ag01.jpg";
    QTest::newRow("letters of any script") << "plage-été-海"
                                           << "../images"
                                           << "été"
                                           << "plage-été-海01_t.jpg"
                                           << "../images/plage-été-海01.jpg";
}

// Names reach the page as working URLs and texts as the same characters, whether the page is
// read as HTML or as XML.
void GroupMarkupTest::escapesNamesAndText()
{
    QFETCH(QString, prefix);
    QFETCH(QString, folder);
    QFETCH(QString, alt);
    QFETCH(QString, thumbnailUrl);
    QFETCH(QString, largeUrl);
    const QByteArray markup = groupMarkup(
        {{thumbnails(prefix + "01_t", QSize(16, 12), true, allFormats), prefix + "01.jpg", alt}},
        folder);
    QVERIFY(!markup.contains(prefix.toUtf8()) || prefix.startsWith(u"plage"));

    QString error;
    const QStringList xml = xmlElements(markup, &error);
    QCOMPARE(error, QString());
    QCOMPARE(htmlElements(markup), xml);
    QCOMPARE(xml.size(), 5);
    QCOMPARE(xml[0], "a href=" + largeUrl);
    // An XML reader turns a tab in an attribute into a blank, as HTML keeps it: the markup
    // writes blanks for control characters, so both agree.
    const QString expectedAlt = QString(alt).replace(u'\t', u' ');
    QCOMPARE(xml[4], QStringLiteral("img src=%1 srcset=%1 1x, %2 2x width=16 height=12 alt=%3 "
                                    "loading=lazy decoding=async")
                         .arg(thumbnailUrl, QString(thumbnailUrl).replace("_t.jpg", "_t@2x.jpg"),
                              expectedAlt));
}

void GroupMarkupTest::leavesOutPicturesWithoutAThumbnail()
{
    std::vector<ProfileOutput> noJpeg = thumbnails("b_t", QSize(40, 30), false, allFormats);
    noJpeg[0].size.reset();
    const QByteArray markup =
        groupMarkup({{thumbnails("a_t", QSize(40, 30), false, allFormats), "a.jpg", "A"},
                     {noJpeg, "b.jpg", "B"},
                     {{}, "c.jpg", "C"},
                     {thumbnails("d_t", QSize(40, 30), false, allFormats), "", "D"}},
                    "../images");
    QCOMPARE(markup.count('\n'), 2);
    QVERIFY(markup.contains("a_t.jpg"));
    QVERIFY(!markup.contains("b_t") && !markup.contains("c.jpg"));
    QVERIFY(markup.split('\n')[1].startsWith("<picture><source type=\"image/avif\" srcset=\"d_t"));
}

void GroupMarkupTest::takesTheAltText_data()
{
    QTest::addColumn<QByteArray>("exif");
    QTest::addColumn<QByteArray>("xmp");
    QTest::addColumn<QString>("alt");

    const QByteArray described =
        PhotoPictures::ExifBlock()
            .textTag(EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION, "Beach at dawn")
            .payload();
    const QByteArray titled =
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title><rdf:Alt><rdf:li "
        "xml:lang=\"x-default\">Dunes</rdf:li></rdf:Alt></dc:title></rdf:Description></rdf:RDF>"
        "</x:xmpmeta>";
    QTest::newRow("description first") << described << titled << "Beach at dawn";
    QTest::newRow("then the title")
        << PhotoPictures::ExifBlock().orientation(6).payload() << titled << "Dunes";
    QTest::newRow("else the file name") << QByteArray() << QByteArray() << "IMG_4711.jpg";
}

void GroupMarkupTest::takesTheAltText()
{
    QFETCH(QByteArray, exif);
    QFETCH(QByteArray, xmp);
    QTEST(markupAltText(exif, xmp, "IMG_4711.jpg"), "alt");
}

QTEST_APPLESS_MAIN(GroupMarkupTest)
#include "tst_groupmarkup.moc"
