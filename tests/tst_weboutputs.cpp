#include "BatchFixture.h"
#include "PhotoPictures.h"
#include "PictureReference.h"
#include "RecordingObserver.h"
#include "TestPictures.h"
#include "WebFiles.h"

#include "imaging/ColourTransforms.h"
#include "imaging/Credits.h"
#include "imaging/ImageBatch.h"
#include "imaging/JpegCodec.h"
#include "imaging/PictureDecoder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QXmlStreamReader>

#include <libexif/exif-data.h>

#include <memory>

using namespace TestPictures;
using PictureReference::decodeOutput;

namespace {

// The picture's size and first pixel, or an empty size when the file cannot be read.
QSize decodedSize(const QString& path)
{
    return PhotoPictures::sizeOf(decodeOutput(read(path)));
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

// How many tags an EXIF block holds in all its directories.
int exifTagCount(const QByteArray& block)
{
    const QByteArray payload = block.startsWith("Exif") ? block : QByteArray("Exif\0\0", 6) + block;
    const std::unique_ptr<ExifData, void (*)(ExifData*)> data(exif_data_new(), exif_data_unref);
    // As written: following the standard would add its mandatory tags.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(payload.constData()),
                        unsigned(payload.size()));
    int count = 0;
    for (int ifd = 0; ifd < EXIF_IFD_COUNT; ++ifd)
        count += int(data->ifd[ifd]->count);
    return count;
}

// An output's EXIF block, read by the format's own library.
QByteArray outputExif(const QString& path)
{
    const QByteArray bytes = read(path);
    if (path.endsWith(".jpg"))
        return WebFiles::jpegExif(bytes);
    if (path.endsWith(".webp"))
        return WebFiles::webpExif(bytes);
    return WebFiles::avifHeader(bytes).exif;
}

// One picture of a fragment as its markup gives it.
struct ShownPicture
{
    QString href;
    QStringList sources; // "type: srcset"
    QString src;
    QString srcset;
    QSize size;
    QString alt;
};

// Reads a fragment as XML, which its HTML also is; an empty list when it is not well formed.
QList<ShownPicture> readFragment(const QByteArray& fragment, bool* wellFormed)
{
    QList<ShownPicture> pictures;
    QXmlStreamReader reader("<body>" + fragment + "</body>");
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.name() == u"a") {
            pictures.append(ShownPicture());
            pictures.last().href = attributes.value("href").toString();
        } else if (reader.name() == u"picture" &&
                   (pictures.isEmpty() || !pictures.last().src.isEmpty())) {
            pictures.append(ShownPicture());
        } else if (reader.name() == u"source") {
            pictures.last().sources << attributes.value("type").toString() + ": " +
                                           attributes.value("srcset").toString();
        } else if (reader.name() == u"img") {
            ShownPicture& picture = pictures.last();
            picture.src = attributes.value("src").toString();
            picture.srcset = attributes.value("srcset").toString();
            picture.size =
                QSize(attributes.value("width").toInt(), attributes.value("height").toInt());
            picture.alt = attributes.value("alt").toString();
        }
    }
    *wellFormed = !reader.hasError();
    return pictures;
}

QString fromUrl(const QString& url)
{
    return QUrl::fromPercentEncoding(url.toUtf8());
}

} // namespace

