#include "RecordingObserver.h"
#include "ScriptedTrust.h"
#include "TestPictures.h"

#include "publish/PublishJob.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(PublishResult)

namespace {

PublishResult generated(int made, int toMake, int unreadable = 0, int notWritten = 0)
{
    PublishResult result;
    result.generated.picturesMade = made;
    result.generated.picturesToMake = toMake;
    result.generated.unreadable = unreadable;
    result.generated.outputsNotMade = notWritten;
    return result;
}

PublishResult uploaded(PublishResult result, int sent, int toSend, bool connected = true)
{
    result.upload = UploadResult();
    result.upload->sent = sent;
    result.upload->toSend = toSend;
    result.upload->connected = connected;
    return result;
}

template <class Change> PublishResult with(PublishResult result, Change change)
{
    change(result);
    return result;
}

} // namespace

// The job as both shells use it, over real files; the upload is tested against servers
// elsewhere.
class PublishJobTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    PublishRequest m_request;
    RecordingObserver m_observer;
    ScriptedTrust m_trust;

private slots:
    void init();

    void statusSaysWhatHappened_data();
    void statusSaysWhatHappened();
    void uploadGoesToTheTwoFoldersInTurn_data();
    void uploadGoesToTheTwoFoldersInTurn();
    void stopLeavesWholeFilesAndLaterRowsUntouched_data();
    void stopLeavesWholeFilesAndLaterRowsUntouched();
    void refusedRunSendsNothing();
};

void PublishJobTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    for (const char* folder : {"photos", "thumbs", "images"})
        QVERIFY(QDir(m_dir->path()).mkdir(folder));
    m_request = PublishRequest();
    m_request.groupText = {"walk", "", "", "", ""};
    m_request.imageSettings.thumbnail.SaveDir = path("thumbs");
    m_request.imageSettings.thumbnail.Extension = "_t";
    m_request.imageSettings.thumbnail.UseWidth = 1;
    m_request.imageSettings.thumbnail.Width = 16;
    m_request.imageSettings.large.SaveDir = path("images");
    m_request.imageSettings.RenameOriginalFile = 1;
    m_observer = RecordingObserver();
}

