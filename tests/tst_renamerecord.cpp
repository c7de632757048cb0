#include "SmallDisk.h"
#include "TestPictures.h"

#include "base/LocalPath.h"
#include "imaging/RenameRecord.h"
#include "imaging/RenameUndo.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <memory>

using TestPictures::read;
using TestPictures::write;

namespace {

// Files are made and looked at by their bytes, as names that are not UTF-8 exist.
bool writeBytes(const QByteArray& path, const QByteArray& content)
{
    std::FILE* file = std::fopen(path.constData(), "wb");
    const bool written = file && std::fwrite(content.constData(), 1, size_t(content.size()),
                                             file) == size_t(content.size());
    return file && std::fclose(file) == 0 && written;
}

bool existsBytes(const QByteArray& path)
{
    struct stat status;
    return lstat(path.constData(), &status) == 0;
}

QList<QByteArray> linesOf(const QString& path)
{
    QList<QByteArray> lines = read(path).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

// The record of renamed originals and the undo that reads it.
class RenameRecordTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QString record() const { return path(QStringLiteral("data/morvane-renames.tsv")); }
    // A photograph whose content names it, so each file can be told from the others.
    void photograph(const QString& name) { QVERIFY(write(path(name), name.toUtf8())); }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init();

    void recordsEachRenameOnOneLine_data();
    void recordsEachRenameOnOneLine();
    void keepsNoLineForARenameRefused();
    void newRecordIsPrivate();
    void lastRunIsTheRunOfTheLastLine();
    void passesOverDamagedLines();
    void lineCutShortGetsItsEnd();
    void recordThatCannotBeMadeRenamesNothing();
    void fullDiskTakesTheRenameBack();
    void undoRenamesBackNewestFirst();
    void undoLeavesWhatItCannotTakeBack();
    void anotherUndoTakesTheUndoBack();
    void undoOfNoRecord();
    void makesTheRecordsFolderByItsBytes();
};

void RenameRecordTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void RenameRecordTest::recordsEachRenameOnOneLine_data()
{
    QTest::addColumn<QByteArray>("name"); // as the file system holds it

    QTest::newRow("plain") << QByteArray("Autumn.jpg");
    QTest::newRow("utf-8 and blanks") << QByteArray("\xc3\x89t\xc3\xa9 \xc3\xa0 Paris.jpg");
    QTest::newRow("tab") << QByteArray("a\tb.jpg");
    QTest::newRow("line feed") << QByteArray("a\nb.jpg");
    QTest::newRow("carriage return") << QByteArray("a\rb.jpg");
    QTest::newRow("backslash and escape text") << QByteArray("a\\x41\\n.jpg");
    QTest::newRow("latin-1 byte") << QByteArray("lat\xedn.jpg");
}

void RenameRecordTest::recordsEachRenameOnOneLine()
{
    QFETCH(QByteArray, name);
    const QByteArray from = pathToLocal(m_dir->path()) + '/' + name;
    const QByteArray to = pathToLocal(m_dir->path()) + "/new " + name;
    QVERIFY(writeBytes(from, "photo"));
    // QTemporaryDir cannot remove a name that is not UTF-8.
    const auto removeByName = qScopeGuard([&] {
        ::unlink(from.constData());
        ::unlink(to.constData());
    });

    RenameRecord run(record());
    QVERIFY(!run.rename(pathFromLocal(from), pathFromLocal(to)));
    QVERIFY(!existsBytes(from));
    QVERIFY(existsBytes(to));

    const QList<QByteArray> lines = linesOf(record());
    QCOMPARE(lines.size(), 1);
    const QList<QByteArray> fields = lines[0].split('\t');
    QCOMPARE(fields.size(), 4);
    QCOMPARE(QString::fromUtf8(fields[0]), run.runStart());
    QVERIFY(QDateTime::fromString(QString::fromUtf8(fields[0]), Qt::ISODateWithMs).isValid());
    QVERIFY(QDateTime::fromString(QString::fromUtf8(fields[1]), Qt::ISODateWithMs).isValid());
    QVERIFY(QString::fromUtf8(fields[1]) >= QString::fromUtf8(fields[0]).left(16));
    QVERIFY(read(record()).isValidUtf8());

    const RecordedRun last = readLastRun(record());
    QVERIFY(last.found);
    QCOMPARE(last.renames.size(), size_t(1));
    QCOMPARE(pathToLocal(last.renames[0].from), from);
    QCOMPARE(pathToLocal(last.renames[0].to), to);
}

void RenameRecordTest::keepsNoLineForARenameRefused()
{
    photograph("a.jpg");
    photograph("taken.jpg");
    RenameRecord run(record());
    QVERIFY(run.rename(path("a.jpg"), path("taken.jpg")));
    QVERIFY(run.rename(path("missing.jpg"), path("b.jpg")));
    QVERIFY(run.problem().isEmpty());
    QVERIFY(run.takeFailure().isEmpty());
    QVERIFY(readLastRun(record()).renames.empty());
    QCOMPARE(read(path("taken.jpg")), QByteArray("taken.jpg"));
}

// The record names the user's photographs and where they are kept.
void RenameRecordTest::newRecordIsPrivate()
{
    photograph("a.jpg");
    RenameRecord run(record());
    QVERIFY(!run.rename(path("a.jpg"), path("b.jpg")));
    QCOMPARE(QFile::permissions(record()) & 0x7777,
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                 QFileDevice::WriteUser);
}

// Two programs renaming at the same time interleave their lines; each run is told by its
// start, and two runs of one program never share one, however quickly they follow.
void RenameRecordTest::lastRunIsTheRunOfTheLastLine()
{
    for (const char* name : {"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"})
        photograph(QString::fromLatin1(name));
    {
        RenameRecord first(record());
        RenameRecord second(record());
        QVERIFY(first.runStart() != second.runStart());
        QVERIFY(!first.rename(path("1.jpg"), path("a1.jpg")));
        QVERIFY(!second.rename(path("2.jpg"), path("b2.jpg")));
        QVERIFY(!first.rename(path("3.jpg"), path("a3.jpg")));
        QVERIFY(!second.rename(path("4.jpg"), path("b4.jpg")));
        QVERIFY(!first.rename(path("5.jpg"), path("a5.jpg")));
    }
    const RecordedRun last = readLastRun(record());
    QStringList renamed;
    for (const RecordedRename& rename : last.renames)
        renamed << QFileInfo(rename.from).fileName() + " " + QFileInfo(rename.to).fileName();
    QCOMPARE(renamed, QStringList({"1.jpg a1.jpg", "3.jpg a3.jpg", "5.jpg a5.jpg"}));
}

void RenameRecordTest::passesOverDamagedLines()
{
    QVERIFY(QDir().mkpath(path("data")));
    QVERIFY(write(record(), "run1\tt\t/p/a.jpg\t/p/b.jpg\n"
                            "run1\tt\t/p/c.jpg\t/p/d.jpg\n"
                            "run2\tt\t/p/three fields\n"
                            "run3\tt\t/p/bad\\q.jpg\t/p/e.jpg\n"
                            "run4\tt\t\t/p/empty.jpg\n"
                            "run5\tt\t/p/a.jpg\t/p/b.jpg\textra\n"
                            "\n"
                            "run6\tt\t/p/cut.jpg\t/p/sho"));
    const RecordedRun last = readLastRun(record());
    QVERIFY(last.error.isEmpty());
    QCOMPARE(last.renames.size(), size_t(2));
    QCOMPARE(last.renames[1].from, QStringLiteral("/p/c.jpg"));
    QCOMPARE(last.renames[1].to, QStringLiteral("/p/d.jpg"));
}

// A crash in the middle of a line leaves it without its end; the next run starts a line of
// its own rather than finishing that one, and the cut line, whose paths may be cut short,
// is never read as a rename.
void RenameRecordTest::lineCutShortGetsItsEnd()
{
    QVERIFY(QDir().mkpath(path("data")));
    QVERIFY(write(record(), "run1\tt\t/p/a.jpg\t/p/b.j"));
    photograph("c.jpg");
    {
        RenameRecord run(record());
        QVERIFY(!run.rename(path("c.jpg"), path("d.jpg")));
    }
    const RecordedRun last = readLastRun(record());
    QCOMPARE(last.renames.size(), size_t(1));
    QCOMPARE(last.renames[0].to, path("d.jpg"));
    QCOMPARE(linesOf(record()).size(), 2);
    QVERIFY(write(record(), "run1\tt\t/p/a.jpg\t/p/b.j"));
    RenameRecord(record()).open();
    QVERIFY(readLastRun(record()).renames.empty());
}

// No original changes its name without a line to take it back.
void RenameRecordTest::recordThatCannotBeMadeRenamesNothing()
{
    photograph("blocked");
    photograph("a.jpg");
    photograph("b.jpg");
    RenameRecord run(path("blocked/data/morvane-renames.tsv"));
    QVERIFY(run.rename(path("a.jpg"), path("x01.jpg")));
    QVERIFY(run.rename(path("b.jpg"), path("x02.jpg")));
    QVERIFY(QFileInfo::exists(path("a.jpg")) && QFileInfo::exists(path("b.jpg")));
    QVERIFY(!QFileInfo::exists(path("x01.jpg")));
    QCOMPARE(run.problem(),
             path("blocked/data") + ": " + QString::fromLocal8Bit(strerror(ENOTDIR)));
    const QString failure = run.takeFailure();
    QVERIFY2(failure.startsWith("The renames cannot be recorded (" + path("blocked/data")),
             qPrintable(failure));
    QVERIFY(run.takeFailure().isEmpty());
}

void RenameRecordTest::fullDiskTakesTheRenameBack()
{
    SmallDisk disk("64k");
    if (!disk.isMounted())
        QSKIP("a small file system needs root to mount");
    photograph("a.jpg");
    photograph("b.jpg");
    RenameRecord run(disk.filePath("morvane-renames.tsv"));
    QVERIFY(run.open());
    disk.fill();
    QVERIFY(run.rename(path("a.jpg"), path("x01.jpg")));
    QCOMPARE(read(path("a.jpg")), QByteArray("a.jpg"));
    QVERIFY(!QFileInfo::exists(path("x01.jpg")));
    QVERIFY2(run.problem().endsWith(QString::fromLocal8Bit(strerror(ENOSPC))),
             qPrintable(run.problem()));
    // The run tries no further rename once its record has failed.
    QVERIFY(run.rename(path("b.jpg"), path("x02.jpg")));
    QVERIFY(QFileInfo::exists(path("b.jpg")));
    QVERIFY(readLastRun(disk.filePath("morvane-renames.tsv")).renames.empty());
    QCOMPARE(QFileInfo(disk.filePath("morvane-renames.tsv")).size(), 0);
}

// A name a run freed and took again comes back in the right order.
void RenameRecordTest::undoRenamesBackNewestFirst()
{
    photograph("a.jpg");
    {
        RenameRecord run(record());
        QVERIFY(!run.rename(path("a.jpg"), path("b.jpg")));
        QVERIFY(!run.rename(path("b.jpg"), path("c.jpg")));
    }
    const UndoResult result = undoLastRun(record());
    QVERIFY(result.error.isEmpty());
    QCOMPARE(result.recorded, 2);
    QCOMPARE(result.undone, 2);
    QVERIFY(result.failures.empty());
    QCOMPARE(read(path("a.jpg")), QByteArray("a.jpg"));
    QVERIFY(!QFileInfo::exists(path("b.jpg")) && !QFileInfo::exists(path("c.jpg")));
}

void RenameRecordTest::undoLeavesWhatItCannotTakeBack()
{
    for (const char* name : {"Autumn.jpg", "Spring.jpg", "Winter.jpg"})
        photograph(QString::fromLatin1(name));
    {
        RenameRecord run(record());
        QVERIFY(!run.rename(path("Autumn.jpg"), path("walk01.jpg")));
        QVERIFY(!run.rename(path("Spring.jpg"), path("walk02.jpg")));
        QVERIFY(!run.rename(path("Winter.jpg"), path("walk03.jpg")));
    }
    // Since the run: a new Autumn.jpg, and walk03.jpg deleted.
    QVERIFY(write(path("Autumn.jpg"), "a new photograph"));
    QVERIFY(QFile::remove(path("walk03.jpg")));

    const UndoResult result = undoLastRun(record());
    QCOMPARE(result.recorded, 3);
    QCOMPARE(result.undone, 1);
    QCOMPARE(result.failures.size(), size_t(2));
    QCOMPARE(result.failures[0].rename.to, path("walk03.jpg"));
    QCOMPARE(result.failures[0].reason, QStringLiteral("it no longer exists"));
    QCOMPARE(result.failures[1].rename.from, path("Autumn.jpg"));
    QCOMPARE(result.failures[1].reason, QStringLiteral("that name is taken"));
    QCOMPARE(read(path("Autumn.jpg")), QByteArray("a new photograph"));
    QCOMPARE(read(path("walk01.jpg")), QByteArray("Autumn.jpg"));
    QCOMPARE(read(path("Spring.jpg")), QByteArray("Spring.jpg"));
}

// The undo is a run of the record too: another undo renames forward again.
void RenameRecordTest::anotherUndoTakesTheUndoBack()
{
    photograph("Autumn.jpg");
    photograph("Spring.jpg");
    {
        RenameRecord run(record());
        QVERIFY(!run.rename(path("Autumn.jpg"), path("walk01.jpg")));
        QVERIFY(!run.rename(path("Spring.jpg"), path("walk02.jpg")));
    }
    QCOMPARE(undoLastRun(record()).undone, 2);
    const RecordedRun undo = readLastRun(record());
    QCOMPARE(undo.renames.size(), size_t(2));
    QCOMPARE(undo.renames[0].from, path("walk02.jpg"));
    QCOMPARE(undo.renames[0].to, path("Spring.jpg"));
    QCOMPARE(linesOf(record()).size(), 4);

    QCOMPARE(undoLastRun(record()).undone, 2);
    QCOMPARE(read(path("walk01.jpg")), QByteArray("Autumn.jpg"));
    QCOMPARE(read(path("walk02.jpg")), QByteArray("Spring.jpg"));
}

void RenameRecordTest::undoOfNoRecord()
{
    const UndoResult missing = undoLastRun(record());
    QVERIFY(!missing.found);
    QVERIFY(missing.error.isEmpty());
    QCOMPARE(missing.recorded, 0);

    QVERIFY(QDir().mkpath(record()));
    const UndoResult folder = undoLastRun(record());
    QVERIFY(!folder.error.isEmpty());
    QCOMPARE(folder.undone, 0);

    QVERIFY(QDir().mkpath(path("empty")));
    QVERIFY(write(path("empty/morvane-renames.tsv"), ""));
    const UndoResult empty = undoLastRun(path("empty/morvane-renames.tsv"));
    QVERIFY(empty.found && empty.error.isEmpty());
    QCOMPARE(empty.recorded, 0);
}

// A folder named in Latin-1 on an old card is made as named, and no other beside it.
void RenameRecordTest::makesTheRecordsFolderByItsBytes()
{
    const QByteArray folder = pathToLocal(m_dir->path()) + "/lat\xedn/renames";
    const auto removeByName = qScopeGuard([&] {
        ::unlink((folder + "/morvane-renames.tsv").constData());
        ::rmdir(folder.constData());
        ::rmdir(folder.first(folder.lastIndexOf('/')).constData());
    });
    photograph("a.jpg");
    RenameRecord run(pathFromLocal(folder + "/morvane-renames.tsv"));
    QVERIFY(!run.rename(path("a.jpg"), path("b.jpg")));
    QVERIFY(existsBytes(folder + "/morvane-renames.tsv"));
    struct stat status;
    QCOMPARE(stat(folder.constData(), &status), 0);
    QCOMPARE(status.st_mode & 0077, mode_t(0));
    // QDir cannot list a name that is not UTF-8; the folder holds exactly the files and the
    // one folder made.
    QStringList names;
    DIR* listing = opendir(pathToLocal(m_dir->path()).constData());
    QVERIFY(listing);
    while (const dirent* entry = readdir(listing))
        names << pathFromLocal(QByteArray(entry->d_name));
    closedir(listing);
    names.sort();
    QCOMPARE(names, QStringList({".", "..", "b.jpg", pathFromLocal("lat\xedn")}));
}

QTEST_APPLESS_MAIN(RenameRecordTest)
#include "tst_renamerecord.moc"
