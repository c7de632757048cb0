#include "imaging/OutputSize.h"
#include "imaging/ProfileOutputs.h"

#include <QTest>

Q_DECLARE_METATYPE(OutputProfile)

namespace {

struct Options
{
    int width = 0;
    int height = 0;
    bool keepRatio = false;
    bool noEnlarge = false;
};

OutputProfile profile(const Options& options)
{
    OutputProfile made;
    made.Width = options.width;
    made.UseWidth = options.width != 0;
    made.Height = options.height;
    made.UseHeight = options.height != 0;
    made.KeepRatio = options.keepRatio;
    made.NoEnlarge = options.noEnlarge;
    made.Extension = QStringLiteral("_t");
    return made;
}

// "name WxH" per output, "name none" for one that cannot be made.
QStringList described(const std::vector<ProfileOutput>& outputs)
{
    QStringList lines;
    for (const ProfileOutput& output : outputs)
        lines << output.fileName + u' ' +
                     (output.size ? QStringLiteral("%1x%2")
                                        .arg(output.size->width())
                                        .arg(output.size->height())
                                  : QStringLiteral("none"));
    return lines;
}

} // namespace

class ProfileOutputsTest : public QObject
{
    Q_OBJECT

private slots:
    void sizesOneOutput_data();
    void sizesOneOutput();
    void withoutWebOptionsMakesTheJpegAsAlways_data();
    void withoutWebOptionsMakesTheJpegAsAlways();
    void namesEveryFormatAndDensity();
    void makesTwiceTheSizeOnlyFromEnoughPixels_data();
    void makesTwiceTheSizeOnlyFromEnoughPixels();
    void leavesOutWhatAFormatCannotHold();
};

void ProfileOutputsTest::sizesOneOutput_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<OutputProfile>("profile");
    QTest::addColumn<QSize>("size");

    // Stretching stays the default when both sides are given.
    QTest::newRow("stretched portrait")
        << QSize(1365, 2048) << profile({2048, 1365}) << QSize(2048, 1365);
    // Kept proportions: the box's width decides a landscape, its height a portrait, each as
    // that side alone would give it (a 3:4 ratio truncates 119.99 to 119).
    QTest::newRow("landscape in a box")
        << QSize(4000, 3000) << profile({2048, 1365, true}) << QSize(1820, 1365);
    QTest::newRow("wide landscape in a box")
        << QSize(4000, 2000) << profile({2048, 1365, true}) << QSize(2048, 1024);
    QTest::newRow("portrait in a box")
        << QSize(3000, 4000) << profile({2048, 1365, true}) << QSize(1023, 1365);
    QTest::newRow("portrait in a tall box")
        << QSize(1200, 1600) << profile({160, 120, true}) << QSize(89, 120);
    QTest::newRow("square in a box")
        << QSize(500, 500) << profile({300, 200, true}) << QSize(200, 200);
    QTest::newRow("box of the picture's aspect")
        << QSize(1600, 1200) << profile({800, 600, true}) << QSize(800, 600);
    QTest::newRow("kept proportions with one side only")
        << QSize(1600, 1200) << profile({160, 0, true}) << QSize(160, 120);
    // Never enlarging: an output larger than the picture is the picture's own size.
    QTest::newRow("enlarged") << QSize(1600, 1200) << profile({2048}) << QSize(2048, 1536);
    QTest::newRow("never enlarged")
        << QSize(1600, 1200) << profile({2048, 0, false, true}) << QSize(1600, 1200);
    QTest::newRow("never enlarged by height")
        << QSize(1200, 1600) << profile({0, 2000, false, true}) << QSize(1200, 1600);
    QTest::newRow("smaller than the box, proportions kept")
        << QSize(600, 400) << profile({2048, 1365, true, true}) << QSize(600, 400);
    QTest::newRow("smaller than the box, stretched")
        << QSize(600, 400) << profile({2048, 300, false, true}) << QSize(600, 400);
    QTest::newRow("not larger, left alone")
        << QSize(1600, 1200) << profile({800, 0, false, true}) << QSize(800, 600);
    QTest::newRow("own size") << QSize(1000, 667) << profile({0, 0, false, true})
                              << QSize(1000, 666);
}

void ProfileOutputsTest::sizesOneOutput()
{
    QFETCH(QSize, picture);
    QFETCH(OutputProfile, profile);
    QFETCH(QSize, size);
    QCOMPARE(outputSize(profile, picture), std::optional<QSize>(size));
    const std::vector<ProfileOutput> outputs = profileOutputs(profile, picture, "beach01");
    QCOMPARE(outputs.size(), size_t(1));
    QCOMPARE(outputs[0].size, std::optional<QSize>(size));
}

