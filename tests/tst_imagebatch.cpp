#include "BatchFixture.h"
#include "JpegWriter.h"
#include "ProcessMemory.h"
#include "RecordingObserver.h"
#include "SmallDisk.h"
#include "TestPictures.h"

#include "imaging/ImageBatch.h"
#include "imaging/OutputSize.h"
#include "imaging/RenameRecord.h"
#include "imaging/RenameUndo.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace TestPictures;

Q_DECLARE_METATYPE(OutputProfile)

namespace {

// Every file of a folder, hidden ones included, with its bytes.
QMap<QString, QByteArray> contents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, read(folder + '/' + name));
    return files;
}

// What a run left: its reports, and every file of the three folders.
struct Outcome
{
    QStringList events;
    QMap<QString, QByteArray> photos, thumbs, images;
};

const QString invalidThumbnails =
    "message Invalid thumbnail directory. Check Image Property settings under Options.";
const QString invalidLarge =
    "message Invalid large image directory. Check Image Property settings under Options.";

OutputProfile profile(int width, int height, bool useWidth, bool useHeight)
{
    OutputProfile result;
    result.Width = width;
    result.Height = height;
    result.UseWidth = useWidth;
    result.UseHeight = useHeight;
    return result;
}

} // namespace

class ImageBatchTest : public QObject, private BatchFixture
{
    Q_OBJECT

private:
    // Empty folders and a new list in the same place, so paths stay comparable.
    void resetFolders()
    {
        for (const char* folder : {"photos", "thumbs", "images"}) {
            QDir(m_dir->filePath(folder)).removeRecursively();
            QDir(m_dir->path()).mkdir(folder);
        }
        m_rows.clear();
        m_observer = RecordingObserver();
    }
    Outcome runMixedRows(int threads);

private slots:
    void init();

    void computesOutputSizes_data();
    void computesOutputSizes();
    void namesAndNumbersPerGroup();
    void prefixesMakeNames_data();
    void prefixesMakeNames();
    void webSafeNamesInTheRun();
    void renamesAreRecordedForUndo();
    void unrecordableRenamesKeepTheirNames();
    void renameNeverReplacesAFile_data();
    void renameNeverReplacesAFile();
    void neverWritesOverAListedPicture_data();
    void neverWritesOverAListedPicture();
    void neverWritesOverAPictureRenamedEarlier();
    void missingSaveDirectories_data();
    void missingSaveDirectories();
    void unwritableOutputIsNotListed();
    void unusableSizeSkipsOnlyThatOutput_data();
    void unusableSizeSkipsOnlyThatOutput();
    void unreadableSourcesUseUpTheirNumbers();
    void outputsOnOnePathRefuseTheRun_data();
    void outputsOnOnePathRefuseTheRun();
    void failedRenamesAreReported();
    void reportsProgressPerRowAndEndsAtZero();
    void sameOutcomeOnOneThreadAndMany_data();
    void sameOutcomeOnOneThreadAndMany();
    void hostilePicturesLeaveNothingBehind_data();
    void hostilePicturesLeaveNothingBehind();
    void fullDiskKeepsTheEarlierOutputUnlisted();
    void unusableExtensionStopsTheRun_data();
    void unusableExtensionStopsTheRun();
    void groupNameWithASlashStopsTheRun_data();
    void groupNameWithASlashStopsTheRun();
    void stopEndsTheRunAfterTheRowBeingWritten_data();
    void stopEndsTheRunAfterTheRowBeingWritten();
};

void ImageBatchTest::init()
{
    makeFolders();
    m_groupText = {"beach", "city", "", "", ""};
    m_settings = ImageSettings();
    m_settings.thumbnail = profile(16, 0, true, false);
    m_settings.thumbnail.SaveDir = m_dir->filePath("thumbs");
    m_settings.thumbnail.Extension = "_t";
    m_settings.thumbnail.Quality = 70;
    m_settings.large = profile(32, 0, true, false);
    m_settings.large.SaveDir = m_dir->filePath("images");
    m_settings.large.Quality = 85;
}

