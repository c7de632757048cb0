#include "base/BusyFlag.h"
#include "base/ImageList.h"

#include <QTest>

#include <thread>
#include <vector>

class ImageListTest : public QObject
{
    Q_OBJECT

private slots:
    void splitsPathAtLastSlash_data();
    void splitsPathAtLastSlash();
    void pathWithoutSeparatorLeavesEntry();
    void skipsExactDuplicatesOnly();
    void renamedEntryIsFoundByItsNewPath();
    void twoEntriesOnOnePathCountTwice();
    void reorderKeepsTheOrderAdded();
    void reorderRefusesWhatIsNoPermutation_data();
    void reorderRefusesWhatIsNoPermutation();
    void busyFlagLetsOneHolderIn();
    void busyFlagTryNeverWaits();
};

void ImageListTest::splitsPathAtLastSlash_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("fileName");

    // clang-format off
    QTest::newRow("posix") << "/photos/a.jpg" << "/photos/" << "a.jpg";
    // A backslash is an ordinary character of a file name here.
    QTest::newRow("backslash in the name") << "/photos/back\\slash.jpg" << "/photos/"
                                           << "back\\slash.jpg";
    QTest::newRow("backslash in a folder") << "/odd\\dir/c.jpg" << "/odd\\dir/" << "c.jpg";
    QTest::newRow("trailing separator") << "/photos/" << "/photos/" << "";
    QTest::newRow("root") << "/a.jpg" << "/" << "a.jpg";
    // clang-format on
}

void ImageListTest::splitsPathAtLastSlash()
{
    QFETCH(QString, path);
    ImageEntry entry;
    entry.SetPath(path);
    QTEST(entry.GetFolder(), "folder");
    QTEST(entry.GetFileName(), "fileName");
    QCOMPARE(entry.GetFullPath(), path);
}

void ImageListTest::pathWithoutSeparatorLeavesEntry()
{
    ImageEntry entry;
    entry.SetPath(QStringLiteral("/photos/a.jpg"));
    entry.SetPath(QStringLiteral("b\\c.jpg"));
    QCOMPARE(entry.GetFullPath(), QStringLiteral("/photos/a.jpg"));
}

void ImageListTest::skipsExactDuplicatesOnly()
{
    ImageList list;
    QVERIFY(list.addNew(QStringLiteral("/P/a.jpg")));
    QVERIFY(!list.addNew(QStringLiteral("/P/a.jpg")));
    QVERIFY(list.addNew(QStringLiteral("/p/A.JPG")));
    QVERIFY(list.addNew(QStringLiteral("/P/a.jpg ")));
    QCOMPARE(list.size(), 3);
    QVERIFY(list.contains(QStringLiteral("/p/A.JPG")));
    list.removeAt(0);
    QVERIFY(!list.contains(QStringLiteral("/P/a.jpg")));
    QCOMPARE(list[0].GetFileName(), QStringLiteral("A.JPG"));
}

// The window renames an entry through the list after a run; the set of paths follows it.
void ImageListTest::renamedEntryIsFoundByItsNewPath()
{
    ImageList list;
    QVERIFY(list.addNew(QStringLiteral("/p/IMG_1.jpg")));
    QVERIFY(list.addNew(QStringLiteral("/p/IMG_2.jpg")));
    list[0].SetPath(QStringLiteral("/p/beach01.jpg"));
    QCOMPARE(list[0].GetFileName(), QStringLiteral("beach01.jpg"));
    QVERIFY(list.contains(QStringLiteral("/p/beach01.jpg")));
    QVERIFY(!list.contains(QStringLiteral("/p/IMG_1.jpg")));
    // A new file under the old name is another picture.
    QVERIFY(list.addNew(QStringLiteral("/p/IMG_1.jpg")));
    QVERIFY(!list.addNew(QStringLiteral("/p/beach01.jpg")));
    // A path without a separator leaves the entry, and the set, as they were.
    list[1].SetPath(QStringLiteral("nowhere.jpg"));
    QVERIFY(list.contains(QStringLiteral("/p/IMG_2.jpg")));
    const ImageEntry& entry = list[1];
    QCOMPARE(entry.GetFullPath(), QStringLiteral("/p/IMG_2.jpg"));
}

