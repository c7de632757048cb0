#include "PhotoPictures.h"

#include "imaging/Credits.h"
#include "imaging/ExifBlock.h"
#include "imaging/PictureTitle.h"

#include <QTest>

#include <libexif/exif-data.h>

using PhotoPictures::ExifBlock;

Q_DECLARE_METATYPE(Credits)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

constexpr ExifTag bodySerialNumber = ExifTag(0xa431);

// A camera's block: the credits among everything an output must not carry.
QByteArray cameraBlock(ExifByteOrder order, const char* artist, const char* copyright)
{
    ExifBlock block(order);
    block.orientation(6)
        .textTag(EXIF_IFD_0, EXIF_TAG_MAKE, "Camera maker")
        .textTag(EXIF_IFD_EXIF, bodySerialNumber, "SERIAL-0042")
        .textTag(EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), "N");
    if (artist)
        block.textTag(EXIF_IFD_0, EXIF_TAG_ARTIST, artist);
    if (copyright)
        block.textTag(EXIF_IFD_0, EXIF_TAG_COPYRIGHT, copyright);
    return block.payload();
}

// Every tag of a block, per directory: "0 013b" for IFD 0's Artist.
QStringList tagsOf(const QByteArray& block)
{
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data, reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    QStringList tags;
    for (int ifd = 0; ifd < EXIF_IFD_COUNT; ++ifd)
        for (unsigned index = 0; index < data->ifd[ifd]->count; ++index)
            tags << QStringLiteral("%1 %2").arg(ifd).arg(data->ifd[ifd]->entries[index]->tag, 4, 16,
                                                         QLatin1Char('0'));
    const bool thumbnail = data->data && data->size;
    exif_data_unref(data);
    if (thumbnail)
        tags << QStringLiteral("thumbnail");
    return tags;
}

QByteArray xmpPacket(const QByteArray& description)
{
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">"
           "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
           "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">" +
           description + "</rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>";
}

} // namespace

class CreditsTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheCredits_data();
    void readsTheCredits();
    void keepsOnlyTheCredits_data();
    void keepsOnlyTheCredits();
    void keepsTwoNoticesApart();
    void readsTheDescription_data();
    void readsTheDescription();
    void readsTheXmpTitle_data();
    void readsTheXmpTitle();
};

void CreditsTest::readsTheCredits_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<Credits>("credits");

    QTest::newRow("both") << cameraBlock(EXIF_BYTE_ORDER_INTEL, "Ann Example", "(c) Ann")
                          << Credits{"Ann Example", "(c) Ann"};
    QTest::newRow("big-endian") << cameraBlock(EXIF_BYTE_ORDER_MOTOROLA, "Ann", "(c) Ann")
                                << Credits{"Ann", "(c) Ann"};
    QTest::newRow("artist only") << cameraBlock(EXIF_BYTE_ORDER_INTEL, "Ann", nullptr)
                                 << Credits{"Ann", ""};
    QTest::newRow("UTF-8 kept as bytes") << cameraBlock(EXIF_BYTE_ORDER_INTEL, "Zoë Ñandú", "© Zoë")
                                         << Credits{"Zoë Ñandú", "© Zoë"};
    QTest::newRow("none") << cameraBlock(EXIF_BYTE_ORDER_INTEL, nullptr, nullptr) << Credits{};
    QTest::newRow("cut off") << cameraBlock(EXIF_BYTE_ORDER_INTEL, "Ann", "(c) Ann").first(20)
                             << Credits{};
    QTest::newRow("not EXIF") << QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 33) << Credits{};
    QTest::newRow("empty") << QByteArray() << Credits{};
}

void CreditsTest::readsTheCredits()
{
    QFETCH(QByteArray, block);
    QTEST(readCredits(block), "credits");
}

void CreditsTest::keepsOnlyTheCredits_data()
{
    QTest::addColumn<QByteArray>("camera");
    QTest::addColumn<QStringList>("tags");

    QTest::newRow("both") << cameraBlock(EXIF_BYTE_ORDER_INTEL, "Ann", "(c) 2026 Ann")
                          << QStringList{"0 013b", "0 8298"};
    QTest::newRow("artist, big-endian")
        << cameraBlock(EXIF_BYTE_ORDER_MOTOROLA, "Ann", nullptr) << QStringList{"0 013b"};
    QTest::newRow("copyright") << cameraBlock(EXIF_BYTE_ORDER_INTEL, nullptr, "(c) Ann")
                               << QStringList{"0 8298"};
    QTest::newRow("neither") << cameraBlock(EXIF_BYTE_ORDER_INTEL, nullptr, nullptr)
                             << QStringList{};
}