void ImageBatchTest::computesOutputSizes_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<OutputProfile>("profile");
    QTest::addColumn<QSize>("output");

    QTest::newRow("width 160") << QSize(1600, 1200) << profile(160, 0, true, false)
                               << QSize(160, 120);
    QTest::newRow("width 150") << QSize(3000, 2000) << profile(150, 0, true, false)
                               << QSize(150, 100);
    QTest::newRow("height 120 of 3:4")
        << QSize(1200, 1600) << profile(0, 120, false, true) << QSize(89, 120);
    QTest::newRow("neither") << QSize(640, 480) << profile(1, 1, false, false) << QSize(640, 480);
    QTest::newRow("neither, one pixel short")
        << QSize(1000, 667) << profile(0, 0, false, false) << QSize(1000, 666);
    QTest::newRow("both, stretched")
        << QSize(1000, 667) << profile(200, 300, true, true) << QSize(200, 300);
    QTest::newRow("width 0") << QSize(640, 480) << profile(0, 0, true, false) << QSize();
    QTest::newRow("negative height") << QSize(640, 480) << profile(0, -5, false, true) << QSize();
    QTest::newRow("flat picture") << QSize(1000, 1) << profile(100, 0, true, false) << QSize();
    QTest::newRow("tall picture") << QSize(1, 1000) << profile(0, 100, false, true) << QSize();
    QTest::newRow("the widest a JPEG holds")
        << QSize(640, 480) << profile(65500, 1, true, true) << QSize(65500, 1);
    QTest::newRow("wider than a JPEG holds")
        << QSize(640, 480) << profile(65501, 1, true, true) << QSize();
    QTest::newRow("a tall strip's thumbnail")
        << QSize(1, 20000) << profile(160, 0, true, false) << QSize();
    QTest::newRow("more pixels than a picture may have")
        << QSize(640, 480) << profile(20000, 20000, true, true) << QSize();
    QTest::newRow("width beyond int")
        << QSize(60000, 1) << profile(0, 2000000000, false, true) << QSize();
}

void ImageBatchTest::computesOutputSizes()
{
    QFETCH(QSize, source);
    QFETCH(OutputProfile, profile);
    QTEST(outputSize(profile, source).value_or(QSize()), "output");
}

void ImageBatchTest::namesAndNumbersPerGroup()
{
    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = "_orig";
    addPhoto("IMG_1.jpg", "1", QSize(160, 120));
    addPhoto("IMG_2.jpg", "2", QSize(120, 160));
    addPhoto("IMG_3.jpg", "");
    addPhoto("IMG_4.jpg", "1");

    const GeneratedImages generated = run();
    const QString thumbs = m_dir->filePath("thumbs/");
    const QString images = m_dir->filePath("images/");
    QCOMPARE(
        thumbnailFiles(generated),
        QStringList({thumbs + "beach01_t.jpg", thumbs + "city01_t.jpg", thumbs + "beach02_t.jpg"}));
    QCOMPARE(largeImageFiles(generated),
             QStringList({images + "beach01.jpg", images + "city01.jpg", images + "beach02.jpg"}));
    QCOMPARE(jpegSize(thumb("beach01_t.jpg")), QSize(16, 12));
    QCOMPARE(jpegSize(large("beach01.jpg")), QSize(32, 24));
    QCOMPARE(jpegSize(thumb("city01_t.jpg")), QSize(16, 21));
    QCOMPARE(jpegSize(large("city01.jpg")), QSize(32, 42));
    QCOMPARE(m_observer.filtered("renamed"),
             QStringList({"renamed 0 " + photo("beach01_orig.jpg"),
                          "renamed 1 " + photo("city01_orig.jpg"),
                          "renamed 3 " + photo("beach02_orig.jpg")}));
    QCOMPARE(files("photos"),
             QStringList({"IMG_3.jpg", "beach01_orig.jpg", "beach02_orig.jpg", "city01_orig.jpg"}));
}

void ImageBatchTest::prefixesMakeNames_data()
{
    QTest::addColumn<QStringList>("groupText");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QStringList>("thumbnails");

    QTest::newRow("empty prefix") << QStringList({"", "x", "", "", ""}) << QStringList({"1", "1"})
                                  << QStringList({"01_t.jpg", "02_t.jpg"});
    QTest::newRow("same prefix in two groups")
        << QStringList({"sea", "sea", "", "", ""}) << QStringList({"1", "2", "2"})
        << QStringList({"sea01_t.jpg", "sea01_t.jpg", "sea02_t.jpg"});
    QTest::newRow("group 5") << QStringList({"", "", "", "", "five"}) << QStringList({"5"})
                             << QStringList({"five01_t.jpg"});
    QTest::newRow("text naming no group")
        << QStringList({"a", "b", "c", "d", "e"}) << QStringList({"7", "1"})
        << QStringList({"_t.jpg", "a01_t.jpg"});
}

void ImageBatchTest::prefixesMakeNames()
{
    QFETCH(QStringList, groupText);
    QFETCH(QStringList, groups);
    QFETCH(QStringList, thumbnails);
    std::copy(groupText.begin(), groupText.end(), m_groupText.begin());
    for (int row = 0; row < groups.size(); ++row)
        addPhoto(QStringLiteral("p%1.jpg").arg(row), groups[row]);

    const GeneratedImages generated = run();
    QStringList expected;
    for (const QString& name : thumbnails)
        expected << thumb(name);
    QCOMPARE(thumbnailFiles(generated), expected);
    for (const QString& path : expected)
        QCOMPARE(jpegSize(path), QSize(16, 12));
}

