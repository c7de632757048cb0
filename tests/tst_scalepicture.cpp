#include "imaging/PixelBudget.h"
#include "imaging/ScalePicture.h"

#include <QTest>

#include <cmath>
#include <random>
#include <thread>

namespace {

GdImage noise(QSize size, unsigned seed)
{
    GdImage image(gdImageCreateTrueColor(size.width(), size.height()));
    std::minstd_rand random(seed);
    std::uniform_int_distribution<int> channel(0, 255);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image->tpixels[y][x] = gdTrueColor(channel(random), channel(random), channel(random));
    return image;
}

// The mean of the source area an output pixel covers, straight from the definition.
double areaMean(gdImagePtr source, QSize size, int x, int y, int shift)
{
    const double width = double(source->sx) / size.width();
    const double height = double(source->sy) / size.height();
    double sum = 0;
    for (int row = int(y * height); row < source->sy && row < (y + 1) * height; ++row) {
        const double rowShare =
            std::min((y + 1) * height, row + 1.0) - std::max(y * height, double(row));
        for (int column = int(x * width); column < source->sx && column < (x + 1) * width;
             ++column) {
            const double share =
                std::min((x + 1) * width, column + 1.0) - std::max(x * width, double(column));
            sum += rowShare * share * ((source->tpixels[row][column] >> shift) & 0xFF);
        }
    }
    return sum / (width * height);
}

} // namespace

class ScalePictureTest : public QObject
{
    Q_OBJECT

private slots:
    void everyPixelIsTheRoundedAreaMean_data();
    void everyPixelIsTheRoundedAreaMean();
    void sameSizeCopiesThePicture();
    void emptySizeGivesNothing();
    void budgetLetsALoneRenderThroughAndHoldsOthersBack();
};

void ScalePictureTest::everyPixelIsTheRoundedAreaMean_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("size");

    QTest::newRow("by a whole factor") << QSize(64, 48) << QSize(16, 12);
    QTest::newRow("by an odd fraction") << QSize(97, 61) << QSize(23, 17);
    QTest::newRow("just smaller") << QSize(81, 60) << QSize(80, 59);
    QTest::newRow("larger") << QSize(13, 7) << QSize(40, 30);
    QTest::newRow("wider, shorter") << QSize(30, 50) << QSize(45, 20);
    QTest::newRow("a strip to one pixel") << QSize(1, 300) << QSize(1, 1);
    QTest::newRow("a long strip") << QSize(2000, 1) << QSize(160, 1);
}

void ScalePictureTest::everyPixelIsTheRoundedAreaMean()
{
    QFETCH(QSize, source);
    QFETCH(QSize, size);
    const GdImage picture = noise(source, unsigned(source.width() * 7 + size.width()));
    const GdImage scaled = ScalePicture(picture.get(), size);
    QVERIFY(scaled);
    QCOMPARE(QSize(scaled->sx, scaled->sy), size);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int pixel = scaled->tpixels[y][x];
            QCOMPARE(gdTrueColorGetAlpha(pixel), 0);
            for (int shift : {16, 8, 0}) {
                const double mean = areaMean(picture.get(), size, x, y, shift);
                const int found = (pixel >> shift) & 0xFF;
                QVERIFY2(
                    std::abs(found - mean) <= 0.5 + 1e-6,
                    qPrintable(
                        QStringLiteral("(%1, %2): %3 for %4").arg(x).arg(y).arg(found).arg(mean)));
            }
        }
    }
}

void ScalePictureTest::sameSizeCopiesThePicture()
{
    const GdImage picture = noise(QSize(37, 21), 5);
    const GdImage scaled = ScalePicture(picture.get(), QSize(37, 21));
    for (int y = 0; y < 21; ++y)
        QVERIFY(std::equal(picture->tpixels[y], picture->tpixels[y] + 37, scaled->tpixels[y]));
}

void ScalePictureTest::emptySizeGivesNothing()
{
    const GdImage picture = noise(QSize(10, 10), 1);
    QVERIFY(!ScalePicture(picture.get(), QSize(0, 5)));
    QVERIFY(!ScalePicture(picture.get(), QSize()));
}

void ScalePictureTest::budgetLetsALoneRenderThroughAndHoldsOthersBack()
{
    PixelBudget budget;
    // Alone, a render gets its pixels even beyond what the largest picture needed.
    budget.acquire(300, 100);
    std::atomic<bool> secondIn = false;
    std::thread second([&] {
        budget.acquire(50, 100);
        secondIn = true;
        budget.release(50);
    });
    // The second waits for the first: 350 held would exceed the 100 of the largest picture.
    QVERIFY(!secondIn);
    budget.release(300);
    second.join();
    QVERIFY(secondIn);
    // Two small ones fit side by side.
    budget.acquire(40, 100);
    budget.acquire(60, 100);
    budget.release(40);
    budget.release(60);
}

QTEST_APPLESS_MAIN(ScalePictureTest)
#include "tst_scalepicture.moc"
