#include "PhotoPictures.h"
#include "TestHome.h"
#include "TestPictures.h"
#include "TestView.h"

#include "view/RowReader.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace PhotoPictures;

namespace {

// A photograph whose EXIF block holds the date given and a thumbnail of 160 x 120.
QByteArray cameraPhoto(QSize size, const char* date)
{
    ExifBlock exif;
    exif.dateTaken(date).thumbnail(quartersJpeg(160, 120, 90));
    return withExif(quartersJpeg(size.width(), size.height()), exif);
}

} // namespace

// What the list shows of its pictures beside their names, read off the window's thread: the
// reader on its own, then the rows of the list.
class RowReaderTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_home.filePath(name); }
    QString file(const QString& name, const QByteArray& bytes)
    {
        if (!TestPictures::write(path(name), bytes))
            qFatal("cannot write %s", qPrintable(name));
        return path(name);
    }

    // What a reader reported, by key, in the order it came.
    struct Reports
    {
        QList<qint64> facts;
        QList<qint64> pictures;
        QHash<qint64, PictureFacts> factsOf;
        QHash<qint64, QImage> pictureOf;
        QHash<qint64, QString> pathOf;        // of the last report
        QHash<QString, PictureFacts> factsAt; // by the path read
        QHash<QString, QImage> pictureAt;
    };
    static void record(RowReader& reader, Reports& reports)
    {
        connect(&reader, &RowReader::factsRead, &reader,
                [&reports](qint64 key, const QString& path, const PictureFacts& facts) {
                    reports.facts << key;
                    reports.factsOf.insert(key, facts);
                    reports.pathOf.insert(key, path);
                    reports.factsAt.insert(path, facts);
                });
        connect(&reader, &RowReader::pictureMade, &reader,
                [&reports](qint64 key, const QString& path, const QImage& picture) {
                    reports.pictures << key;
                    reports.pictureOf.insert(key, picture);
                    reports.pathOf.insert(key, path);
                    reports.pictureAt.insert(path, picture);
                });
    }
    static QList<RowReader::Row> rowsOf(const QStringList& paths)
    {
        QList<RowReader::Row> rows;
        for (qsizetype i = 0; i < paths.size(); ++i)
            rows.append({qint64(i), paths[i]});
        return rows;
    }

    // The view's data rows' file names and what their tooltips begin with.
    QStringList rowPaths()
    {
        QStringList paths;
        for (int row = 1; row < m_view->grid().GetRowCount(); ++row)
            paths << m_view->grid().rowDetails(row).section(u'\n', 0, 0);
        return paths;
    }
    void waitUntilRead() { QTRY_VERIFY_WITH_TIMEOUT(m_view->rowReader().isIdle(), 20000); }

    TestHome m_home;
    TestView m_view;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readsEachRowsFactsAndPictureOnce();
    void drawsPicturesForTheScreensPixels();
    void picturesPreferredComeFirst();
    void forgottenRowsAreNotRead();
    void readsARowAgainUnderItsNewPath();
    void stopsWhenDestroyed();

    void rowsShowTheirPicturesAndDetails();
    void notesComeFirstInTheTooltip();
    void picturesAndDetailsStayWithTheirRows();
    void rowsAddedLaterGetTheirsLater();
    void rowsRemovedWhileReadGetNothingOfOthers();
};

void RowReaderTest::initTestCase()
{
    QVERIFY(m_home.enter());
}

void RowReaderTest::init()
{
    m_view.open();
    QVERIFY(m_view.show());
}

void RowReaderTest::cleanup()
{
    m_view.reset();
}