// Generation with the web outputs: WebP, AVIF, 2x versions, sizes that keep proportions or
// never enlarge, progressive JPEGs, credits and the HTML fragments, each read back by the
// library of its format.
class WebOutputsTest : public QObject, private BatchFixture
{
    Q_OBJECT

private:
    // Hidden files count too: nothing a run leaves goes unseen.
    QStringList files(const QString& folder) const
    {
        return BatchFixture::files(folder, QDir::Files | QDir::Hidden);
    }
    // The settings as morvane.cfg gives them: the sixteen keys of a file from before the web
    // outputs, then the given keys, each 1.
    void loadSettings(const QStringList& keys)
    {
        QByteArray text = "ThumbSaveDir = " + QFile::encodeName(m_dir->filePath("thumbs")) +
                          "\nThumbWidth = 40\nThumbHeight = 40\nThumbUseWidth = 1\n"
                          "ThumbUseHeight = 0\nThumbQuality = 70\nThumbExtension = _t\n"
                          "LargeSaveDir = " +
                          QFile::encodeName(m_dir->filePath("images")) +
                          "\nLargeWidth = 120\nLargeHeight = 120\nLargeUseWidth = 1\n"
                          "LargeUseHeight = 0\nLargeQuality = 85\nLargeExtension = \n"
                          "RenameOriginalFile = 0\nOriginalExtension = _orig\n";
        for (const QString& key : keys)
            text += key.toLatin1() + " = 1\n";
        const QString path = m_dir->filePath("morvane.cfg");
        QVERIFY(write(path, text));
        m_settings = ImageSettings();
        QVERIFY(m_settings.load(path));
    }
    GeneratedImages run(int threads = 2)
    {
        BatchControl control;
        control.threads = threads;
        control.markupLinkFolder = "../images";
        return BatchFixture::run(control);
    }

private slots:
    void init();

    void eachKeyMakesItsFiles_data();
    void eachKeyMakesItsFiles();
    void sizesOfEveryOutput_data();
    void sizesOfEveryOutput();
    void everyFormatShowsThePicture();
    void withoutTheNewKeysPixelsAreTodays();
    void progressiveJpegsKeepTheirPixels();
    void creditsAloneGoIntoEveryOutput_data();
    void creditsAloneGoIntoEveryOutput();
    void fragmentShowsTheFilesMade();
    void fragmentEscapesEveryName();
    void altTextFromDescriptionTitleOrName();
    void oneFragmentPerGroupUsed();
    void fragmentNeverReplacesAListedPicture();
    void noFragmentWithoutItsFolderOrAfterAStop();
    void sameFilesOnOneThreadAndMany();
    void reportsEachOutputNotMade();
};

void WebOutputsTest::init()
{
    makeFolders();
    m_groupText = {"beach", "", "", "", ""};
    loadSettings({});
}

void WebOutputsTest::eachKeyMakesItsFiles_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("thumbs");
    QTest::addColumn<QStringList>("images");

    const QStringList jpegs = {"beach01.jpg"};
    QTest::newRow("none") << QStringList() << QStringList({"beach01_t.jpg"}) << jpegs;
    QTest::newRow("ThumbWebp") << QStringList({"ThumbWebp"})
                               << QStringList({"beach01_t.jpg", "beach01_t.webp"}) << jpegs;
    QTest::newRow("ThumbAvif") << QStringList({"ThumbAvif"})
                               << QStringList({"beach01_t.avif", "beach01_t.jpg"}) << jpegs;
    QTest::newRow("ThumbDouble") << QStringList({"ThumbDouble"})
                                 << QStringList({"beach01_t.jpg", "beach01_t@2x.jpg"}) << jpegs;
    QTest::newRow("LargeWebp") << QStringList({"LargeWebp"}) << QStringList({"beach01_t.jpg"})
                               << QStringList({"beach01.jpg", "beach01.webp"});
    QTest::newRow("LargeAvif") << QStringList({"LargeAvif"}) << QStringList({"beach01_t.jpg"})
                               << QStringList({"beach01.avif", "beach01.jpg"});
    // 2 x 120 is larger than the 160-pixel picture: no 2x version.
    QTest::newRow("LargeDouble") << QStringList({"LargeDouble"}) << QStringList({"beach01_t.jpg"})
                                 << jpegs;
    for (const char* key : {"ThumbKeepRatio", "ThumbNoEnlarge", "LargeKeepRatio", "LargeNoEnlarge",
                            "ProgressiveJpeg", "KeepCredits"})
        QTest::newRow(key) << QStringList({key}) << QStringList({"beach01_t.jpg"}) << jpegs;
    QTest::newRow("WriteMarkup") << QStringList({"WriteMarkup"})
                                 << QStringList({"beach.html", "beach01_t.jpg"}) << jpegs;
    QTest::newRow("all") << QStringList({"ThumbWebp", "ThumbAvif", "ThumbDouble", "LargeWebp",
                                         "LargeAvif", "LargeDouble", "WriteMarkup"})
                         << QStringList({"beach.html", "beach01_t.avif", "beach01_t.jpg",
                                         "beach01_t.webp", "beach01_t@2x.avif", "beach01_t@2x.jpg",
                                         "beach01_t@2x.webp"})
                         << QStringList({"beach01.avif", "beach01.jpg", "beach01.webp"});
}