void ImageBatchTest::webSafeNamesInTheRun()
{
    m_settings.WebSafeNames = 1;
    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = "_orig";
    m_settings.large.Extension = "_L";
    m_groupText = {"Été à Paris", "Straße", "", "", ""};
    for (int picture = 1; picture <= 100; ++picture)
        addPhoto(QStringLiteral("IMG_%1.jpg").arg(picture), "1", QSize(8, 6));
    addPhoto("DSC.jpg", "2", QSize(8, 6));

    const GeneratedImages generated = run();
    QCOMPARE(thumbnailFiles(generated).size(), 101);
    QCOMPARE(thumbnailFiles(generated).first(), thumb("ete-a-paris001_t.jpg"));
    QCOMPARE(thumbnailFiles(generated)[99], thumb("ete-a-paris100_t.jpg"));
    QCOMPARE(thumbnailFiles(generated).last(), thumb("strasse01_t.jpg"));
    QCOMPARE(largeImageFiles(generated).last(), large("strasse01_L.jpg"));
    QVERIFY(QFileInfo::exists(photo("ete-a-paris042_orig.jpg")));
    QVERIFY(QFileInfo::exists(photo("strasse01_orig.jpg")));
    QCOMPARE(files("thumbs").size(), 101);
}

void ImageBatchTest::renamesAreRecordedForUndo()
{
    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = "_orig";
    addPhoto("Autumn.jpg", "1");
    addPhoto("taken.jpg", "1");
    addPhoto("Winter.jpg", "2");
    QVERIFY(write(photo("beach02_orig.jpg"), "another photograph"));

    run();
    const QString record = m_dir->filePath("data/tst_imagebatch/morvane-renames.tsv");
    QCOMPARE(RenameRecord::defaultPath(), record);
    const RecordedRun recorded = readLastRun(record);
    QCOMPARE(recorded.renames.size(), size_t(2));
    QCOMPARE(recorded.renames[0].from, photo("Autumn.jpg"));
    QCOMPARE(recorded.renames[0].to, photo("beach01_orig.jpg"));
    QCOMPARE(recorded.renames[1].from, photo("Winter.jpg"));
    QCOMPARE(recorded.renames[1].to, photo("city01_orig.jpg"));

    const UndoResult undone = undoLastRun(record);
    QCOMPARE(undone.undone, 2);
    QVERIFY(undone.failures.empty());
    QCOMPARE(files("photos"),
             QStringList({"Autumn.jpg", "Winter.jpg", "beach02_orig.jpg", "taken.jpg"}));
}

void ImageBatchTest::unrecordableRenamesKeepTheirNames()
{
    // The data folder would have to be made inside a file.
    QVERIFY(write(m_dir->filePath("blocked"), "a file"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->filePath("blocked/data")));
    m_settings.RenameOriginalFile = 1;
    addPhoto("IMG_1.jpg", "1");
    addPhoto("IMG_2.jpg", "1");

    const GeneratedImages generated = run();
    QCOMPARE(thumbnailFiles(generated).size(), 2);
    QVERIFY(m_observer.filtered("renamed").isEmpty());
    const QStringList messages = m_observer.filtered("message");
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].startsWith("message The renames cannot be recorded (") &&
                 messages[0].endsWith("), so the originals keep their names."),
             qPrintable(messages[0]));
    QCOMPARE(files("photos"), QStringList({"IMG_1.jpg", "IMG_2.jpg"}));
}

void ImageBatchTest::renameNeverReplacesAFile_data()
{
    QTest::addColumn<QString>("source");

    QTest::newRow("name taken by another file") << "IMG_1.jpg";
    QTest::newRow("already named so") << "beach01.jpg";
}

void ImageBatchTest::renameNeverReplacesAFile()
{
    QFETCH(QString, source);
    m_settings.RenameOriginalFile = 1;
    const QByteArray other = jpeg(QSize(30, 30), 50);
    QVERIFY(write(photo("beach01.jpg"), other));
    addPhoto(source, "1");
    const QByteArray original = read(photo(source));

    run();
    QVERIFY(m_observer.filtered("renamed").isEmpty());
    QCOMPARE(read(photo(source)), original);
    if (source != u"beach01.jpg")
        QCOMPARE(read(photo("beach01.jpg")), other);
    QCOMPARE(jpegSize(thumb("beach01_t.jpg")), QSize(16, 12));
}

void ImageBatchTest::neverWritesOverAListedPicture_data()
{
    QTest::addColumn<QString>("spelling");

    QTest::newRow("same path") << "photos";
    QTest::newRow("other spelling") << "thumbs/../photos/.";
    QTest::newRow("through a link") << "linked";
}