void RowReaderTest::readsEachRowsFactsAndPictureOnce()
{
    const QStringList paths = {
        file("camera.jpg", cameraPhoto(QSize(800, 600), "2023:07:14 10:20:30")),
        file("plain.jpg", quartersJpeg(300, 400)),
        file("phone.heic", heic(*quarters(64, 48), heif_orientation_rotate_90_cw)),
        file("png.jpg", TestPictures::png(QSize(16, 16))),
        path("missing.jpg"),
    };
    RowReader reader(QSize(40, 30), 1);
    Reports reports;
    record(reader, reports);
    reader.read(rowsOf(paths));
    QTRY_VERIFY_WITH_TIMEOUT(reader.isIdle(), 20000);

    QList<qint64> facts = reports.facts;
    QList<qint64> pictures = reports.pictures;
    std::sort(facts.begin(), facts.end());
    std::sort(pictures.begin(), pictures.end());
    QCOMPARE(facts, QList<qint64>({0, 1, 2, 3, 4}));
    QCOMPARE(pictures, QList<qint64>({0, 1, 2, 3, 4}));
    for (qint64 key = 0; key < 5; ++key)
        QCOMPARE(reports.pathOf.value(key), paths[key]);

    QCOMPARE(reports.factsOf[0].size, QSize(800, 600));
    QCOMPARE(reports.factsOf[0].taken, QDateTime(QDate(2023, 7, 14), QTime(10, 20, 30), Qt::UTC));
    QCOMPARE(reports.factsOf[1].size, QSize(300, 400));
    QVERIFY(!reports.factsOf[1].taken);
    QCOMPARE(reports.factsOf[2].size, QSize(48, 64));
    QVERIFY(!reports.factsOf[3].readable);
    QVERIFY(!reports.factsOf[4].readable);

    // Fitted into the box, upright, in the picture's own shape.
    QCOMPARE(reports.pictureOf[0].size(), QSize(40, 30));
    QCOMPARE(reports.pictureOf[1].size(), QSize(22, 30));
    QCOMPARE(reports.pictureOf[2].size(), QSize(22, 30));
    QVERIFY(reports.pictureOf[3].isNull());
    QVERIFY(reports.pictureOf[4].isNull());
    // Turned upright: the blue quarter stored at the bottom left is at the top left.
    const QColor topLeft = reports.pictureOf[2].pixelColor(2, 2);
    QVERIFY2(topLeft.blue() > 180 && topLeft.red() < 80 && topLeft.green() < 80,
             qPrintable(topLeft.name()));
}

void RowReaderTest::drawsPicturesForTheScreensPixels()
{
    RowReader reader(QSize(40, 30), 2);
    Reports reports;
    record(reader, reports);
    reader.read({{7, file("plain.jpg", quartersJpeg(800, 600))}});
    QTRY_VERIFY_WITH_TIMEOUT(reader.isIdle(), 20000);
    QCOMPARE(reports.pictureOf[7].size(), QSize(80, 60));
    QCOMPARE(reports.pictureOf[7].devicePixelRatio(), 2.0);
}

// Rows in sight are waited for: their pictures come next, before the other rows' and even
// before the facts still to read.
void RowReaderTest::picturesPreferredComeFirst()
{
    const QString photo = file("photo.jpg", quartersJpeg(1024, 768, 90));
    RowReader reader(QSize(40, 30), 1);
    Reports reports;
    record(reader, reports);
    QStringList paths;
    for (int i = 0; i < 300; ++i)
        paths << photo;
    reader.read(rowsOf(paths));
    reader.prefer({299, 150});
    QTRY_VERIFY_WITH_TIMEOUT(reader.isIdle(), 60000);

    QCOMPARE(reports.pictures.size(), 300);
    // The two first, in whichever order their threads finished them.
    QVERIFY(reports.pictures.indexOf(299) < 2);
    QVERIFY(reports.pictures.indexOf(150) < 2);
    // Facts keep the list's order, but for the threads finishing side by side.
    QVERIFY(reports.facts.indexOf(299) > 290);
}

void RowReaderTest::forgottenRowsAreNotRead()
{
    const QString photo = file("photo.jpg", quartersJpeg(640, 480, 90));
    RowReader reader(QSize(40, 30), 1);
    Reports reports;
    record(reader, reports);
    QStringList paths;
    QList<qint64> keys;
    for (int i = 0; i < 200; ++i) {
        paths << photo;
        keys << i;
    }
    reader.read(rowsOf(paths));
    reader.forget(keys);
    QTRY_VERIFY_WITH_TIMEOUT(reader.isIdle(), 20000);
    // Only what the threads had taken in the moment between, of 400 reads: headers are read
    // in microseconds, so a busy machine lets many through, but never most.
    QVERIFY(reports.facts.size() + reports.pictures.size() < 200);

    reader.read({{500, photo}});
    reader.clear();
    QTRY_VERIFY_WITH_TIMEOUT(reader.isIdle(), 20000);
    reader.read({{501, photo}});
    QTRY_VERIFY_WITH_TIMEOUT(reader.isIdle(), 20000);
    QVERIFY(reports.factsOf.contains(501) && reports.pictureOf.contains(501));
}