void WebOutputsTest::eachKeyMakesItsFiles()
{
    QFETCH(QStringList, keys);
    QFETCH(QStringList, thumbs);
    QFETCH(QStringList, images);
    loadSettings(keys);
    addPhoto("IMG_1.jpg", "1", jpeg(QSize(160, 120)));

    const GeneratedImages generated = run();
    QCOMPARE(files("thumbs"), thumbs);
    QCOMPARE(files("images"), images);
    QVERIFY(generated.complete());
    QCOMPARE(generated.profiles.size(), size_t(2));
    QCOMPARE(generated.profiles[0].outputs, QStringLiteral("thumbnails"));
    QCOMPARE(sorted(generated.profiles[0].written + generated.fragments), sorted([&] {
                 QStringList paths;
                 for (const QString& name : thumbs)
                     paths << thumb(name);
                 return paths;
             }()));
    QCOMPARE(generated.profiles[1].written.size(), images.size());
    QCOMPARE(m_observer.filtered("notWritten|unreadable|message"), QStringList());
}

void WebOutputsTest::sizesOfEveryOutput_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QSize>("single");
    QTest::addColumn<QSize>("twice"); // empty: none made

    const QStringList doubled = {"ThumbWebp", "ThumbAvif", "ThumbDouble"};
    QTest::newRow("landscape") << QSize(640, 480) << doubled << QSize(40, 30) << QSize(80, 60);
    QTest::newRow("portrait, a 3:4 ratio truncated")
        << QSize(480, 640) << doubled << QSize(40, 53) << QSize(80, 106);
    QTest::newRow("2x larger than the picture")
        << QSize(70, 50) << doubled << QSize(40, 28) << QSize();
    QTest::newRow("2x exactly the picture")
        << QSize(80, 60) << doubled << QSize(40, 30) << QSize(80, 60);
    const QStringList box = doubled + QStringList({"ThumbStretch"});
    QTest::newRow("stretched into the box")
        << QSize(480, 640) << box << QSize(40, 40) << QSize(80, 80);
    const QStringList kept = box + QStringList({"ThumbKeepRatio"});
    QTest::newRow("kept inside the box, landscape")
        << QSize(640, 480) << kept << QSize(40, 30) << QSize(80, 60);
    QTest::newRow("kept inside the box, portrait")
        << QSize(480, 640) << kept << QSize(29, 40) << QSize(58, 80);
    QTest::newRow("enlarged") << QSize(30, 20) << doubled << QSize(40, 26) << QSize();
    const QStringList never = doubled + QStringList({"ThumbNoEnlarge"});
    QTest::newRow("never enlarged") << QSize(30, 20) << never << QSize(30, 20) << QSize();
    QTest::newRow("never enlarged, kept inside the box")
        << QSize(20, 30) << kept + QStringList({"ThumbNoEnlarge"}) << QSize(20, 30) << QSize();
    QTest::newRow("not enlarging, large enough")
        << QSize(640, 480) << never << QSize(40, 30) << QSize(80, 60);
}

// Every format of a size gives that size exactly, and the 2x versions exactly twice it.
void WebOutputsTest::sizesOfEveryOutput()
{
    QFETCH(QSize, picture);
    QFETCH(QStringList, keys);
    QFETCH(QSize, single);
    QFETCH(QSize, twice);
    const bool box = keys.removeAll("ThumbStretch") > 0;
    loadSettings(keys);
    if (box) {
        m_settings.thumbnail.UseHeight = 1;
        m_settings.thumbnail.Height = 40;
    }
    addPhoto("IMG_1.jpg", "1", jpeg(picture));

    QVERIFY(run().complete());
    for (const char* suffix : {".jpg", ".webp", ".avif"}) {
        QCOMPARE(decodedSize(thumb(QStringLiteral("beach01_t") + suffix)), single);
        const QString doubledPath = thumb(QStringLiteral("beach01_t@2x") + suffix);
        QCOMPARE(QFile::exists(doubledPath), !twice.isEmpty());
        if (!twice.isEmpty())
            QCOMPARE(decodedSize(doubledPath), twice);
    }
}

