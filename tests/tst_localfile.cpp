#include "base/LocalFile.h"
#include "base/LocalPath.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(FileKind)

// Names from a command line, found and made absolute byte for byte.
class LocalFileTest : public QObject
{
    Q_OBJECT

private:
    // The scratch folder's own name is valid UTF-8; the names below it need not be.
    QByteArray local(const QByteArray& name) const { return pathToLocal(m_scratch.path()) + name; }

    QTemporaryDir m_scratch;

private slots:
    void initTestCase();

    void makesPathsAbsolute_data();
    void makesPathsAbsolute();
    void tellsWhatAPathNames_data();
    void tellsWhatAPathNames();
};

void LocalFileTest::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    // A working directory whose name is not valid UTF-8, as on an old camera card.
    QVERIFY(mkdir(local("/card\xe9").constData(), 0700) == 0);
    QVERIFY(chdir(local("/card\xe9").constData()) == 0);
    std::FILE* file = std::fopen(local("/card\xe9/lat\xedn.jpg").constData(), "w");
    QVERIFY(file);
    std::fclose(file);
}

void LocalFileTest::makesPathsAbsolute_data()
{
    QTest::addColumn<QByteArray>("given");
    QTest::addColumn<QByteArray>("absolute"); // %1 stands for the working directory

    QTest::newRow("relative") << QByteArray("lat\xedn.jpg") << QByteArray("%1/lat\xedn.jpg");
    QTest::newRow("dot") << QByteArray("./a/./b.jpg") << QByteArray("%1/a/b.jpg");
    QTest::newRow("dot dot") << QByteArray("../x\xff.jpg") << QByteArray("%1/../x\xff.jpg");
    QTest::newRow("absolute") << QByteArray("/p//q\xe9/../a.jpg") << QByteArray("/p/a.jpg");
    QTest::newRow("absolute kept") << QByteArray("/p/\xe9\n.jpg") << QByteArray("/p/\xe9\n.jpg");
}

void LocalFileTest::makesPathsAbsolute()
{
    QFETCH(QByteArray, given);
    QFETCH(QByteArray, absolute);
    absolute.replace("%1/..", pathToLocal(m_scratch.path()));
    absolute.replace("%1", local("/card\xe9"));
    QCOMPARE(pathToLocal(absolutePath(pathFromLocal(given))), absolute);
}

void LocalFileTest::tellsWhatAPathNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<FileKind>("kind");

    QTest::newRow("file not valid utf-8") << QByteArray("lat\xedn.jpg") << FileKind::File;
    QTest::newRow("its utf-8 look-alike") << QByteArray("lat\xc3\xadn.jpg") << FileKind::Missing;
    QTest::newRow("folder") << QByteArray(".") << FileKind::Folder;
    QTest::newRow("missing") << QByteArray("gone.jpg") << FileKind::Missing;
}

void LocalFileTest::tellsWhatAPathNames()
{
    QFETCH(QByteArray, name);
    QTEST(fileKind(absolutePath(pathFromLocal(name))), "kind");
}

QTEST_APPLESS_MAIN(LocalFileTest)
#include "tst_localfile.moc"