// A picture renamed while its row waits: the row is read under the name it has now.
void RowReaderTest::readsARowAgainUnderItsNewPath()
{
    RowReader reader(QSize(40, 30), 1);
    Reports reports;
    record(reader, reports);
    QFile::remove(path("old.jpg"));
    reader.read({{1, path("old.jpg")}});
    reader.read({{1, file("new.jpg", quartersJpeg(64, 48))}});
    QTRY_VERIFY_WITH_TIMEOUT(reader.isIdle(), 20000);
    // The old name may have been on its way already; the list drops what is not its path.
    QVERIFY(reports.factsAt.contains(path("new.jpg")));
    QCOMPARE(reports.factsAt.value(path("new.jpg")).size, QSize(64, 48));
    QCOMPARE(reports.pictureAt.value(path("new.jpg")).size(), QSize(40, 30));
}

void RowReaderTest::stopsWhenDestroyed()
{
    const QString photo = file("photo.jpg", quartersJpeg(1024, 768, 90));
    int reported = 0;
    {
        RowReader reader(QSize(40, 30), 1);
        connect(&reader, &RowReader::pictureMade, this, [&] { ++reported; });
        QList<RowReader::Row> rows;
        for (int i = 0; i < 500; ++i)
            rows.append({i, photo});
        reader.read(rows);
        reader.prefer({0, 1, 2, 3});
        QTest::qWait(0);
    }
    const int beforeEvents = reported;
    QCoreApplication::processEvents();
    QCOMPARE(reported, beforeEvents);
    QVERIFY(reported < 500);
}