// WebP and AVIF, read by libwebp and libavif, hold the picture: each quarter in its corner.
void WebOutputsTest::everyFormatShowsThePicture()
{
    loadSettings({"ThumbWebp", "ThumbAvif", "ThumbDouble", "LargeWebp", "LargeAvif"});
    addPhoto("IMG_1.jpg", "1", EncodeJpeg(PhotoPictures::quarters(640, 480).get(), 95));

    QVERIFY(run().complete());
    for (const QString& path :
         {thumb("beach01_t.webp"), thumb("beach01_t.avif"), thumb("beach01_t@2x.webp"),
          thumb("beach01_t@2x.avif"), large("beach01.webp"), large("beach01.avif")}) {
        const GdImage decoded = decodeOutput(read(path));
        QVERIFY2(decoded, qPrintable(path));
        QCOMPARE(PhotoPictures::cornerQuarters(*decoded, 3, 16), (QList<int>{0, 1, 2, 3}));
    }
    const WebFiles::AvifHeader avif = WebFiles::avifHeader(read(large("beach01.avif")));
    QVERIFY(avif.valid);
    QCOMPARE(avif.depth, 8);
}

// A settings file from before the web outputs gives the JPEGs it always gave, pixel for
// pixel: the picture decoded and scaled as before, encoded as GD encodes it; only the
// Huffman tables differ.
void WebOutputsTest::withoutTheNewKeysPixelsAreTodays()
{
    addPhoto("IMG_1.jpg", "1",
             EncodeJpeg(PictureReference::drawPhoto(QSize(800, 600), 3).get(), 90));
    addPhoto("IMG_2.jpg", "1", jpeg(QSize(300, 400)));
    QVERIFY(run().complete());
    QCOMPARE(files("thumbs"), QStringList({"beach01_t.jpg", "beach02_t.jpg"}));
    QCOMPARE(files("images"), QStringList({"beach01.jpg", "beach02.jpg"}));

    ColourTransforms transforms;
    for (int number = 1; number <= 2; ++number) {
        PictureDecoder decoder(photo(QStringLiteral("IMG_%1.jpg").arg(number)), transforms);
        const QString name = QStringLiteral("beach0%1").arg(number);
        const QString outputs[] = {thumb(name + "_t.jpg"), large(name + ".jpg")};
        const QSize sizes[] = {decodedSize(outputs[0]), decodedSize(outputs[1])};
        const DecodedPicture picture = decoder.decode(sizes[0].expandedTo(sizes[1]));
        const int qualities[] = {70, 85};
        for (int kind = 0; kind < 2; ++kind) {
            const GdImage scaled = picture.scaled(sizes[kind]);
            int size = 0;
            const std::unique_ptr<void, void (*)(void*)> byGd(
                gdImageJpegPtr(scaled.get(), &size, qualities[kind]), gdFree);
            const GdImage expected =
                PhotoPictures::readJpeg(QByteArray(static_cast<const char*>(byGd.get()), size));
            const GdImage written = PhotoPictures::readJpeg(read(outputs[kind]));
            QVERIFY(expected && written);
            QCOMPARE(QSize(written->sx, written->sy), QSize(expected->sx, expected->sy));
            for (int y = 0; y < expected->sy; ++y)
                for (int x = 0; x < expected->sx; ++x)
                    QCOMPARE(written->tpixels[y][x] & 0xffffff, expected->tpixels[y][x] & 0xffffff);
            QVERIFY(read(outputs[kind]).size() < size);
            QVERIFY(!WebFiles::isProgressive(read(outputs[kind])));
        }
    }
}