void PublishJobTest::statusSaysWhatHappened_data()
{
    QTest::addColumn<PublishResult>("result");
    QTest::addColumn<QString>("status");

    QTest::newRow("all made") << generated(25, 25) << "Ready";
    QTest::newRow("nothing grouped") << generated(0, 0) << "Ready";
    QTest::newRow("unreadable pictures")
        << generated(21, 25, 4) << "21 of 25 pictures made; 4 could not be read.";
    QTest::newRow("one of one, an output not written")
        << generated(0, 1, 0, 1) << "0 of 1 picture made; 1 output could not be written.";
    QTest::newRow("renames that failed")
        << with(generated(3, 3), [](PublishResult& r) { r.generated.renameFailures = 2; })
        << "3 of 3 pictures made; 2 could not be renamed.";
    QTest::newRow("no thumbnail directory") << with(generated(2, 2), [](PublishResult& r) {
        r.generated.profiles = {{"thumbnails", {}, true}, {"large images", {}, false}};
    }) << "2 of 2 pictures made; no thumbnails: their directory is missing.";
    QTest::newRow("an HTML fragment not written")
        << with(generated(2, 2), [](PublishResult& r) { r.generated.fragmentsNotWritten = 1; })
        << "2 of 2 pictures made; 1 HTML fragment could not be written.";
    QTest::newRow("refused") << with(generated(0, 3), [](PublishResult& r) {
        r.generated.refused = true;
    }) << "Nothing made.";
    QTest::newRow("stopped while making")
        << with(generated(12, 40), [](PublishResult& r) { r.generated.stopped = true; })
        << "Cancelled: 12 of 40 pictures made.";
    QTest::newRow("every file sent") << uploaded(generated(25, 25), 50, 50) << "Upload Complete";
    QTest::newRow("sent in clear") << with(uploaded(generated(1, 1), 2, 2), [](PublishResult& r) {
        r.upload->tlsDeclined = true;
    }) << "Upload Complete, without encryption: the server offers no TLS.";
    QTest::newRow("some files failed")
        << uploaded(generated(25, 25), 48, 50) << "Upload finished: 48 of 50 files sent.";
    QTest::newRow("no file stored")
        << uploaded(generated(25, 25), 0, 50) << "Upload failed: 0 of 50 files sent.";
    QTest::newRow("no connection") << uploaded(generated(25, 25), 0, 50, false)
                                   << "Upload failed: no connection to the server.";
    QTest::newRow("stopped while sending")
        << with(uploaded(generated(25, 25), 12, 50),
                [](PublishResult& r) { r.upload->stopped = true; })
        << "Cancelled: 12 of 50 files sent.";
    QTest::newRow("sent, but not all made")
        << uploaded(generated(21, 25, 4), 42, 42)
        << "Upload Complete. 21 of 25 pictures made; 4 could not be read.";
    const auto unchanged = [](int count) {
        return [count](PublishResult& r) { r.upload->unchanged = count; };
    };
    QTest::newRow("only what changed") << with(uploaded(generated(40, 40), 2, 80), unchanged(78))
                                       << "Upload Complete: 2 files sent, 78 unchanged.";
    QTest::newRow("nothing changed") << with(uploaded(generated(40, 40), 0, 80), unchanged(80))
                                     << "Upload Complete: 0 files sent, 80 unchanged.";
    QTest::newRow("one sent, files removed")
        << with(uploaded(generated(1, 1), 1, 2),
                [](PublishResult& r) {
                    r.upload->unchanged = 1;
                    r.upload->removed = 3;
                })
        << "Upload Complete: 1 file sent, 1 unchanged, 3 removed.";
    QTest::newRow("only what changed, in clear")
        << with(uploaded(generated(40, 40), 2, 80),
                [](PublishResult& r) {
                    r.upload->unchanged = 78;
                    r.upload->tlsDeclined = true;
                })
        << "Upload Complete: 2 files sent, 78 unchanged; without encryption: the server offers "
           "no TLS.";
    QTest::newRow("some of what changed failed")
        << with(uploaded(generated(40, 40), 1, 80), unchanged(77))
        << "Upload finished: 1 of 3 files sent, 77 unchanged.";
    QTest::newRow("none of what changed went")
        << with(uploaded(generated(40, 40), 0, 80), unchanged(78))
        << "Upload failed: 0 of 2 files sent, 78 unchanged.";
    QTest::newRow("a stale file the server kept")
        << with(uploaded(generated(40, 40), 0, 80),
                [](PublishResult& r) {
                    r.upload->unchanged = 80;
                    r.upload->notRemoved = 1;
                })
        << "Upload finished: 0 of 0 files sent, 80 unchanged, 1 not removed.";
    QTest::newRow("stopped while sending what changed")
        << with(uploaded(generated(40, 40), 1, 80),
                [](PublishResult& r) {
                    r.upload->unchanged = 70;
                    r.upload->stopped = true;
                })
        << "Cancelled: 1 of 10 files sent, 70 unchanged.";
    QTest::newRow("dry run") << with(uploaded(generated(40, 40), 0, 80), [](PublishResult& r) {
        r.upload->dryRun = true;
        r.upload->unchanged = 78;
        r.upload->plan = {{UploadStep::Kind::MakeFolder, "/new"},
                          {UploadStep::Kind::Send, "/new/a.jpg"},
                          {UploadStep::Kind::Send, "/b.jpg"},
                          {UploadStep::Kind::Remove, "/c.jpg"}};
    }) << "Dry run: 2 files to send, 78 unchanged, 1 to remove.";
}

void PublishJobTest::uploadGoesToTheTwoFoldersInTurn_data()
{
    QTest::addColumn<bool>("allMade");
    QTest::addColumn<bool>("dryRun");

    QTest::newRow("every picture made") << true << false;
    QTest::newRow("a picture not made") << false << false;
    QTest::newRow("dry run") << true << true;
}

// The thumbnail folder, then the image folder, named for the messages; a run that did not make
// every picture may not take the others for stale.
void PublishJobTest::uploadGoesToTheTwoFoldersInTurn()
{
    QFETCH(bool, allMade);
    QFETCH(bool, dryRun);
    m_request.ftpSettings.ThumbnailFtpDir = "www/thumbs";
    m_request.ftpSettings.ImageFtpDir = "images";
    m_request.dryRun = dryRun;
    m_request.removeEveryStaleFile = true;
    GeneratedImages made = generated(2, allMade ? 2 : 3).generated;
    made.profiles = {{"thumbnails", {"/t/a01_t.jpg", "/t/a02_t.jpg"}, false},
                     {"large images", {"/l/a01.jpg", "/l/a02.jpg"}, false}};

    const UploadRequest request = PublishJob::uploadRequest(m_request, made);
    QCOMPARE(request.folders.size(), size_t(2));
    QCOMPARE(request.folders[0].remoteDir, QStringLiteral("www/thumbs"));
    QCOMPARE(request.folders[0].files, made.profiles[0].written);
    QCOMPARE(request.folders[0].name, QStringLiteral("thumbnail directory"));
    QCOMPARE(request.folders[1].remoteDir, QStringLiteral("images"));
    QCOMPARE(request.folders[1].files, made.profiles[1].written);
    QCOMPARE(request.folders[1].name, QStringLiteral("large image directory"));
    QCOMPARE(request.mayRemoveStale, allMade);
    QCOMPARE(request.dryRun, dryRun);
    QVERIFY(request.removeEveryStaleFile);
}

