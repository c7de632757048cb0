#include "PhotoPictures.h"
#include "TestPictures.h"

#include "base/ImageList.h"
#include "imaging/ListOrder.h"

#include <QTemporaryDir>
#include <QTest>

#include <numeric>

Q_DECLARE_METATYPE(ListOrder)

namespace {

QDateTime at(const QString& text)
{
    QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    time.setTimeSpec(Qt::UTC);
    return time;
}

// The file names of the list in the order given.
QStringList namesIn(const ImageList& list, const std::vector<int>& order)
{
    QStringList names;
    for (int index : order)
        names << list[index].GetFullPath();
    return names;
}

} // namespace

// The orders the list can be sorted in, as one pure function of the rows and their facts.
class ListOrderTest : public QObject
{
    Q_OBJECT

private slots:
    void sortsNamesAsPeopleReadThem_data();
    void sortsNamesAsPeopleReadThem();
    void sortsByTheDateTaken();
    void goesBackToTheOrderAdded();
    void sortsFilesByTheirOwnDates();
};

void ListOrderTest::sortsNamesAsPeopleReadThem_data()
{
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("sorted");

    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("numbers by value")
        << QStringList{"/p/IMG_10.jpg", "/p/IMG_9.jpg", "/p/IMG_100.jpg", "/p/IMG_1.jpg"} << english
        << QStringList{"/p/IMG_1.jpg", "/p/IMG_9.jpg", "/p/IMG_10.jpg", "/p/IMG_100.jpg"};
    QTest::newRow("letter case aside") << QStringList{"/p/b.jpg", "/p/C.jpg", "/p/a.jpg"} << english
                                       << QStringList{"/p/a.jpg", "/p/b.jpg", "/p/C.jpg"};
    QTest::newRow("accents beside their letter")
        << QStringList{"/p/f.jpg", "/p/été.jpg", "/p/ete.jpg", "/p/d.jpg"} << english
        << QStringList{"/p/d.jpg", "/p/ete.jpg", "/p/été.jpg", "/p/f.jpg"};
    // Two cards give the same names; the folder decides, then the order added.
    QTest::newRow("same name in two folders")
        << QStringList{"/card2/DSC_0001.jpg", "/card1/DSC_0002.jpg", "/card1/DSC_0001.jpg"}
        << english
        << QStringList{"/card1/DSC_0001.jpg", "/card2/DSC_0001.jpg", "/card1/DSC_0002.jpg"};
    QTest::newRow("the C locale sorts as English")
        << QStringList{"/p/img10.jpg", "/p/Img2.jpg", "/p/img1.jpg"} << QLocale::c()
        << QStringList{"/p/img1.jpg", "/p/Img2.jpg", "/p/img10.jpg"};
    QTest::newRow("Swedish letters after z")
        << QStringList{"/p/ö.jpg", "/p/z.jpg", "/p/o.jpg"} << QLocale(QLocale::Swedish)
        << QStringList{"/p/o.jpg", "/p/z.jpg", "/p/ö.jpg"};
}

void ListOrderTest::sortsNamesAsPeopleReadThem()
{
    QFETCH(QStringList, added);
    QFETCH(QLocale, locale);
    ImageList list;
    for (const QString& path : added)
        QVERIFY(list.addNew(path));
    const std::vector<int> order = listOrder(ListOrder::FileName, list, {}, locale);
    QTEST(namesIn(list, order), "sorted");
    QVERIFY(list.reorder(order));
    // Sorting again changes nothing.
    std::vector<int> same(order.size());
    std::iota(same.begin(), same.end(), 0);
    QCOMPARE(listOrder(ListOrder::FileName, list, {}, locale), same);
}