void WebOutputsTest::progressiveJpegsKeepTheirPixels()
{
    addPhoto("IMG_1.jpg", "1",
             EncodeJpeg(PictureReference::drawPhoto(QSize(400, 300), 5).get(), 90));
    loadSettings({"ThumbDouble"});
    QVERIFY(run().complete());
    QMap<QString, QByteArray> baseline;
    for (const QString& name : files("thumbs") + files("images"))
        baseline[name] = read(QFile::exists(thumb(name)) ? thumb(name) : large(name));

    loadSettings({"ThumbDouble", "ProgressiveJpeg"});
    QVERIFY(run().complete());
    QCOMPARE(baseline.size(), 3);
    for (auto it = baseline.cbegin(); it != baseline.cend(); ++it) {
        const QString path = QFile::exists(thumb(it.key())) ? thumb(it.key()) : large(it.key());
        const QByteArray progressive = read(path);
        QVERIFY2(WebFiles::isProgressive(progressive), qPrintable(it.key()));
        const GdImage a = PhotoPictures::readJpeg(progressive);
        const GdImage b = PhotoPictures::readJpeg(it.value());
        QVERIFY(a && b);
        for (int y = 0; y < a->sy; ++y)
            QVERIFY(std::equal(a->tpixels[y], a->tpixels[y] + a->sx, b->tpixels[y]));
    }
}

void WebOutputsTest::creditsAloneGoIntoEveryOutput_data()
{
    QTest::addColumn<bool>("heif");
    QTest::addColumn<bool>("keepCredits");

    QTest::newRow("JPEG, credits kept") << false << true;
    QTest::newRow("HEIC, credits kept") << true << true;
    QTest::newRow("JPEG, nothing kept") << false << false;
    QTest::newRow("HEIC, nothing kept") << true << false;
}

// Artist and Copyright, and nothing else of the picture's EXIF block: no camera, no serial
// number, no position, no orientation.
void WebOutputsTest::creditsAloneGoIntoEveryOutput()
{
    QFETCH(bool, heif);
    QFETCH(bool, keepCredits);
    PhotoPictures::ExifBlock exif;
    exif.orientation(6)
        .textTag(EXIF_IFD_0, EXIF_TAG_ARTIST, "Ann Example")
        .textTag(EXIF_IFD_0, EXIF_TAG_COPYRIGHT, "(c) 2026 Ann Example")
        .textTag(EXIF_IFD_0, EXIF_TAG_MAKE, "Camera Maker")
        .textTag(EXIF_IFD_EXIF, EXIF_TAG_BODY_SERIAL_NUMBER, "SN 123456")
        .textTag(EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), "N");
    const GdImage picture = PictureReference::drawPhoto(QSize(160, 120), 2);
    addPhoto("IMG_1.jpg", "1",
             heif ? PhotoPictures::heicWithExif(*picture, heif_orientation_normal, exif)
                  : PhotoPictures::withExif(EncodeJpeg(picture.get(), 90), exif));
    loadSettings(QStringList({"ThumbWebp", "ThumbAvif", "ThumbDouble", "LargeWebp", "LargeAvif"}) +
                 (keepCredits ? QStringList({"KeepCredits"}) : QStringList()));

    QVERIFY(run().complete());
    const QStringList outputs = QStringList(
        {thumb("beach01_t.jpg"), thumb("beach01_t.webp"), thumb("beach01_t.avif"),
         thumb("beach01_t@2x.jpg"), thumb("beach01_t@2x.webp"), thumb("beach01_t@2x.avif"),
         large("beach01.jpg"), large("beach01.webp"), large("beach01.avif")});
    for (const QString& path : outputs) {
        const QByteArray block = outputExif(path);
        if (!keepCredits) {
            QVERIFY2(block.isEmpty(), qPrintable(path));
            continue;
        }
        QVERIFY2(!block.isEmpty(), qPrintable(path));
        const QByteArray payload =
            block.startsWith("Exif") ? block : QByteArray("Exif\0\0", 6) + block;
        QCOMPARE(readCredits(payload), (Credits{"Ann Example", "(c) 2026 Ann Example"}));
        QCOMPARE(exifTagCount(block), 2);
    }
    // The picture is the right way up without its orientation tag.
    QCOMPARE(decodedSize(large("beach01.jpg")), heif ? QSize(120, 90) : QSize(120, 160));
}