void RowReaderTest::rowsShowTheirPicturesAndDetails()
{
    QFile::remove(path("missing.jpg"));
    const QStringList paths = {
        file("camera.jpg", cameraPhoto(QSize(800, 600), "2023:07:14 10:20:30")),
        file("plain.jpg", quartersJpeg(300, 400)),
        file("png.jpg", TestPictures::png(QSize(16, 16))),
        path("missing.jpg"),
    };
    QFile plain(paths[1]);
    QVERIFY(plain.open(QIODevice::ReadWrite));
    const QDateTime changed(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    QVERIFY(plain.setFileTime(changed, QFileDevice::FileModificationTime));
    plain.close();
    m_view.add(paths);
    // The paths are there at once; the rest comes as it is read.
    QCOMPARE(rowPaths(), paths);
    waitUntilRead();

    const CMSFlexGrid& grid = m_view->grid();
    const QSize box = grid.rowPictureBox();
    for (int row : {1, 2}) {
        const QSize picture = grid.rowPicture(row).deviceIndependentSize().toSize();
        QVERIFY(!picture.isEmpty() && box.expandedTo(picture) == box);
    }
    QVERIFY(grid.rowPicture(3).isNull());
    QVERIFY(grid.rowPicture(4).isNull());
    QCOMPARE(grid.rowDetails(1),
             paths[0] + QString::fromUtf8("\n800 × 600 pixels\nTaken 2023-07-14 10:20:30"));
    QCOMPARE(grid.rowDetails(2),
             paths[1] + QString::fromUtf8("\n300 × 400 pixels\nNo date taken; file changed ") +
                 changed.toLocalTime().toString("yyyy-MM-dd HH:mm:ss"));
    QCOMPARE(grid.rowDetails(3), paths[2] + "\nCannot be read as a picture");
    QCOMPARE(grid.rowDetails(4), paths[3] + "\nCannot be read as a picture");
    QCOMPARE(grid.item(0, 0)->toolTip(), grid.rowDetails(1));
    QCOMPARE(grid.item(0, 0)->data(Qt::AccessibleDescriptionRole).toString(), grid.rowDetails(1));
}

// A row that did not come out whole says why first; what the row is follows.
void RowReaderTest::notesComeFirstInTheTooltip()
{
    m_view.add({path("a.jpg"), path("b.jpg")});
    waitUntilRead();
    CMSFlexGrid& grid = m_view->grid();
    const QString details = grid.rowDetails(2);
    grid.addRowNote(2, "Cut off");
    grid.addRowNote(2, "Could not be renamed to x01.jpg: permission denied");
    const QString notes = "Cut off\nCould not be renamed to x01.jpg: permission denied";
    QCOMPARE(grid.rowNote(2), notes);
    QCOMPARE(grid.item(1, 0)->toolTip(), notes + "\n\n" + details);
    QCOMPARE(grid.item(1, 0)->data(Qt::AccessibleDescriptionRole).toString(),
             notes + "\n\n" + details);
    QCOMPARE(grid.rowNote(1), QString());
    grid.clearRowNotes();
    QCOMPARE(grid.item(1, 0)->toolTip(), details);
    QCOMPARE(grid.rowNote(2), QString());
}

void RowReaderTest::picturesAndDetailsStayWithTheirRows()
{
    // Each picture of its own shape, so its row picture tells which it is.
    QStringList paths;
    for (const auto& [name, size] : {std::pair{"c.jpg", QSize(400, 100)},
                                     {"a.jpg", QSize(100, 400)},
                                     {"d.jpg", QSize(300, 300)},
                                     {"b.jpg", QSize(400, 300)}})
        paths << file(QString::fromLatin1(name), quartersJpeg(size.width(), size.height()));
    m_view.add(paths);
    waitUntilRead();
    CMSFlexGrid& grid = m_view->grid();
    QHash<QString, QSize> pictureOf;
    for (int row = 1; row <= 4; ++row)
        pictureOf.insert(grid.GetCellText(row, 1), grid.rowPicture(row).size());

    m_view->sortList(ListOrder::FileName);
    grid.setCurrentCell(1, 0);
    m_view->OnRemove(); // b.jpg
    QCOMPARE(rowPaths(), QStringList({paths[1], paths[0], paths[2]}));
    for (int row = 1; row <= 3; ++row) {
        QCOMPARE(grid.rowPicture(row).size(), pictureOf.value(grid.GetCellText(row, 1)));
        QVERIFY(grid.rowDetails(row).startsWith(m_view->images()[row - 1].GetFullPath() + '\n'));
    }
}

void RowReaderTest::rowsAddedLaterGetTheirsLater()
{
    m_view.add({file("a.jpg", quartersJpeg(64, 48))});
    waitUntilRead();
    m_view.add({file("b.jpg", quartersJpeg(48, 64))});
    waitUntilRead();
    QVERIFY(!m_view->grid().rowPicture(1).isNull());
    QVERIFY(!m_view->grid().rowPicture(2).isNull());
    QVERIFY(m_view->grid().rowDetails(2).contains(QString::fromUtf8("48 × 64 pixels")));
}

// Rows removed, and the rows below moving up, while their pictures are being read: each row
// ends with what is read of its own picture.
void RowReaderTest::rowsRemovedWhileReadGetNothingOfOthers()
{
    QStringList paths;
    for (int i = 0; i < 60; ++i)
        paths << file(QStringLiteral("p%1.jpg").arg(i), quartersJpeg(200 + 10 * i, 200));
    m_view.add(paths);
    // Scrolled, so that rows far down are read first.
    m_view->grid().verticalScrollBar()->setValue(m_view->grid().verticalScrollBar()->maximum());
    m_view->grid().setRangeSelected(QTableWidgetSelectionRange(0, 0, 39, 1), true);
    m_view->grid().setCurrentCell(39, 0, QItemSelectionModel::NoUpdate);
    m_view->OnRemove();
    QCOMPARE(m_view->images().size(), 20);
    waitUntilRead();
    const int boxWidth = m_view->grid().rowPictureBox().width();
    for (int row = 1; row <= 20; ++row) {
        const int width = 200 + 10 * (row + 39);
        QCOMPARE(m_view->grid().rowDetails(row).section(u'\n', 0, 1),
                 paths[row + 39] + QStringLiteral("\n%1 \u00d7 200 pixels").arg(width));
        QCOMPARE(m_view->grid().rowPicture(row).size(), QSize(boxWidth, 200 * boxWidth / width));
    }
}

QTEST_MAIN(RowReaderTest)
#include "tst_rowreader.moc"