void ListOrderTest::sortsByTheDateTaken()
{
    ImageList list;
    std::vector<PictureFacts> facts;
    // name, date taken (empty: none), file time
    const QList<QStringList> rows = {
        {"/p/e.jpg", "", "2023-01-02T00:00:00"},
        {"/p/b.jpg", "2023-07-14T10:20:30", "2024-01-01T00:00:00"},
        {"/p/d.jpg", "", "2023-01-01T00:00:00"},
        {"/p/a.jpg", "2023-07-14T10:20:30", "2020-01-01T00:00:00"},
        {"/p/c.jpg", "2021-03-04T05:06:07", "2024-01-01T00:00:00"},
        {"/p/f.jpg", "", ""},
        {"/p/g.jpg", "", "2023-01-01T00:00:00"},
    };
    for (const QStringList& row : rows) {
        QVERIFY(list.addNew(row[0]));
        PictureFacts read;
        if (!row[1].isEmpty())
            read.taken = at(row[1]);
        read.modified = at(row[2]);
        facts.push_back(read);
    }
    // The oldest first; the same moment by name; pictures without a date by their file's
    // time, a file with none last.
    QCOMPARE(namesIn(list, listOrder(ListOrder::DateTaken, list, facts)),
             QStringList({"/p/c.jpg", "/p/a.jpg", "/p/b.jpg", "/p/d.jpg", "/p/g.jpg", "/p/e.jpg",
                          "/p/f.jpg"}));
    // Facts not read yet count as no date and no file time.
    QCOMPARE(namesIn(list, listOrder(ListOrder::DateTaken, list, std::span(facts).first(2))),
             QStringList({"/p/b.jpg", "/p/e.jpg", "/p/a.jpg", "/p/c.jpg", "/p/d.jpg", "/p/f.jpg",
                          "/p/g.jpg"}));
}

void ListOrderTest::goesBackToTheOrderAdded()
{
    ImageList list;
    for (const char* path : {"/p/c.jpg", "/p/a.jpg", "/p/d.jpg", "/p/b.jpg"})
        QVERIFY(list.addNew(QString::fromLatin1(path)));
    QVERIFY(list.reorder(listOrder(ListOrder::FileName, list, {})));
    list.removeAt(0); // a.jpg
    QVERIFY(list.addNew(QStringLiteral("/p/0.jpg")));
    QVERIFY(list.reorder(std::vector<int>{3, 2, 0, 1}));
    QCOMPARE(namesIn(list, listOrder(ListOrder::Added, list, {})),
             QStringList({"/p/c.jpg", "/p/d.jpg", "/p/b.jpg", "/p/0.jpg"}));
}

// Dates as cameras and phones write them, read from the files.
void ListOrderTest::sortsFilesByTheirOwnDates()
{
    using namespace PhotoPictures;
    QTemporaryDir dir;
    const auto dated = [](const char* date) {
        ExifBlock exif;
        exif.dateTaken(date);
        return exif.payload();
    };
    ExifBlock phone;
    phone.orientation(6).dateTaken("2022:08:01 09:00:00");
    const QList<QPair<QString, QByteArray>> files = {
        {"camera-late.jpg", withSegment(quartersJpeg(32, 24), 0xe1, dated("2022:08:01 12:00:00"))},
        {"undated.jpg", quartersJpeg(32, 24)},
        {"phone.heic", heicWithExif(*quarters(32, 24), heif_orientation_rotate_90_cw, phone)},
        {"camera-early.jpg", withSegment(quartersJpeg(32, 24), 0xe1, dated("2022:08:01 08:00:00"))},
    };
    ImageList list;
    std::vector<PictureFacts> facts;
    for (const auto& [name, bytes] : files) {
        QVERIFY(TestPictures::write(dir.filePath(name), bytes));
        QVERIFY(list.addNew(dir.filePath(name)));
        facts.push_back(readPictureFacts(dir.filePath(name)));
    }
    QStringList names;
    for (int index : listOrder(ListOrder::DateTaken, list, facts))
        names << list[index].GetFileName();
    QCOMPARE(names,
             QStringList({"camera-early.jpg", "phone.heic", "camera-late.jpg", "undated.jpg"}));
}

QTEST_APPLESS_MAIN(ListOrderTest)
#include "tst_listorder.moc"