// No position, no camera, no serial number, no turn: the credits alone, read back as given.
void CreditsTest::keepsOnlyTheCredits()
{
    QFETCH(QByteArray, camera);
    const Credits credits = readCredits(camera);
    const QByteArray block = creditsExif(credits);
    QTEST(tagsOf(block), "tags");
    QCOMPARE(readCredits(block), credits);
    QCOMPARE(block.isEmpty(), credits.isEmpty());
    for (const char* personal : {"SERIAL-0042", "Camera maker"})
        QVERIFY(!block.contains(personal));
}

// A copyright may hold the photographer's and the editor's notices, kept apart by a NUL.
void CreditsTest::keepsTwoNoticesApart()
{
    const Credits credits{"", QByteArray("(c) Ann\0(c) Bob", 15)};
    const QByteArray block = creditsExif(credits);
    QCOMPARE(tagsOf(block), QStringList{"0 8298"});
    QCOMPARE(readCredits(block), credits);
}

void CreditsTest::readsTheDescription_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<std::optional<QString>>("description");

    const auto described = [](const char* text) {
        return ExifBlock().textTag(EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION, text).payload();
    };
    QTest::newRow("plain") << described("Beach at dawn") << std::optional<QString>("Beach at dawn");
    QTest::newRow("UTF-8") << described("Plage à l’aube")
                           << std::optional<QString>("Plage à l’aube");
    QTest::newRow("Latin-1") << described("Plage \xe0 l'aube")
                             << std::optional<QString>("Plage à l'aube");
    QTest::newRow("blanks around") << described("  Beach \n") << std::optional<QString>("Beach");
    QTest::newRow("only blanks") << described("        ") << std::optional<QString>();
    QTest::newRow("missing") << cameraBlock(EXIF_BYTE_ORDER_INTEL, "Ann", nullptr)
                             << std::optional<QString>();
    QTest::newRow("no block") << QByteArray() << std::optional<QString>();
}

void CreditsTest::readsTheDescription()
{
    QFETCH(QByteArray, block);
    QTEST(exifDescription(block), "description");
}

void CreditsTest::readsTheXmpTitle_data()
{
    QTest::addColumn<QByteArray>("xmp");
    QTest::addColumn<std::optional<QString>>("title");

    QTest::newRow("default language")
        << xmpPacket("<dc:title><rdf:Alt><rdf:li xml:lang=\"de\">Strand</rdf:li>"
                     "<rdf:li xml:lang=\"x-default\">Beach &amp; dunes</rdf:li></rdf:Alt>"
                     "</dc:title>")
        << std::optional<QString>("Beach & dunes");
    QTest::newRow("one language")
        << xmpPacket("<dc:title><rdf:Alt><rdf:li xml:lang=\"fr\">Plage</rdf:li></rdf:Alt>"
                     "</dc:title>")
        << std::optional<QString>("Plage");
    QTest::newRow("in its JPEG segment")
        << QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) +
               xmpPacket("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">Beach</rdf:li>"
                         "</rdf:Alt></dc:title>")
        << std::optional<QString>("Beach");
    QTest::newRow("as an attribute")
        << xmpPacket("").replace("rdf:about=\"\"", "rdf:about=\"\" dc:title=\"Dunes\"")
        << std::optional<QString>("Dunes");
    QTest::newRow("other prefix")
        << QByteArray("<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><r:RDF "
                      "xmlns:r=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><r:Description "
                      "xmlns:e=\"http://purl.org/dc/elements/1.1/\"><e:title><r:Alt><r:li>Cove"
                      "</r:li></r:Alt></e:title></r:Description></r:RDF></x:xmpmeta>")
        << std::optional<QString>("Cove");
    QTest::newRow("a title of another schema")
        << xmpPacket("<photoshop:title xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\">"
                     "Not this</photoshop:title>")
        << std::optional<QString>();
    QTest::newRow("blank title")
        << xmpPacket("<dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\"> </rdf:li></rdf:Alt>"
                     "</dc:title>")
        << std::optional<QString>();
    QTest::newRow("no title") << xmpPacket("<dc:creator>Ann</dc:creator>")
                              << std::optional<QString>();
    QTest::newRow("not XML") << QByteArray("Exif\0\0II*\0", 10) << std::optional<QString>();
    QTest::newRow("empty") << QByteArray() << std::optional<QString>();
}

void CreditsTest::readsTheXmpTitle()
{
    QFETCH(QByteArray, xmp);
    QTEST(xmpTitle(xmp), "title");
}

QTEST_APPLESS_MAIN(CreditsTest)
#include "tst_credits.moc"
