#include "TestPictures.h"

#include "cli/UndoRenames.h"
#include "imaging/RenameRecord.h"
#include "settings/ImageSettings.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using TestPictures::read;
using TestPictures::write;

namespace {

struct Finished
{
    int exitCode = -1;
    QString errors;
    QString output;
};

} // namespace

// morvane-batch --undo-renames: what it renames back, and what it says.
class UndoRenamesTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void photograph(const QString& name) { QVERIFY(write(path(name), name.toUtf8())); }

    // morvane-batch with the temporary folder as the user's data folder and working directory.
    Finished runBatch(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir->path());
        process.start(QStringLiteral(MORVANE_BATCH_PATH), arguments);
        Finished finished;
        if (!process.waitForFinished(30000))
            return finished;
        finished.exitCode = process.exitCode();
        finished.errors = QString::fromLocal8Bit(process.readAllStandardError());
        finished.output = QString::fromLocal8Bit(process.readAllStandardOutput());
        return finished;
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init();

    void reportsEachRenameItCannotUndo();
    void saysWhenNothingIsRecorded_data();
    void saysWhenNothingIsRecorded();
    void undoesWhatARunOfTheToolRenamed();
    void refusesAnUndoWithOtherArguments();
};

void UndoRenamesTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void UndoRenamesTest::reportsEachRenameItCannotUndo()
{
    for (const char* name : {"Autumn.jpg", "Spring\tday.jpg", "Winter.jpg"})
        photograph(QString::fromLatin1(name));
    const QString record = path("renames.tsv");
    {
        RenameRecord run(record);
        QVERIFY(!run.rename(path("Autumn.jpg"), path("walk01.jpg")));
        QVERIFY(!run.rename(path("Spring\tday.jpg"), path("walk02.jpg")));
        QVERIFY(!run.rename(path("Winter.jpg"), path("walk03.jpg")));
    }
    photograph("Spring\tday.jpg");
    QVERIFY(QFile::remove(path("walk03.jpg")));

    QBuffer errors;
    QBuffer output;
    errors.open(QIODevice::WriteOnly);
    output.open(QIODevice::WriteOnly);
    QVERIFY(!undoRenames(record, errors, output));
    QCOMPARE(QString::fromLocal8Bit(errors.data()),
             "Failed to rename " + path("walk03.jpg") + " back to " + path("Winter.jpg") +
                 ": it no longer exists\n"
                 "Failed to rename " +
                 path("walk02.jpg") + " back to " + m_dir->path() +
                 "/Spring\\tday.jpg: that name is taken\n");
    QCOMPARE(output.data(), QByteArray("1 of 3 renames undone\n"));
    QCOMPARE(read(path("Autumn.jpg")), QByteArray("Autumn.jpg"));
}

void UndoRenamesTest::saysWhenNothingIsRecorded_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no record at all
    QTest::addColumn<bool>("exists");

    QTest::newRow("no record") << QByteArray() << false;
    QTest::newRow("an empty record") << QByteArray() << true;
    QTest::newRow("only damaged lines") << QByteArray("run\tt\t/p/a.jpg\n") << true;
}

void UndoRenamesTest::saysWhenNothingIsRecorded()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    const QString record = path("renames.tsv");
    if (exists)
        QVERIFY(write(record, content));
    QBuffer errors;
    QBuffer output;
    errors.open(QIODevice::WriteOnly);
    output.open(QIODevice::WriteOnly);
    QVERIFY(!undoRenames(record, errors, output));
    QCOMPARE(QString::fromLocal8Bit(errors.data()), "No renames are recorded in " + record + "\n");
    QVERIFY(output.data().isEmpty());
}

// The tool records into the user's data folder under the window's name, and the undo finds
// it there without being told.
void UndoRenamesTest::undoesWhatARunOfTheToolRenamed()
{
    ImageSettings settings;
    for (OutputProfile* profile : {&settings.thumbnail, &settings.large}) {
        profile->UseWidth = 1;
        profile->Width = 16;
        profile->Quality = 80;
    }
    settings.thumbnail.SaveDir = path("thumbs");
    settings.thumbnail.Extension = QStringLiteral("_t");
    settings.large.SaveDir = path("images");
    settings.RenameOriginalFile = 1;
    QVERIFY(settings.save(path(ImageSettings::fileName)));
    QVERIFY(QDir(m_dir->path()).mkdir("thumbs") && QDir(m_dir->path()).mkdir("images"));
    QVERIFY(write(path("Autumn.jpg"), TestPictures::jpeg(QSize(32, 24))));
    QVERIFY(write(path("Spring.jpg"), TestPictures::jpeg(QSize(32, 24))));

    const Finished generated =
        runBatch({"--prefix", "1=walk", path("Autumn.jpg"), path("Spring.jpg")});
    QCOMPARE(generated.exitCode, 0);
    QVERIFY(QFileInfo::exists(path("walk01.jpg")) && QFileInfo::exists(path("walk02.jpg")));
    QVERIFY(QFileInfo::exists(path("data/Morvane/morvane-renames.tsv")));

    const Finished undone = runBatch({"--undo-renames"});
    QCOMPARE(undone.errors, QString());
    QCOMPARE(undone.output, QStringLiteral("2 of 2 renames undone\n"));
    QCOMPARE(undone.exitCode, 0);
    QVERIFY(QFileInfo::exists(path("Autumn.jpg")) && QFileInfo::exists(path("Spring.jpg")));
    QVERIFY(!QFileInfo::exists(path("walk01.jpg")));

    // The undo is a run of the record too; a name taken since stays with its file.
    photograph("walk02.jpg");
    const Finished again = runBatch({"--undo-renames", path("data/Morvane/morvane-renames.tsv")});
    QCOMPARE(again.exitCode, 1);
    QCOMPARE(again.errors, "Failed to rename " + path("Spring.jpg") + " back to " +
                               path("walk02.jpg") + ": that name is taken\n");
    QCOMPARE(again.output, QStringLiteral("1 of 2 renames undone\n"));
    QCOMPARE(read(path("walk02.jpg")), QByteArray("walk02.jpg"));
    QVERIFY(QFileInfo::exists(path("walk01.jpg")));
}

void UndoRenamesTest::refusesAnUndoWithOtherArguments()
{
    const Finished refused = runBatch({"--undo-renames", "a.tsv", "b.tsv"});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY(refused.errors.startsWith(
        "morvane-batch: --undo-renames takes no other options or files\n\nUsage:"));
    QVERIFY(refused.errors.contains("morvane-batch --undo-renames [FILE]"));
}

QTEST_GUILESS_MAIN(UndoRenamesTest)
#include "tst_undorenames.moc"
