#include "settings/FolderValidation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class FolderValidationTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_dir;

private slots:
    void initTestCase();

    void checksFormOfPath_data();
    void checksFormOfPath();
    void checksFolderName_data();
    void checksFolderName();
    void checkModeNeverTouchesFileSystem();
    void createModeMakesEveryMissingLevel();
    void createModeAcceptsWhatExists_data();
    void createModeAcceptsWhatExists();
    void createModeStopsAtLevelThatCannotBeMade_data();
    void createModeStopsAtLevelThatCannotBeMade();
};

void FolderValidationTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkdir("ro"));
    QFile file(path("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void FolderValidationTest::checksFormOfPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("code");

    QTest::newRow("root") << "/" << 0;
    QTest::newRow("one level") << "/tmp" << 0;
    QTest::newRow("several levels") << "/srv/site/thumbs" << 0;
    QTest::newRow("blanks inside") << "/My Site/big pictures" << 0;
    QTest::newRow("dot inside") << "/site/v1.2" << 0;
    QTest::newRow("non-ASCII") << "/Bilder/Größe" << 0;
    QTest::newRow("control character") << "/a\x01z" << 0;

    QTest::newRow("empty") << "" << 1;
    QTest::newRow("relative") << "tmp" << 1;
    QTest::newRow("relative to here") << "./tmp" << 1;
    QTest::newRow("drive path") << "C:\\Temp" << 1;
    QTest::newRow("trailing separator") << "/tmp/" << 1;
    QTest::newRow("doubled at start") << "//tmp" << 1;
    QTest::newRow("doubled inside") << "/tmp//site" << 1;
    QTest::newRow("only separators") << "//" << 1;
    QTest::newRow("dot") << "/tmp/./site" << 1;
    QTest::newRow("dot dot") << "/tmp/../etc" << 1;
    // The component rules apply to every level, first, inner and last.
    QTest::newRow("bad first level") << "/ site/thumbs" << 1;
    QTest::newRow("bad inner level") << "/site/thumbs./big" << 1;
    QTest::newRow("bad last level") << "/site/th:umbs" << 1;
}

void FolderValidationTest::checksFormOfPath()
{
    QFETCH(QString, path);
    QFETCH(int, code);
    QCOMPARE(WalkFolderPath(path, true), code);
}

void FolderValidationTest::checksFolderName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");

    QTest::newRow("plain") << "thumbs" << true;
    QTest::newRow("single letter") << "a" << true;
    QTest::newRow("blank inside") << "big pictures" << true;
    QTest::newRow("full stop inside") << "v1.2" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot") << "." << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("blank") << " " << false;
    QTest::newRow("leading full stop") << ".git" << false;
    QTest::newRow("trailing full stop") << "Temp." << false;
    QTest::newRow("leading blank") << " a" << false;
    QTest::newRow("trailing blank") << "a " << false;
    QTest::newRow("leading tab") << "\ta" << false;
    QTest::newRow("trailing tab") << "a\t" << false;
    for (QChar c : QStringLiteral("\"*/:<>?\\|"))
        QTest::addRow("forbidden %c", c.toLatin1()) << QStringLiteral("a%1b").arg(c) << false;
}

void FolderValidationTest::checksFolderName()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(IsValidFolderName(name), valid);
}

void FolderValidationTest::checkModeNeverTouchesFileSystem()
{
    QCOMPARE(WalkFolderPath(path("new/levels"), true), 0);
    QVERIFY(!QFileInfo::exists(path("new")));
    // A regular file in the way goes unnoticed: only the form is looked at.
    QCOMPARE(WalkFolderPath(path("file/below"), true), 0);
}

void FolderValidationTest::createModeMakesEveryMissingLevel()
{
    QVERIFY(QDir(m_dir.path()).mkdir("a"));
    QCOMPARE(WalkFolderPath(path("a/b/c/d"), false), 0);
    QVERIFY(QFileInfo(path("a/b/c/d")).isDir());
}

void FolderValidationTest::createModeAcceptsWhatExists_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("root") << "/";
    QTest::newRow("existing folder") << m_dir.path();
    QTest::newRow("existing file") << m_dir.filePath("file");
}

void FolderValidationTest::createModeAcceptsWhatExists()
{
    QFETCH(QString, path);
    QCOMPARE(WalkFolderPath(path, false), 0);
}

void FolderValidationTest::createModeStopsAtLevelThatCannotBeMade_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("created"); // the level made before the failure, or empty
    QTest::addColumn<bool>("needsPermissions");

    QTest::newRow("file in the way") << path("file/x/y") << "" << false;
    QTest::newRow("name too long")
        << path("made/" + QString(300, u'n') + "/z") << path("made") << false;
    // Permission bits do not stop the super-user, so this case only runs for others.
    QTest::newRow("read-only folder") << path("ro/x") << "" << true;
}

void FolderValidationTest::createModeStopsAtLevelThatCannotBeMade()
{
    QFETCH(QString, path);
    QFETCH(QString, created);
    QFETCH(bool, needsPermissions);
    if (needsPermissions && geteuid() == 0)
        QSKIP("the super-user may write into read-only folders");

    QVERIFY(QFile::setPermissions(this->path("ro"), QFile::ReadOwner | QFile::ExeOwner));
    const int code = WalkFolderPath(path, false);
    QFile::setPermissions(this->path("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(code, 2);
    QVERIFY(!QFileInfo::exists(path));
    if (!created.isEmpty())
        QVERIFY(QFileInfo(created).isDir());
}

QTEST_APPLESS_MAIN(FolderValidationTest)
#include "tst_foldervalidation.moc"
