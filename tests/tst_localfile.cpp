#include "base/LocalFile.h"
#include "base/LocalPath.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

// The other questions about names are asked through morvane's command line
// (tst_startarguments); this one needs a working directory of its own.
class LocalFileTest : public QObject
{
    Q_OBJECT

private slots:
    void findsFilesBelowAWorkingDirectoryNotValidUtf8();
};

void LocalFileTest::findsFilesBelowAWorkingDirectoryNotValidUtf8()
{
    const QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QByteArray card = pathToLocal(scratch.path()) + "/card\xe9";
    QVERIFY(mkdir(card.constData(), 0700) == 0);
    QVERIFY(chdir(card.constData()) == 0);
    const QString path = absolutePath(pathFromLocal("./a/../lat\xedn.jpg"));
    QCOMPARE(pathToLocal(path), card + "/lat\xedn.jpg");
    QCOMPARE(fileKind(path), FileKind::Missing);
    QCOMPARE(fileKind(absolutePath(".")), FileKind::Folder);
    QVERIFY(chdir("/") == 0 && rmdir(card.constData()) == 0);
}

QTEST_APPLESS_MAIN(LocalFileTest)
#include "tst_localfile.moc"
