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