// The fragment names exactly the files made, their sizes, and the large image by its path
// from the thumbnails.
void WebOutputsTest::fragmentShowsTheFilesMade()
{
    loadSettings({"ThumbWebp", "ThumbAvif", "ThumbDouble", "LargeWebp", "WriteMarkup"});
    addPhoto("IMG_1.jpg", "1", jpeg(QSize(160, 120)));
    addPhoto("IMG_2.jpg", "1", jpeg(QSize(60, 80))); // no 2x: 80 is more than 60
    addPhoto("IMG_3.jpg", "", jpeg(QSize(60, 80)));
    addPhoto("bad.jpg", "1", png(QSize(20, 20)));

    const GeneratedImages generated = run();
    QCOMPARE(generated.fragments, QStringList({thumb("beach.html")}));
    bool wellFormed = false;
    const QList<ShownPicture> shown = readFragment(read(thumb("beach.html")), &wellFormed);
    QVERIFY(wellFormed);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].href, QStringLiteral("../images/beach01.jpg"));
    QCOMPARE(shown[0].sources,
             QStringList({"image/avif: beach01_t.avif 1x, beach01_t@2x.avif 2x",
                          "image/webp: beach01_t.webp 1x, beach01_t@2x.webp 2x"}));
    QCOMPARE(shown[0].src, QStringLiteral("beach01_t.jpg"));
    QCOMPARE(shown[0].srcset, QStringLiteral("beach01_t.jpg 1x, beach01_t@2x.jpg 2x"));
    QCOMPARE(shown[0].alt, QStringLiteral("IMG_1.jpg"));
    QCOMPARE(shown[1].href, QStringLiteral("../images/beach02.jpg"));
    QCOMPARE(shown[1].sources,
             QStringList({"image/avif: beach02_t.avif", "image/webp: beach02_t.webp"}));
    QCOMPARE(shown[1].srcset, QString());
    for (const ShownPicture& picture : shown) {
        QCOMPARE(decodedSize(thumb(fromUrl(picture.src))), picture.size);
        QVERIFY(QFile::exists(m_dir->filePath("thumbs/" + fromUrl(picture.href))));
        for (const QString& source : picture.sources + QStringList({picture.srcset}))
            for (const QString& entry : source.section(": ", -1).split(", ", Qt::SkipEmptyParts))
                QVERIFY2(QFile::exists(thumb(fromUrl(entry.section(' ', 0, 0)))),
                         qPrintable(entry));
    }
}

// A name of any characters comes back whole from the markup, parsed as XML and its URLs
// decoded.
void WebOutputsTest::fragmentEscapesEveryName()
{
    loadSettings({"ThumbWebp", "WriteMarkup"});
    const QString prefix = QStringLiteral("<b>&\"' é%#?");
    m_groupText[0] = prefix;
    addPhoto("<i>&\"'.jpg", "1", jpeg(QSize(160, 120)));

    QVERIFY(run().complete());
    const QString fragment = thumb(prefix + ".html");
    QVERIFY(QFile::exists(fragment));
    const QByteArray text = read(fragment);
    QVERIFY(!text.contains("<b>") && !text.contains("<i>"));
    bool wellFormed = false;
    const QList<ShownPicture> shown = readFragment(text, &wellFormed);
    QVERIFY(wellFormed);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(fromUrl(shown[0].src), prefix + "01_t.jpg");
    QCOMPARE(fromUrl(shown[0].href), "../images/" + prefix + "01.jpg");
    QCOMPARE(shown[0].alt, QStringLiteral("<i>&\"'.jpg"));
    QVERIFY(QFile::exists(thumb(fromUrl(shown[0].src))));
}