void ProfileOutputsTest::withoutWebOptionsMakesTheJpegAsAlways_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<OutputProfile>("profile");
    QTest::addColumn<QString>("expected");

    // The worked sizes of the size rules, and the outputs that cannot be made.
    QTest::newRow("width") << QSize(1600, 1200) << profile({160}) << "beach01_t.jpg 160x120";
    QTest::newRow("width of 3:2") << QSize(3000, 2000) << profile({150}) << "beach01_t.jpg 150x100";
    QTest::newRow("height of 3:4")
        << QSize(1200, 1600) << profile({0, 120}) << "beach01_t.jpg 89x120";
    QTest::newRow("neither") << QSize(640, 480) << profile({}) << "beach01_t.jpg 640x480";
    QTest::newRow("neither, truncated")
        << QSize(1000, 667) << profile({}) << "beach01_t.jpg 1000x666";
    QTest::newRow("both, stretched")
        << QSize(1000, 667) << profile({200, 300}) << "beach01_t.jpg 200x300";
    QTest::newRow("width 0") << QSize(1000, 667) << profile({-1}) << "beach01_t.jpg none";
    QTest::newRow("flatter than a pixel")
        << QSize(4000, 10) << profile({100}) << "beach01_t.jpg none";
    QTest::newRow("wider than a JPEG")
        << QSize(400, 300) << profile({65501}) << "beach01_t.jpg none";
}

void ProfileOutputsTest::withoutWebOptionsMakesTheJpegAsAlways()
{
    QFETCH(QSize, picture);
    QFETCH(OutputProfile, profile);
    QFETCH(QString, expected);
    QCOMPARE(described(profileOutputs(profile, picture, "beach01")), QStringList{expected});
    QCOMPARE(profileFormats(profile), std::vector<OutputFormat>{OutputFormat::Jpeg});
}

void ProfileOutputsTest::namesEveryFormatAndDensity()
{
    OutputProfile thumbnail = profile({160});
    thumbnail.Webp = 1;
    thumbnail.Avif = 1;
    thumbnail.Double = 1;
    QCOMPARE(described(profileOutputs(thumbnail, QSize(1600, 1200), "beach01")),
             (QStringList{"beach01_t.jpg 160x120", "beach01_t.webp 160x120",
                          "beach01_t.avif 160x120", "beach01_t@2x.jpg 320x240",
                          "beach01_t@2x.webp 320x240", "beach01_t@2x.avif 320x240"}));
    const std::vector<ProfileOutput> outputs = profileOutputs(thumbnail, QSize(1600, 1200), "");
    QCOMPARE(outputs[4].format, OutputFormat::Webp);
    QCOMPARE(outputs[4].density, 2);
    QCOMPARE(outputs[4].fileName, QStringLiteral("_t@2x.webp"));

    thumbnail.Avif = 0;
    thumbnail.Double = 0;
    thumbnail.Extension.clear();
    QCOMPARE(described(profileOutputs(thumbnail, QSize(1600, 1200), "first01")),
             (QStringList{"first01.jpg 160x120", "first01.webp 160x120"}));
    QCOMPARE(profileFormats(thumbnail),
             (std::vector<OutputFormat>{OutputFormat::Jpeg, OutputFormat::Webp}));
}

void ProfileOutputsTest::makesTwiceTheSizeOnlyFromEnoughPixels_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<OutputProfile>("profile");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("exactly twice")
        << QSize(1600, 1200) << profile({800})
        << QStringList{"beach01_t.jpg 800x600", "beach01_t@2x.jpg 1600x1200"};
    QTest::newRow("twice an odd size")
        << QSize(1200, 1600) << profile({0, 120})
        << QStringList{"beach01_t.jpg 89x120", "beach01_t@2x.jpg 178x240"};
    QTest::newRow("one pixel short")
        << QSize(1599, 1200) << profile({800}) << QStringList{"beach01_t.jpg 800x600"};
    QTest::newRow("portrait in a box")
        << QSize(3000, 4000) << profile({2048, 1365, true})
        << QStringList{"beach01_t.jpg 1023x1365", "beach01_t@2x.jpg 2046x2730"};
    QTest::newRow("stretched beyond the height")
        << QSize(1000, 700) << profile({400, 400}) << QStringList{"beach01_t.jpg 400x400"};
    QTest::newRow("never enlarged, so no double")
        << QSize(600, 400) << profile({800, 0, false, true})
        << QStringList{"beach01_t.jpg 600x400"};
    QTest::newRow("nothing twice")
        << QSize(600, 400) << profile({-5}) << QStringList{"beach01_t.jpg none"};
}

void ProfileOutputsTest::makesTwiceTheSizeOnlyFromEnoughPixels()
{
    QFETCH(QSize, picture);
    QFETCH(OutputProfile, profile);
    profile.Double = 1;
    QTEST(described(profileOutputs(profile, picture, "beach01")), "expected");
}

// A size one format cannot hold is listed without a size, so the run reports it; the other
// formats are still made.
void ProfileOutputsTest::leavesOutWhatAFormatCannotHold()
{
    OutputProfile wide = profile({17000, 100});
    wide.Webp = 1;
    wide.Avif = 1;
    QCOMPARE(described(profileOutputs(wide, QSize(20000, 100), "pano01")),
             (QStringList{"pano01_t.jpg 17000x100", "pano01_t.webp none", "pano01_t.avif none"}));
    wide.Width = 16383;
    QCOMPARE(described(profileOutputs(wide, QSize(20000, 100), "pano01")),
             (QStringList{"pano01_t.jpg 16383x100", "pano01_t.webp 16383x100",
                          "pano01_t.avif 16383x100"}));
}

QTEST_APPLESS_MAIN(ProfileOutputsTest)
#include "tst_profileoutputs.moc"