void ImageBatchTest::neverWritesOverAListedPicture()
{
    QFETCH(QString, spelling);
    QVERIFY(QFile::link(m_dir->filePath("photos"), m_dir->filePath("linked")));
    m_settings.large.SaveDir = m_dir->filePath(spelling);
    addPhoto("IMG_1.jpg", "1");
    addPhoto("beach02.jpg", "");
    addPhoto("IMG_3.jpg", "1");
    const QByteArray listed = read(photo("beach02.jpg"));

    const GeneratedImages generated = run();
    QCOMPARE(read(photo("beach02.jpg")), listed);
    QCOMPARE(largeImageFiles(generated), QStringList({m_dir->filePath(spelling) + "/beach01.jpg"}));
    QCOMPARE(thumbnailFiles(generated).size(), 2);
    QCOMPARE(m_observer.filtered("notWritten"),
             QStringList({"notWritten 2 " + m_dir->filePath(spelling) + "/beach02.jpg"}));
}

void ImageBatchTest::neverWritesOverAPictureRenamedEarlier()
{
    // The first picture is renamed to a01_x01.jpg, the name of the second row's large image.
    m_settings.large.SaveDir = m_dir->filePath("photos");
    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = "_x01";
    m_groupText = {"a", "a01_x", "", "", ""};
    addPhoto("IMG_1.jpg", "1");
    addPhoto("IMG_2.jpg", "2");
    const QByteArray first = read(photo("IMG_1.jpg"));

    const GeneratedImages generated = run();
    QCOMPARE(read(photo("a01_x01.jpg")), first);
    QCOMPARE(largeImageFiles(generated), QStringList({photo("a01.jpg")}));
    QCOMPARE(files("photos"), QStringList({"a01.jpg", "a01_x01.jpg", "a01_x01_x01.jpg"}));
}

void ImageBatchTest::missingSaveDirectories_data()
{
    QTest::addColumn<bool>("thumbsExist");
    QTest::addColumn<bool>("largeExists");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("thumbnails missing") << false << true << QStringList({invalidThumbnails});
    QTest::newRow("large missing") << true << false << QStringList({invalidLarge});
    QTest::newRow("both missing") << false << false
                                  << QStringList({invalidThumbnails, invalidLarge});
}

void ImageBatchTest::missingSaveDirectories()
{
    QFETCH(bool, thumbsExist);
    QFETCH(bool, largeExists);
    m_settings.RenameOriginalFile = 1;
    if (!thumbsExist)
        m_settings.thumbnail.SaveDir.clear();
    if (!largeExists)
        m_settings.large.SaveDir = m_dir->filePath("gone");
    addPhoto("IMG_1.jpg", "1", QSize(640, 480));

    const GeneratedImages generated = run();
    QTEST(m_observer.filtered("message"), "messages");
    QCOMPARE(thumbnailFiles(generated).size(), thumbsExist ? 1 : 0);
    QCOMPARE(largeImageFiles(generated).size(), largeExists ? 1 : 0);
    if (largeExists)
        QCOMPARE(jpegSize(large("beach01.jpg")), QSize(32, 24));
    if (thumbsExist || largeExists) {
        QVERIFY(QFile::exists(photo("beach01.jpg")));
        return;
    }
    QCOMPARE(m_observer.events, QStringList({"status Generating Images...", "range 1",
                                             invalidThumbnails, invalidLarge, "reset"}));
    QCOMPARE(files("photos"), QStringList({"IMG_1.jpg"}));
}

void ImageBatchTest::unwritableOutputIsNotListed()
{
    QVERIFY(write(m_dir->filePath("afile"), "x"));
    m_settings.thumbnail.SaveDir = m_dir->filePath("afile");
    addPhoto("IMG_1.jpg", "1");

    const GeneratedImages generated = run();
    QVERIFY(m_observer.filtered("message").isEmpty());
    QVERIFY(thumbnailFiles(generated).isEmpty());
    QCOMPARE(largeImageFiles(generated).size(), 1);
    QCOMPARE(m_observer.filtered("notWritten"),
             QStringList({"notWritten 0 " + m_dir->filePath("afile/beach01_t.jpg")}));
}

void ImageBatchTest::unusableSizeSkipsOnlyThatOutput_data()
{
    QTest::addColumn<OutputProfile>("thumbnail");

    QTest::addColumn<QString>("reason");
    const QString tooSmall = "too small: a side would be under one pixel";
    QTest::newRow("width 0") << profile(0, 0, true, false) << tooSmall;
    QTest::newRow("side truncated to 0") << profile(0, 0, false, true) << tooSmall;
    QTest::newRow("too large for GD")
        << profile(100000, 100000, true, true) << "too large for a picture file";
}

