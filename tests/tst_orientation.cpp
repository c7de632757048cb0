#include "PhotoPictures.h"

#include "imaging/ExifOrientation.h"
#include "imaging/OutputSize.h"

#include <QTest>

using namespace PhotoPictures;

Q_DECLARE_METATYPE(Orientation)

namespace {

// A picture in which no two pixels look alike, so any misplaced pixel shows.
GdImage numbered(int width, int height)
{
    GdImage image(gdImageCreateTrueColor(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->tpixels[y][x] = gdTrueColor(x % 256, y % 256, (x / 256) * 16 + y / 256);
    return image;
}

bool samePixels(const gdImage& a, const gdImage& b)
{
    if (a.sx != b.sx || a.sy != b.sy)
        return false;
    for (int y = 0; y < a.sy; ++y)
        if (!std::equal(a.tpixels[y], a.tpixels[y] + a.sx, b.tpixels[y]))
            return false;
    return true;
}

QByteArray truncatedExif()
{
    const QByteArray block = ExifBlock().orientation(6).payload();
    return block.first(block.size() / 2);
}

// An EXIF block whose first directory lies far beyond its end.
QByteArray exifPointingOutside()
{
    QByteArray block = ExifBlock().orientation(6).payload();
    block[10] = char(0xf0); // the offset of IFD0, Intel order, after "Exif\0\0II*\0"
    block[11] = char(0xff);
    block[12] = char(0xff);
    block[13] = char(0x7f);
    return block;
}

} // namespace

class OrientationTest : public QObject
{
    Q_OBJECT

private slots:
    void sizesFollowTheUprightPicture_data();
    void sizesFollowTheUprightPicture();
    void cornersLandWhereTheTagSays_data();
    void cornersLandWhereTheTagSays();
    void turningBackRestoresEveryPixel_data();
    void turningBackRestoresEveryPixel();
    void orientationIsReadAsTagged_data();
    void orientationIsReadAsTagged();
};

void OrientationTest::sizesFollowTheUprightPicture_data()
{
    QTest::addColumn<Orientation>("orientation");
    QTest::addColumn<bool>("useWidth");
    QTest::addColumn<int>("side");
    QTest::addColumn<QSize>("upright");
    QTest::addColumn<QSize>("output");

    const auto row = [](const char* name, Orientation orientation, bool useWidth, int side,
                        QSize upright, QSize output) {
        QTest::newRow(name) << orientation << useWidth << side << upright << output;
    };
    // A 4000 x 3000 photograph; the ratio is the 32-bit float of the upright picture.
    row("as stored", Orientation::AsStored, true, 160, {4000, 3000}, {160, 120});
    row("flipped", Orientation::FlipHorizontal, true, 160, {4000, 3000}, {160, 120});
    row("half turn", Orientation::Rotate180, true, 160, {4000, 3000}, {160, 120});
    row("flipped upside down", Orientation::FlipVertical, true, 160, {4000, 3000}, {160, 120});
    row("transposed", Orientation::Transpose, true, 160, {3000, 4000}, {160, 213});
    row("phone held upright", Orientation::Rotate90Clockwise, true, 160, {3000, 4000}, {160, 213});
    row("transversed", Orientation::Transverse, true, 160, {3000, 4000}, {160, 213});
    row("turned left", Orientation::Rotate90CounterClockwise, true, 160, {3000, 4000}, {160, 213});
    row("upright by height", Orientation::Rotate90Clockwise, false, 120, {3000, 4000}, {89, 120});
}

void OrientationTest::sizesFollowTheUprightPicture()
{
    QFETCH(Orientation, orientation);
    QFETCH(bool, useWidth);
    QFETCH(int, side);
    QFETCH(QSize, upright);
    QFETCH(QSize, output);

    QCOMPARE(uprightSize(QSize(4000, 3000), orientation), upright);
    OutputProfile profile;
    profile.UseWidth = useWidth;
    profile.UseHeight = !useWidth;
    profile.Width = profile.Height = side;
    QCOMPARE(outputSize(profile, upright), output);
}

void OrientationTest::cornersLandWhereTheTagSays_data()
{
    QTest::addColumn<Orientation>("orientation");
    // The stored quarter (0 top left, 1 top right, 2 bottom left, 3 bottom right) seen in
    // the upright picture's top left, top right, bottom left and bottom right corners.
    QTest::addColumn<QList<int>>("corners");

    QTest::newRow("1 as stored") << Orientation::AsStored << QList{0, 1, 2, 3};
    QTest::newRow("2 mirrored") << Orientation::FlipHorizontal << QList{1, 0, 3, 2};
    QTest::newRow("3 upside down") << Orientation::Rotate180 << QList{3, 2, 1, 0};
    QTest::newRow("4 mirrored upside down") << Orientation::FlipVertical << QList{2, 3, 0, 1};
    QTest::newRow("5 row 0 on the left") << Orientation::Transpose << QList{0, 2, 1, 3};
    QTest::newRow("6 row 0 on the right") << Orientation::Rotate90Clockwise << QList{2, 0, 3, 1};
    QTest::newRow("7 row 0 on the right, mirrored") << Orientation::Transverse << QList{3, 1, 2, 0};
    QTest::newRow("8 row 0 on the left, mirrored")
        << Orientation::Rotate90CounterClockwise << QList{1, 3, 0, 2};
}

void OrientationTest::cornersLandWhereTheTagSays()
{
    QFETCH(Orientation, orientation);
    QFETCH(QList<int>, corners);

    // Larger than the copying's tiles, and of odd sides, so no edge case hides.
    const QSize stored(151, 67);
    const GdImage upright = turnUpright(quarters(stored.width(), stored.height()), orientation);
    QVERIFY(upright);
    QCOMPARE(QSize(upright->sx, upright->sy), uprightSize(stored, orientation));
    const int right = upright->sx - 1;
    const int bottom = upright->sy - 1;
    QCOMPARE(upright->tpixels[0][0], quarterColours[corners[0]]);
    QCOMPARE(upright->tpixels[0][right], quarterColours[corners[1]]);
    QCOMPARE(upright->tpixels[bottom][0], quarterColours[corners[2]]);
    QCOMPARE(upright->tpixels[bottom][right], quarterColours[corners[3]]);
}

void OrientationTest::turningBackRestoresEveryPixel_data()
{
    QTest::addColumn<Orientation>("orientation");
    QTest::addColumn<Orientation>("back");

    for (int value = 1; value <= 8; ++value) {
        const auto orientation = Orientation(value);
        // The quarter turns undo each other; flips, half turns and diagonal mirrors
        // undo themselves.
        const Orientation back =
            orientation == Orientation::Rotate90Clockwise ? Orientation::Rotate90CounterClockwise
            : orientation == Orientation::Rotate90CounterClockwise ? Orientation::Rotate90Clockwise
                                                                   : orientation;
        QTest::addRow("%d", value) << orientation << back;
    }
}

void OrientationTest::turningBackRestoresEveryPixel()
{
    QFETCH(Orientation, orientation);
    QFETCH(Orientation, back);

    const GdImage original = numbered(300, 130);
    GdImage turned = turnUpright(numbered(300, 130), orientation);
    QVERIFY(turned);
    QCOMPARE(samePixels(*turned, *original), orientation == Orientation::AsStored);
    const GdImage restored = turnUpright(std::move(turned), back);
    QVERIFY(restored);
    QVERIFY(samePixels(*restored, *original));
}

void OrientationTest::orientationIsReadAsTagged_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<Orientation>("orientation");

    for (int value = 1; value <= 8; ++value)
        QTest::addRow("tag %d", value)
            << ExifBlock().orientation(value).payload() << Orientation(value);
    QTest::newRow("Motorola byte order")
        << ExifBlock(EXIF_BYTE_ORDER_MOTOROLA).orientation(6).payload()
        << Orientation::Rotate90Clockwise;
    QTest::newRow("beside other tags")
        << ExifBlock()
               .textTag(EXIF_IFD_0, EXIF_TAG_MAKE, "Camera")
               .orientation(8)
               .textTag(EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), "N")
               .payload()
        << Orientation::Rotate90CounterClockwise;