void PublishJobTest::statusSaysWhatHappened()
{
    QFETCH(PublishResult, result);
    QTEST(result.statusText(), "status");
}

// A stop at any row, on one thread or several: the rows written so far are whole and
// renamed, the rest untouched and not renamed, no temporary file stays, and the status says
// how far the run came.
void PublishJobTest::stopLeavesWholeFilesAndLaterRowsUntouched_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("stopAfterRows");

    for (int threads : {1, 3}) {
        QTest::addRow("%d threads, at once", threads) << threads << 0;
        QTest::addRow("%d threads, after one row", threads) << threads << 1;
        QTest::addRow("%d threads, after three rows", threads) << threads << 3;
    }
}

void PublishJobTest::stopLeavesWholeFilesAndLaterRowsUntouched()
{
    QFETCH(int, threads);
    QFETCH(int, stopAfterRows);
    constexpr int pictures = 5;
    for (int i = 1; i <= pictures; ++i) {
        const QString name = path(QStringLiteral("photos/IMG_%1.jpg").arg(i));
        QVERIFY(TestPictures::write(name, TestPictures::jpeg(QSize(320, 240))));
        BatchRow row;
        row.entry.SetPath(name);
        row.group = "1";
        m_request.rows.push_back(row);
    }
    m_request.threads = threads;
    m_request.upload = true;
    std::atomic<bool> stop = stopAfterRows == 0;
    int steps = 0;
    m_observer.afterStep = [&] {
        if (++steps == stopAfterRows)
            stop = true;
    };

    PublishJob job(stop);
    const PublishResult result = job.run(m_request, m_observer, m_trust);

    QVERIFY(result.stopped());
    QVERIFY(!result.upload);
    QCOMPARE(result.generated.picturesMade, stopAfterRows);
    QCOMPARE(m_observer.events.last(),
             QStringLiteral("status Cancelled: %1 of 5 pictures made.").arg(stopAfterRows));
    QVERIFY(m_observer.filtered("status Connecting").isEmpty());
    for (const char* folder : {"photos", "thumbs", "images"}) {
        const QStringList names = QDir(path(folder)).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(names.filter(".morvane-").isEmpty(), qPrintable(names.join(' ')));
    }
    QCOMPARE(QDir(path("thumbs")).entryList(QDir::Files).size(), stopAfterRows);
    QCOMPARE(QDir(path("images")).entryList(QDir::Files).size(), stopAfterRows);
    for (int i = 1; i <= pictures; ++i) {
        const bool renamed = i <= stopAfterRows;
        QCOMPARE(QFile::exists(path(QStringLiteral("photos/walk%1.jpg").arg(i, 2, 10, QChar('0')))),
                 renamed);
        QCOMPARE(QFile::exists(path(QStringLiteral("photos/IMG_%1.jpg").arg(i))), !renamed);
    }
}

// Settings that would make thumbnails and large images one file: nothing is made, renamed
// or sent, and the status does not say "Ready".
void PublishJobTest::refusedRunSendsNothing()
{
    m_request.imageSettings.large.SaveDir = path("thumbs");
    m_request.imageSettings.large.Extension = "_t";
    m_request.upload = true;
    QVERIFY(TestPictures::write(path("photos/a.jpg"), TestPictures::jpeg(QSize(32, 24))));
    BatchRow row;
    row.entry.SetPath(path("photos/a.jpg"));
    row.group = "1";
    m_request.rows.push_back(row);
    const std::atomic<bool> stop = false;

    PublishJob job(stop);
    const PublishResult result = job.run(m_request, m_observer, m_trust);

    QVERIFY(result.generated.refused);
    QVERIFY(!result.upload);
    QCOMPARE(m_observer.filtered("message").size(), 1);
    QVERIFY(m_observer.filtered("status Connecting").isEmpty());
    QCOMPARE(m_observer.events.last(), QStringLiteral("status Nothing made."));
    QVERIFY(QFile::exists(path("photos/a.jpg")));
    QVERIFY(QDir(path("thumbs")).isEmpty());
}

QTEST_GUILESS_MAIN(PublishJobTest)
#include "tst_publishjob.moc"