void ImageBatchTest::unusableSizeSkipsOnlyThatOutput()
{
    QFETCH(OutputProfile, thumbnail);
    QFETCH(QString, reason);
    thumbnail.SaveDir = m_settings.thumbnail.SaveDir;
    m_settings.thumbnail = thumbnail;
    m_settings.RenameOriginalFile = 1;
    addPhoto("IMG_1.jpg", "1");
    addPhoto("IMG_2.jpg", "1");

    const GeneratedImages generated = run();
    QVERIFY(thumbnailFiles(generated).isEmpty());
    QVERIFY(QDir(m_dir->filePath("thumbs")).isEmpty());
    QCOMPARE(largeImageFiles(generated), QStringList({large("beach01.jpg"), large("beach02.jpg")}));
    QCOMPARE(m_observer.filtered("renamed").size(), 2);
    QCOMPARE(m_observer.filtered("notWritten"),
             QStringList(
                 {"notWritten 0 " + thumb("beach01.jpg"), "notWritten 1 " + thumb("beach02.jpg")}));
    QCOMPARE(m_observer.reasons, QStringList({reason, reason}));
    QCOMPARE(generated.outputsNotMade, 2);
    QCOMPARE(generated.picturesMade, 0);
    QVERIFY(!generated.complete());
}

void ImageBatchTest::unreadableSourcesUseUpTheirNumbers()
{
    m_settings.RenameOriginalFile = 1;
    addPhoto("good1.jpg", "1");
    QVERIFY(write(photo("png.jpg"), png(QSize(20, 20))));
    addRow(photo("png.jpg"), "1");
    addRow(photo("missing.jpg"), "1");
    addPhoto("good2.jpg", "1");

    const GeneratedImages generated = run();
    QCOMPARE(thumbnailFiles(generated),
             QStringList({thumb("beach01_t.jpg"), thumb("beach04_t.jpg")}));
    QCOMPARE(
        m_observer.filtered("unreadable"),
        QStringList({"unreadable 1 " + photo("png.jpg"), "unreadable 2 " + photo("missing.jpg")}));
    QCOMPARE(m_observer.reasons,
             QStringList({"Not a JPEG or HEIC picture", "Not found, or not a file"}));
    QVERIFY(QFile::exists(photo("png.jpg")));
    QCOMPARE(m_observer.filtered("renamed").size(), 2);
    QCOMPARE(generated.picturesToMake, 4);
    QCOMPARE(generated.picturesMade, 2);
    QCOMPARE(generated.unreadable, 2);
}

// Every way the thumbnail and the large image of a row can come out as one file, and the
// nearest ways that keep them apart.
void ImageBatchTest::outputsOnOnePathRefuseTheRun_data()
{
    QTest::addColumn<QString>("largeDir");
    QTest::addColumn<QString>("largeExtension");
    QTest::addColumn<bool>("thumbnailDouble");
    QTest::addColumn<bool>("refused");

    QTest::newRow("same folder, same extension") << "thumbs"
                                                 << "_t" << false << true;
    QTest::newRow("same folder, both extensions empty") << "thumbs"
                                                        << "" << false << true;
    QTest::newRow("same folder spelled with a slash") << "thumbs/"
                                                      << "_t" << false << true;
    QTest::newRow("same folder through a link") << "link"
                                                << "_t" << false << true;
    QTest::newRow("same folder, other extension") << "thumbs"
                                                  << "_l" << false << false;
    QTest::newRow("other folder, same extension") << "images"
                                                  << "_t" << false << false;
    // The thumbnail's 2x version would be the large image, whatever the picture's size.
    QTest::newRow("same folder, the large image named as a 2x thumbnail")
        << "thumbs"
        << "_t@2x" << true << true;
    QTest::newRow("same folder, named as a 2x thumbnail, none made") << "thumbs"
                                                                     << "_t@2x" << false << false;
}

void ImageBatchTest::outputsOnOnePathRefuseTheRun()
{
    QFETCH(QString, largeDir);
    QFETCH(QString, largeExtension);
    QFETCH(bool, thumbnailDouble);
    QFETCH(bool, refused);
    QVERIFY(QFile::link(m_dir->filePath("thumbs"), m_dir->filePath("link")));
    if (largeExtension.isEmpty())
        m_settings.thumbnail.Extension.clear();
    m_settings.large.SaveDir = m_dir->filePath(largeDir);
    m_settings.large.Extension = largeExtension;
    m_settings.thumbnail.Double = thumbnailDouble;
    m_settings.RenameOriginalFile = 1;
    addPhoto("IMG_1.jpg", "1");

    const GeneratedImages generated = run();
    QCOMPARE(generated.refused, refused);
    QCOMPARE(m_observer.filtered("message").size(), refused ? 1 : 0);
    QCOMPARE(QFile::exists(photo("IMG_1.jpg")), refused);
    QCOMPARE(files("thumbs").size(), refused ? 0 : largeDir == "thumbs" ? 2 : 1);
    if (!refused)
        return;
    const QString message = m_observer.events.filter("message")[0];
    QVERIFY(
        message.startsWith("message The thumbnails and the large images would be written to "
                           "the same files: the Thumbnail Properties and the Image Properties "));
    QVERIFY2(message.contains(thumbnailDouble ? "names ending in \"_t@2x.jpg\""
                                              : "same Save Directory and the same Extension"),
             qPrintable(message));
}