void WebOutputsTest::altTextFromDescriptionTitleOrName()
{
    loadSettings({"WriteMarkup"});
    PhotoPictures::ExifBlock described;
    described.textTag(EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION, "Low tide at dawn");
    const QByteArray photo = jpeg(QSize(160, 120));
    addPhoto("described.jpg", "1", PhotoPictures::withExif(photo, described));
    const QByteArray xmp =
        QByteArray("http://ns.adobe.com/xap/1.0/", 29) +
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
        "xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:title><rdf:Alt><rdf:li "
        "xml:lang='x-default'>The pier</rdf:li></rdf:Alt></dc:title></rdf:Description>"
        "</rdf:RDF></x:xmpmeta>";
    addPhoto("titled.jpg", "1", PhotoPictures::withSegment(photo, 0xe1, xmp));
    addPhoto("plain.jpg", "1", photo);
    const GdImage picture = PictureReference::drawPhoto(QSize(160, 120), 4);
    addPhoto("phone.heic", "1",
             PhotoPictures::heicWithExif(*picture, heif_orientation_normal, described));

    QVERIFY(run().complete());
    bool wellFormed = false;
    const QList<ShownPicture> shown = readFragment(read(thumb("beach.html")), &wellFormed);
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown[0].alt, QStringLiteral("Low tide at dawn"));
    QCOMPARE(shown[1].alt, QStringLiteral("The pier"));
    QCOMPARE(shown[2].alt, QStringLiteral("plain.jpg"));
    QCOMPARE(shown[3].alt, QStringLiteral("Low tide at dawn"));
}

void WebOutputsTest::oneFragmentPerGroupUsed()
{
    loadSettings({"WriteMarkup", "WebSafeNames"});
    m_groupText = {"Été à Paris", "", "unused", "beach", ""};
    addPhoto("a.jpg", "1", jpeg(QSize(80, 60)));
    addPhoto("b.jpg", "2", jpeg(QSize(80, 60)));
    addPhoto("c.jpg", "1", jpeg(QSize(80, 60)));
    addPhoto("d.jpg", "7", jpeg(QSize(80, 60))); // names no group
    addPhoto("e.jpg", "4", png(QSize(8, 8)));    // unreadable: an empty fragment

    const GeneratedImages generated = run();
    QCOMPARE(generated.fragments,
             QStringList({thumb("ete-a-paris.html"), thumb("gallery.html"), thumb("beach.html")}));
    QCOMPARE(read(thumb("beach.html")), QByteArray());
    bool wellFormed = false;
    QCOMPARE(readFragment(read(thumb("ete-a-paris.html")), &wellFormed).size(), 2);
    QCOMPARE(readFragment(read(thumb("gallery.html")), &wellFormed)[0].src,
             QStringLiteral("01_t.jpg"));
    QCOMPARE(files("thumbs").filter(".html").size(), 3);
}

void WebOutputsTest::fragmentNeverReplacesAListedPicture()
{
    loadSettings({"WriteMarkup"});
    m_settings.thumbnail.SaveDir = m_dir->filePath("photos");
    const QByteArray listed = jpeg(QSize(80, 60));
    addPhoto("beach.html", "", listed); // a JPEG, whatever its name says
    addPhoto("a.jpg", "1", jpeg(QSize(80, 60)));

    const GeneratedImages generated = run();
    QCOMPARE(read(photo("beach.html")), listed);
    QCOMPARE(generated.fragmentsNotWritten, 1);
    QVERIFY(generated.fragments.isEmpty());
    QVERIFY(!generated.complete());
    QCOMPARE(m_observer.filtered("message"),
             QStringList({"message Failed to write file " + photo("beach.html") +
                          ": would replace a picture of the list"}));
}

void WebOutputsTest::noFragmentWithoutItsFolderOrAfterAStop()
{
    loadSettings({"WriteMarkup"});
    m_settings.thumbnail.SaveDir = m_dir->filePath("gone");
    addPhoto("a.jpg", "1", jpeg(QSize(80, 60)));
    GeneratedImages generated = run();
    QVERIFY(generated.fragments.isEmpty());
    QCOMPARE(files("images"), QStringList({"beach01.jpg"}));

    loadSettings({"WriteMarkup"});
    const std::atomic<bool> stop = true;
    BatchControl control;
    control.stop = &stop;
    generated = GenerateImages(m_rows, m_groupText, m_settings, m_observer, control);
    QVERIFY(generated.stopped && generated.fragments.isEmpty());
    QVERIFY(files("thumbs").isEmpty());

    // Without the large images' folder, the thumbnails are shown without links.
    m_settings.large.SaveDir = m_dir->filePath("gone");
    generated = run();
    QCOMPARE(generated.fragments, QStringList({thumb("beach.html")}));
    bool wellFormed = false;
    const QList<ShownPicture> shown = readFragment(read(thumb("beach.html")), &wellFormed);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].href, QString());
    QCOMPARE(shown[0].src, QStringLiteral("beach01_t.jpg"));
}