// A picture listed while its file was missing can be the name another one is renamed to.
void ImageListTest::twoEntriesOnOnePathCountTwice()
{
    ImageList list;
    QVERIFY(list.addNew(QStringLiteral("/p/a01.jpg")));
    QVERIFY(list.addNew(QStringLiteral("/p/IMG.jpg")));
    list[1].SetPath(QStringLiteral("/p/a01.jpg"));
    list.removeAt(0);
    QVERIFY(list.contains(QStringLiteral("/p/a01.jpg")));
    list.removeAt(0);
    QVERIFY(!list.contains(QStringLiteral("/p/a01.jpg")));
    QVERIFY(list.isEmpty());
}

void ImageListTest::reorderKeepsTheOrderAdded()
{
    ImageList list;
    for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/d.jpg"})
        QVERIFY(list.addNew(QString::fromLatin1(path)));
    list.removeAt(1);
    QVERIFY(list.reorder(std::vector<int>{2, 0, 1}));
    QCOMPARE(list[0].GetFileName(), QStringLiteral("d.jpg"));
    QCOMPARE(list[1].GetFileName(), QStringLiteral("a.jpg"));
    QCOMPARE(list[2].GetFileName(), QStringLiteral("c.jpg"));
    QVERIFY(list.addNew(QStringLiteral("/p/b.jpg")));
    QCOMPARE(list.addedOrder(0), qint64(3));
    QCOMPARE(list.addedOrder(1), qint64(0));
    QCOMPARE(list.addedOrder(2), qint64(2));
    QCOMPARE(list.addedOrder(3), qint64(4));
    QVERIFY(list.contains(QStringLiteral("/p/d.jpg")));
    QVERIFY(!list.addNew(QStringLiteral("/p/c.jpg")));
}

void ImageListTest::reorderRefusesWhatIsNoPermutation_data()
{
    QTest::addColumn<std::vector<int>>("order");

    QTest::newRow("too short") << std::vector<int>{1, 0};
    QTest::newRow("too long") << std::vector<int>{0, 1, 2, 0};
    QTest::newRow("an index twice") << std::vector<int>{0, 1, 1};
    QTest::newRow("beyond the end") << std::vector<int>{0, 1, 3};
    QTest::newRow("negative") << std::vector<int>{0, -1, 2};
}

void ImageListTest::reorderRefusesWhatIsNoPermutation()
{
    QFETCH(std::vector<int>, order);
    ImageList list;
    for (const char* path : {"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"})
        QVERIFY(list.addNew(QString::fromLatin1(path)));
    QVERIFY(!list.reorder(order));
    QCOMPARE(list[0].GetFileName(), QStringLiteral("a.jpg"));
    QCOMPARE(list[2].GetFileName(), QStringLiteral("c.jpg"));
}

void ImageListTest::busyFlagLetsOneHolderIn()
{
    BusyFlag flag;
    int inside = 0;
    int mostInside = 0;
    int total = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                const BusyLock lock(flag);
                mostInside = std::max(mostInside, ++inside);
                ++total;
                --inside;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(mostInside, 1);
    QCOMPARE(total, 8000);
}

// The window's paint takes the flag only when it is free, since it may run inside Add.
void ImageListTest::busyFlagTryNeverWaits()
{
    BusyFlag flag;
    {
        const BusyLock held(flag);
        const BusyLock attempt(flag, std::try_to_lock);
        QVERIFY(!attempt.ownsFlag());
    }
    const BusyLock attempt(flag, std::try_to_lock);
    QVERIFY(attempt.ownsFlag());
}

QTEST_APPLESS_MAIN(ImageListTest)
#include "tst_imagelist.moc"