    const auto asStored = [](const char* name, const QByteArray& block) {
        QTest::newRow(name) << block << Orientation::AsStored;
    };
    asStored("zero", ExifBlock().orientation(0).payload());
    asStored("nine", ExifBlock().orientation(9).payload());
    asStored("largest short", ExifBlock().orientation(65535).payload());
    asStored("as a long", ExifBlock().longTag(EXIF_IFD_0, EXIF_TAG_ORIENTATION, 6).payload());
    asStored("only the thumbnail's",
             ExifBlock().shortTag(EXIF_IFD_1, EXIF_TAG_ORIENTATION, 6).payload());
    asStored("no tag", ExifBlock().textTag(EXIF_IFD_0, EXIF_TAG_MAKE, "Camera").payload());
    asStored("empty", QByteArray());
    asStored("header only", QByteArray("Exif\0\0", 6));
    asStored("truncated", truncatedExif());
    asStored("directory outside the block", exifPointingOutside());
    asStored("garbage", QByteArray("Exif\0\0", 6) + QByteArray(200, char(0xa5)));
    asStored("XMP", xmpPayload());
}

void OrientationTest::orientationIsReadAsTagged()
{
    QFETCH(QByteArray, block);
    QFETCH(Orientation, orientation);

    const auto bytes = reinterpret_cast<const unsigned char*>(block.constData());
    QCOMPARE(exifOrientation(std::span(bytes, std::size_t(block.size()))), orientation);
}

QTEST_APPLESS_MAIN(OrientationTest)
#include "tst_orientation.moc"
