#include "BatchFixture.h"
#include "PhotoPictures.h"
#include "PictureReference.h"
#include "QuietObserver.h"
#include "TestPictures.h"

#include "imaging/ImageBatch.h"
#include "imaging/JpegCodec.h"
#include "imaging/Orientation.h"
#include "imaging/OutputSize.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace PictureReference;

namespace {

OutputProfile widthProfile(const QString& saveDir, int width, int quality)
{
    OutputProfile profile;
    profile.SaveDir = saveDir;
    profile.UseWidth = 1;
    profile.Width = width;
    profile.Quality = quality;
    return profile;
}

} // namespace

// The outputs come from a reduced decoding, not from the full-size picture; measured against
// the exact area average of the full-size picture, they may lose at most 1.5 dB to what the
// full-size path gives for any output, and at most 0.25 dB in the median.
class PictureQualityTest : public QObject
{
    Q_OBJECT

private slots:
    void staysCloseToTheFullSizePath();
};

void PictureQualityTest::staysCloseToTheFullSizePath()
{
    QTemporaryDir dir;
    for (const char* folder : {"photos", "thumbs", "images"})
        QVERIFY(QDir(dir.path()).mkdir(folder));
    ImageSettings settings;
    settings.thumbnail = widthProfile(dir.filePath("thumbs"), 160, 70);
    settings.large = widthProfile(dir.filePath("images"), 800, 85);
    // Reduced to just the margin above the large width, just above twice and four times that
    // width, a portrait, a picture kept at full size, and a phone's portrait stored on its
    // side, whose upright width is just above twice the large width.
    const QSize sizes[] = {{2000, 1500}, {1610, 1208}, {3210, 2140}, {1500, 2000},
                           {2400, 1800}, {1000, 750},  {3210, 2140}};
    const Orientation orientations[] = {Orientation::AsStored,         Orientation::AsStored,
                                        Orientation::AsStored,         Orientation::AsStored,
                                        Orientation::AsStored,         Orientation::AsStored,
                                        Orientation::Rotate90Clockwise};
    std::vector<BatchRow> rows;
    for (int index = 0; index < int(std::size(sizes)); ++index) {
        const QString path = dir.filePath(QStringLiteral("photos/%1.jpg").arg(index));
        const QByteArray stored =
            EncodeJpeg(drawPhoto(sizes[index], unsigned(index) + 1).get(), 90);
        QVERIFY(TestPictures::write(
            path, PhotoPictures::withExif(
                      stored, PhotoPictures::ExifBlock().orientation(int(orientations[index])))));
        BatchRow row;
        row.entry.SetPath(path);
        row.group = "1";
        rows.push_back(row);
    }
    QuietObserver observer;
    const GeneratedImages generated =
        GenerateImages(rows, {"p", "", "", "", ""}, settings, observer);
    QCOMPARE(largeImageFiles(generated).size(), qsizetype(std::size(sizes)));

    std::vector<double> losses;
    for (int index = 0; index < int(std::size(sizes)); ++index) {
        const GdImage full =
            turnUpright(decodeFullSize(TestPictures::read(rows[index].entry.GetFullPath())),
                        orientations[index]);
        QVERIFY(full);
        const QStringList written = {thumbnailFiles(generated)[index],
                                     largeImageFiles(generated)[index]};
        const OutputProfile* profiles[] = {&settings.thumbnail, &settings.large};
        for (int kind = 0; kind < 2; ++kind) {
            const QSize size =
                *outputSize(*profiles[kind], uprightSize(sizes[index], orientations[index]));
            const IdealPicture ideal = idealAverage(full.get(), size);
            const double ours = psnr(TestPictures::read(written[kind]), ideal);
            const double sequential = psnr(sequentialOutput(full.get(), *profiles[kind]), ideal);
            QVERIFY2(sequential - ours <= 1.5, qPrintable(QStringLiteral("%1: %2 dB against %3 dB")
                                                              .arg(written[kind])
                                                              .arg(ours)
                                                              .arg(sequential)));
            losses.push_back(sequential - ours);
        }
    }
    std::nth_element(losses.begin(), losses.begin() + losses.size() / 2, losses.end());
    QVERIFY2(losses[losses.size() / 2] <= 0.25,
             qPrintable(QString::number(losses[losses.size() / 2])));
}

QTEST_GUILESS_MAIN(PictureQualityTest)
#include "tst_picturequality.moc"