// Outputs are made on every thread at once, yet every file and every report comes out as on
// one thread.
void WebOutputsTest::sameFilesOnOneThreadAndMany()
{
    loadSettings({"ThumbWebp", "ThumbAvif", "ThumbDouble", "LargeWebp", "LargeAvif", "LargeDouble",
                  "KeepCredits", "WriteMarkup", "ProgressiveJpeg"});
    m_settings.RenameOriginalFile = 1;
    m_groupText = {"beach", "city", "", "", ""};
    const QStringList groups = {"1", "2", "1", "", "1", "2"};
    QList<QByteArray> pictures;
    for (int index = 0; index < groups.size(); ++index)
        pictures << (index == 2 ? png(QSize(8, 8))
                                : EncodeJpeg(PictureReference::drawPhoto(
                                                 index % 2 ? QSize(200, 260) : QSize(300, 200),
                                                 unsigned(index))
                                                 .get(),
                                             90));
    for (int index = 0; index < groups.size(); ++index)
        addPhoto(QStringLiteral("IMG_%1.jpg").arg(index), groups[index], pictures[index]);
    const auto outcome = [&] {
        QMap<QString, QByteArray> all;
        for (const char* folder : {"photos", "thumbs", "images"})
            for (const QString& name : files(folder))
                all[QStringLiteral("%1/%2").arg(folder, name)] =
                    read(m_dir->filePath(QStringLiteral("%1/%2").arg(folder, name)));
        return all;
    };

    run(1);
    const QMap<QString, QByteArray> alone = outcome();
    const QStringList aloneEvents = m_observer.events;
    // Four pictures in every format at 1x and 2x, and two fragments.
    QCOMPARE(files("thumbs").size(), 4 * 6 + 2);
    for (const char* folder : {"photos", "thumbs", "images"}) {
        QDir(m_dir->filePath(folder)).removeRecursively();
        QDir(m_dir->path()).mkdir(folder);
    }
    m_rows.clear();
    for (int index = 0; index < groups.size(); ++index)
        addPhoto(QStringLiteral("IMG_%1.jpg").arg(index), groups[index], pictures[index]);
    m_observer = RecordingObserver();
    run(4);
    QCOMPARE(m_observer.events, aloneEvents);
    QCOMPARE(outcome().keys(), alone.keys());
    QCOMPARE(outcome(), alone);
}

// Each output that cannot be made is reported on its own, with its reason; the others are
// written.
void WebOutputsTest::reportsEachOutputNotMade()
{
    loadSettings({"ThumbWebp", "ThumbAvif"});
    // Wider than a WebP may be, within what a JPEG and an AVIF hold.
    m_settings.thumbnail.Width = 16384;
    m_settings.thumbnail.Height = 1;
    m_settings.thumbnail.UseHeight = 1;
    addPhoto("IMG_1.jpg", "1", jpeg(QSize(80, 60)));

    const GeneratedImages generated = run();
    QCOMPARE(m_observer.filtered("notWritten"),
             QStringList({"notWritten 0 " + thumb("beach01_t.webp")}));
    QCOMPARE(m_observer.reasons, QStringList({"too large for a picture file"}));
    QCOMPARE(files("thumbs"), QStringList({"beach01_t.avif", "beach01_t.jpg"}));
    QCOMPARE(generated.outputsNotMade, 1);
    QCOMPARE(generated.picturesMade, 0);
}

QTEST_GUILESS_MAIN(WebOutputsTest)
#include "tst_weboutputs.moc"