// A rename the file system refuses is told of; one refused because the name is taken stays
// silent, so that a second run never replaces a photograph.
void ImageBatchTest::failedRenamesAreReported()
{
    m_settings.RenameOriginalFile = 1;
    addPhoto("IMG_1.jpg", "1");
    addPhoto("IMG_2.jpg", "1");
    QVERIFY(write(photo("beach02.jpg"), "taken"));

    // A name longer than a file system takes.
    m_settings.OriginalExtension = QString(300, u'x');
    GeneratedImages generated = run();
    QCOMPARE(
        m_observer.filtered("notRenamed"),
        QStringList({"notRenamed 0 " + photo("beach01" + m_settings.OriginalExtension + ".jpg"),
                     "notRenamed 1 " + photo("beach02" + m_settings.OriginalExtension + ".jpg")}));
    QCOMPARE(generated.renameFailures, 2);
    QVERIFY(!generated.complete());

    m_observer = RecordingObserver();
    m_settings.OriginalExtension.clear();
    generated = run();
    QCOMPARE(m_observer.filtered("renamed"), QStringList({"renamed 0 " + photo("beach01.jpg")}));
    QVERIFY(m_observer.filtered("notRenamed").isEmpty());
    QCOMPARE(generated.renameFailures, 0);
    QVERIFY(generated.complete());
}

void ImageBatchTest::reportsProgressPerRowAndEndsAtZero()
{
    addPhoto("a.jpg", "1");
    addPhoto("b.jpg", "");
    addRow(photo("missing.jpg"), "2");
    run();
    QCOMPARE(m_observer.events,
             QStringList({"status Generating Images...", "range 3", "step", "step",
                          "unreadable 2 " + photo("missing.jpg"), "step", "reset"}));

    m_rows.clear();
    m_observer = RecordingObserver();
    run();
    QCOMPARE(m_observer.events, QStringList({"status Generating Images...", "range 0", "reset"}));
}

// Rows that exercise every way a row's work depends on the rows before it.
Outcome ImageBatchTest::runMixedRows(int threads)
{
    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = "_o";
    // Large images land beside the photographs, where names can meet.
    m_settings.large.SaveDir = m_dir->filePath("photos");
    addPhoto("IMG_1.jpg", "1", QSize(160, 120));      // beach01, renamed beach01_o.jpg
    addPhoto("IMG_2.jpg", "2", QSize(120, 160));      // city01, renamed city01_o.jpg
    if (!write(photo("png.jpg"), png(QSize(20, 20)))) // beach02: unreadable
        return {};
    addRow(photo("png.jpg"), "1");
    addPhoto("beach03.jpg", "", QSize(50, 40));  // a listed photograph
    addPhoto("IMG_4.jpg", "1", QSize(300, 200)); // beach03: its large image would
    if (!write(photo("beach03_o.jpg"), "taken")) // replace beach03.jpg, and its
        return {};                               // new name is taken
    const QByteArray whole = jpeg(QSize(200, 150));
    if (!write(photo("half.jpg"), whole.left(whole.size() / 2)))
        return {};
    addRow(photo("half.jpg"), "2");                     // city02: cut off
    addRow(photo("beach01_o.jpg"), "1");                // beach04: made by row 0's rename
    addRow(m_dir->filePath("photos/./IMG_2.jpg"), "2"); // city03: renamed away by row 1
    addPhoto("IMG_9.jpg", "1", QSize(400, 300));        // beach05

    BatchControl control;
    control.threads = threads;
    run(control);
    return {m_observer.events, contents(m_dir->filePath("photos")),
            contents(m_dir->filePath("thumbs")), contents(m_dir->filePath("images"))};
}

void ImageBatchTest::sameOutcomeOnOneThreadAndMany_data()
{
    QTest::addColumn<int>("threads");

    QTest::newRow("two threads") << 2;
    QTest::newRow("three threads") << 3;
    QTest::newRow("eight threads") << 8;
}

void ImageBatchTest::sameOutcomeOnOneThreadAndMany()
{
    QFETCH(int, threads);
    const Outcome alone = runMixedRows(1);
    QCOMPARE(alone.thumbs.keys(), QStringList({"beach01_t.jpg", "beach03_t.jpg", "beach04_t.jpg",
                                               "beach05_t.jpg", "city01_t.jpg"}));
    QCOMPARE(alone.photos.keys(),
             QStringList({"IMG_4.jpg", "beach01.jpg", "beach03.jpg", "beach03_o.jpg", "beach04.jpg",
                          "beach04_o.jpg", "beach05.jpg", "beach05_o.jpg", "city01.jpg",
                          "city01_o.jpg", "half.jpg", "png.jpg"}));
    QCOMPARE(
        alone.events.filter(QRegularExpression("^(unreadable|notWritten)")),
        QStringList({"unreadable 2 " + photo("png.jpg"), "notWritten 4 " + photo("beach03.jpg"),
                     "unreadable 5 " + photo("half.jpg"),
                     "unreadable 7 " + m_dir->filePath("photos/./IMG_2.jpg")}));

    resetFolders();
    const Outcome many = runMixedRows(threads);
    QCOMPARE(many.events, alone.events);
    QCOMPARE(many.photos, alone.photos);
    QCOMPARE(many.thumbs, alone.thumbs);
    QCOMPARE(many.images, alone.images);
}

void ImageBatchTest::hostilePicturesLeaveNothingBehind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("reports");

    QTest::newRow("FIFO") << "fifo" << QStringList({"unreadable 0 %1"});
    QTest::newRow("header claiming 46340 x 46340") << "bomb" << QStringList({"unreadable 0 %1"});
    QTest::newRow("1 x 20000 strip")
        << "strip"
        << QStringList({"notWritten 0 " + QStringLiteral("%2/thumbs/beach01_t.jpg"),
                        "notWritten 0 " + QStringLiteral("%2/images/beach01.jpg")});
}

// Refused before anything waits or takes memory; good files from an earlier run stay.
void ImageBatchTest::hostilePicturesLeaveNothingBehind()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, reports);
    const QString path = photo("p.jpg");
    if (kind == u"fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == u"bomb")
        QVERIFY(write(path, JpegWriter::withClaimedSize(jpeg(QSize(64, 48)), QSize(46340, 46340))));
    else
        QVERIFY(write(path, jpeg(QSize(1, 20000))));
    addRow(path, "1");
    const QByteArray earlier = jpeg(QSize(16, 12));
    QVERIFY(write(thumb("beach01_t.jpg"), earlier));
    QVERIFY(write(large("beach01.jpg"), earlier));

    const qint64 peak = peakResidentKilobytes();
    const GeneratedImages generated = run();
    QVERIFY2(peakResidentKilobytes() - peak < 32 * 1024, "pixel memory was taken");
    for (QString& report : reports)
        report = report.replace("%1", path).replace("%2", m_dir->path());
    QCOMPARE(m_observer.filtered("unreadable|notWritten"), reports);
    QVERIFY(thumbnailFiles(generated).isEmpty() && largeImageFiles(generated).isEmpty());
    QCOMPARE(contents(m_dir->filePath("thumbs")),
             (QMap<QString, QByteArray>{{"beach01_t.jpg", earlier}}));
    QCOMPARE(contents(m_dir->filePath("images")),
             (QMap<QString, QByteArray>{{"beach01.jpg", earlier}}));
}

void ImageBatchTest::fullDiskKeepsTheEarlierOutputUnlisted()
{
    SmallDisk disk("64k");
    if (!disk.isMounted())
        QSKIP("a small file system to fill needs root");
    m_settings.thumbnail.SaveDir = disk.path();
    const QByteArray earlier = jpeg(QSize(16, 12));
    QVERIFY(write(disk.filePath("beach01_t.jpg"), earlier));
    disk.fill();
    addPhoto("IMG_1.jpg", "1", QSize(640, 480));
    m_settings.thumbnail.Width = 400;
    m_settings.thumbnail.Quality = 100;

    const GeneratedImages generated = run();
    QVERIFY(thumbnailFiles(generated).isEmpty());
    QCOMPARE(largeImageFiles(generated), QStringList({large("beach01.jpg")}));
    QCOMPARE(m_observer.filtered("notWritten"),
             QStringList({"notWritten 0 " + disk.filePath("beach01_t.jpg")}));
    QCOMPARE(m_observer.reasons, QStringList({"could not be written: disk full"}));
    QCOMPARE(read(disk.filePath("beach01_t.jpg")), earlier);
    QCOMPARE(contents(disk.path()).keys(), QStringList({"beach01_t.jpg", "filler"}));
}

void ImageBatchTest::unusableExtensionStopsTheRun_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("extension");

    QTest::newRow("thumbnail, into a folder") << "ThumbExtension"
                                              << "/x";
    QTest::newRow("large, with a NUL byte")
        << "LargeExtension" << QStringLiteral("_a") + QChar(u'\0') + QStringLiteral("b");
    QTest::newRow("original, leading up") << "OriginalExtension"
                                          << "/../x";
}

// Refused as a group name with a slash is, before any file is touched.
void ImageBatchTest::unusableExtensionStopsTheRun()
{
    QFETCH(QString, key);
    QFETCH(QString, extension);
    m_settings.RenameOriginalFile = 1;
    if (key == u"ThumbExtension")
        m_settings.thumbnail.Extension = extension;
    else if (key == u"LargeExtension")
        m_settings.large.Extension = extension;
    else
        m_settings.OriginalExtension = extension;
    addPhoto("IMG_1.jpg", "1");

    const GeneratedImages generated = run();
    const QString message =
        "message Invalid " + key + " setting. Extensions cannot contain \"/\" or a NUL byte.";
    QCOMPARE(m_observer.events,
             QStringList({"status Generating Images...", "range 1", message, "reset"}));
    QVERIFY(thumbnailFiles(generated).isEmpty() && largeImageFiles(generated).isEmpty());
    QCOMPARE(files("photos"), QStringList({"IMG_1.jpg"}));
    QVERIFY(files("thumbs").isEmpty() && files("images").isEmpty());
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

void ImageBatchTest::groupNameWithASlashStopsTheRun_data()
{
    QTest::addColumn<QString>("secondGroup");
    QTest::addColumn<bool>("webSafe");
    QTest::addColumn<QStringList>("messages");

    const QStringList refused = {"message Invalid Group 2 Text. Group names cannot contain \"/\"."};
    QTest::newRow("used, leading up") << "../x" << false << refused;
    QTest::newRow("used, into a folder") << "sub/x" << false << refused;
    // Web-safe names would make "sub-x" of it; the name is refused all the same.
    QTest::newRow("used, web-safe names") << "sub/x" << true << refused;
    QTest::newRow("unused") << "" << false << QStringList();
}

void ImageBatchTest::groupNameWithASlashStopsTheRun()
{
    QFETCH(QString, secondGroup);
    QFETCH(bool, webSafe);
    QFETCH(QStringList, messages);
    m_settings.RenameOriginalFile = 1;
    m_settings.WebSafeNames = webSafe;
    m_groupText[1] = secondGroup;
    m_groupText[3] = "../unused";
    addPhoto("IMG_1.jpg", "1");
    addPhoto("IMG_2.jpg", secondGroup.isEmpty() ? "" : "2");

    run();
    QCOMPARE(m_observer.filtered("message"), messages);
    if (messages.isEmpty()) {
        QCOMPARE(files("thumbs"), QStringList({"beach01_t.jpg"}));
        return;
    }
    const QStringList events =
        QStringList({"status Generating Images...", "range 2"}) + messages + QStringList({"reset"});
    QCOMPARE(m_observer.events, events);
    QCOMPARE(files("photos"), QStringList({"IMG_1.jpg", "IMG_2.jpg"}));
    QVERIFY(files("thumbs").isEmpty() && files("images").isEmpty());
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

void ImageBatchTest::stopEndsTheRunAfterTheRowBeingWritten_data()
{
    QTest::addColumn<int>("stopAfterSteps"); // 0: before the run
    QTest::addColumn<QStringList>("thumbnails");

    QTest::newRow("before the run") << 0 << QStringList();
    QTest::newRow("after the first row") << 1 << QStringList({"beach01_t.jpg"});
    QTest::newRow("after the second row") << 2 << QStringList({"beach01_t.jpg", "beach02_t.jpg"});
}

void ImageBatchTest::stopEndsTheRunAfterTheRowBeingWritten()
{
    QFETCH(int, stopAfterSteps);
    QFETCH(QStringList, thumbnails);
    m_settings.RenameOriginalFile = 1;
    for (int picture = 1; picture <= 6; ++picture)
        addPhoto(QStringLiteral("IMG_%1.jpg").arg(picture), "1", QSize(320, 240));
    std::atomic<bool> stop = stopAfterSteps == 0;
    int steps = 0;
    m_observer.afterStep = [&] {
        if (++steps == stopAfterSteps)
            stop = true;
    };
    BatchControl control;
    control.threads = 2;
    control.stop = &stop;

    const GeneratedImages generated = run(control);
    QCOMPARE(files("thumbs"), thumbnails);
    QCOMPARE(thumbnailFiles(generated).size(), thumbnails.size());
    QCOMPARE(m_observer.filtered("renamed").size(), thumbnails.size());
    QCOMPARE(m_observer.filtered("step").size(), stopAfterSteps);
    QCOMPARE(m_observer.events.last(), QStringLiteral("reset"));
    QCOMPARE(generated.stopped, true);
    QCOMPARE(generated.picturesToMake, 6);
    QCOMPARE(generated.picturesMade, thumbnails.size());
    for (const char* folder : {"thumbs", "images", "photos"})
        QVERIFY(QDir(m_dir->filePath(folder))
                    .entryList(QDir::Hidden | QDir::Files)
                    .filter(".morvane-")
                    .isEmpty());
}

QTEST_GUILESS_MAIN(ImageBatchTest)
#include "tst_imagebatch.moc"
