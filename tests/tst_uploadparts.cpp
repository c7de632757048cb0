#include "base/LocalPath.h"
#include "base/TransferProgress.h"
#include "upload/FolderWalk.h"
#include "upload/FtpConnection.h"
#include "upload/RemoteListing.h"
#include "upload/RemotePath.h"
#include "upload/TransferQueue.h"
#include "upload/UploadRecord.h"
#include "upload/UploadResult.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <latch>
#include <thread>

Q_DECLARE_METATYPE(RemoteListing)

namespace {

// A server's folders in memory: directory changes act as on a server, and making a folder
// makes it only where its parent exists and no file of its name stands.
class FolderTree : public FtpConnection
{
public:
    explicit FolderTree(QSet<QString> folders, QSet<QString> files = {})
        : m_folders(std::move(folders)), m_files(std::move(files))
    {
        m_folders << "/";
    }

    bool SetCurrentDirectory(const QString& directory) override
    {
        const QString path = RemotePath::resolve(m_current, directory);
        entered << path;
        if (!m_folders.contains(path))
            return false;
        m_current = path;
        return true;
    }
    QString CurrentDirectory() const override { return m_current; }
    void AdoptDirectory(const QString& absolute) override { m_current = absolute; }
    bool CreateDirectory(const QString& directory) override
    {
        QString path = directory.startsWith('/') ? QStringLiteral("/") : m_current;
        for (const QString& part : directory.split('/', Qt::SkipEmptyParts)) {
            path = RemotePath::resolve(path, part);
            if (m_folders.contains(path))
                continue;
            if (m_files.contains(path))
                return false;
            m_folders << path;
            made << path;
        }
        return true;
    }
    std::optional<RemoteListing> ListDirectory() override { return RemoteListing(); }
    TransferResult PutFile(const QString&, const QString&) override
    {
        return TransferResult::Failed;
    }
    std::optional<qint64> FileSize(const QString&) override { return std::nullopt; }
    bool RenameFile(const QString&, const QString&) override { return false; }
    bool RemoveFile(const QString&) override { return false; }
    void SetProgressCallback(std::function<void(qint64)>) override {}

    QStringList entered; // every directory asked for, resolved
    QStringList made;

private:
    QSet<QString> m_folders;
    QSet<QString> m_files;
    QString m_current = QStringLiteral("/home/site");
};

QString outcomeName(FolderVisit::Outcome outcome)
{
    switch (outcome) {
    case FolderVisit::Outcome::Entered:
        return "entered";
    case FolderVisit::Outcome::Made:
        return "made";
    case FolderVisit::Outcome::WouldMake:
        return "would make";
    case FolderVisit::Outcome::Failed:
        return "failed";
    }
    return {};
}

} // namespace

// The parts of an upload that need no server: listings, the record, the walk through the
// folders, the queue that keeps reports in order, and progress.
class UploadPartsTest : public QObject
{
    Q_OBJECT

private slots:
    void readsMlsdListings_data();
    void readsMlsdListings();
    void readsLsListings_data();
    void readsLsListings();
    void resolvesRemotePaths_data();
    void resolvesRemotePaths();
    void joinsNamesToFolders_data();
    void joinsNamesToFolders();
    void countsFilesOnTheServer_data();
    void countsFilesOnTheServer();
    void walksFoldersAsTheUploadReachesThem_data();
    void walksFoldersAsTheUploadReachesThem();
    void recordKeepsEachServerApart();
    void recordHoldsAnyName();
    void queueHandsOutcomesBackInListOrder();
    void queueEndsAfterTwoTimeOutsInARow_data();
    void queueEndsAfterTwoTimeOutsInARow();
    void queueGivesUpFilesNobodyIsLeftToSend();
    void progressSaysFilesBytesAndTimeLeft_data();
    void progressSaysFilesBytesAndTimeLeft();
};

void UploadPartsTest::readsMlsdListings_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<RemoteListing>("files");

    // clang-format off
    QTest::newRow("files, a folder and the folder itself")
        << QByteArray("type=cdir;perm=el; .\r\ntype=dir;modify=20240101; sub\r\n"
                      "type=file;size=1234;modify=20240101; a01.jpg\r\n"
                      "Type=File;Size=0; empty.jpg\r\n")
        << RemoteListing{{"a01.jpg", 1234}, {"empty.jpg", 0}};
    QTest::newRow("a name with blanks and semicolons")
        << QByteArray("type=file;size=7; my pic; two.jpg\n") << RemoteListing{{"my pic; two.jpg", 7}};
    QTest::newRow("no size, a bad size, no name")
        << QByteArray("type=file; nosize.jpg\ntype=file;size=12x; bad.jpg\ntype=file;size=3;\n")
        << RemoteListing{};
    QTest::newRow("a name that leaves the folder")
        << QByteArray("type=file;size=3; ../up.jpg\n") << RemoteListing{};
    QTest::newRow("a name that is not UTF-8")
        << QByteArray("type=file;size=5; lat\xedn.jpg\n")
        << RemoteListing{{pathFromLocal("lat\xedn.jpg"), 5}};
    // clang-format on
}

void UploadPartsTest::readsMlsdListings()
{
    QFETCH(QByteArray, reply);
    QTEST(RemoteListings::fromMlsd(reply), "files");
}

void UploadPartsTest::readsLsListings_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<RemoteListing>("files");

    // clang-format off
    QTest::newRow("ls -l as Unix servers write it")
        << QByteArray("total 8\r\n"
                      "drwxr-xr-x   2 site site     4096 Jan 31 21:15 thumbs\r\n"
                      "-rw-r--r--   1 site site    12345 Jan 31 21:15 beach01.jpg\r\n"
                      "-rw-r--r--   1 site site      678 Dec  2  2023 a name.jpg\r\n"
                      "lrwxrwxrwx   1 site site        9 Jan 31 21:15 link -> beach01.jpg\r\n")
        << RemoteListing{{"beach01.jpg", 12345}, {"a name.jpg", 678}};
    QTest::newRow("without a group, with an ACL mark")
        << QByteArray("-rw-r--r--+ 1 site 42 Jan 31 21:15 b.jpg\n") << RemoteListing{{"b.jpg", 42}};
    QTest::newRow("numeric owner and group")
        << QByteArray("-rw-------    1 1000     1000          250 Feb  1 09:00 c.jpg\n")
        << RemoteListing{{"c.jpg", 250}};
    QTest::newRow("DOS style")
        << QByteArray("01-31-24  09:15PM       <DIR>          thumbs\r\n"
                      "01-31-24  09:15PM                 1234 d01.jpg\r\n")
        << RemoteListing{{"d01.jpg", 1234}};
    QTest::newRow("lines of no known shape") << QByteArray("garbage\n\n-rw\n") << RemoteListing{};
    // clang-format on
}

void UploadPartsTest::readsLsListings()
{
    QFETCH(QByteArray, reply);
    QTEST(RemoteListings::fromList(reply), "files");
}

void UploadPartsTest::resolvesRemotePaths_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("resolved");

    // clang-format off
    QTest::newRow("relative") << "/home/site" << "www/thumbs" << "/home/site/www/thumbs";
    QTest::newRow("absolute") << "/home/site" << "/www" << "/www";
    QTest::newRow("up, as the upload goes between folders") << "/www/thumbs" << "..//" << "/www";
    QTest::newRow("above the top") << "/" << "../../x" << "/x";
    QTest::newRow("dots and doubled slashes") << "/a" << "./b//c/." << "/a/b/c";
    QTest::newRow("empty") << "/a" << "" << "/a";
    // clang-format on
}

void UploadPartsTest::resolvesRemotePaths()
{
    QFETCH(QString, current);
    QFETCH(QString, directory);
    QTEST(RemotePath::resolve(current, directory), "resolved");
}

void UploadPartsTest::joinsNamesToFolders_data()
{
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("joined");

    // clang-format off
    QTest::newRow("a folder") << QByteArray("/www") << QByteArray("a.jpg") << QByteArray("/www/a.jpg");
    QTest::newRow("the top") << QByteArray("/") << QByteArray("a.jpg") << QByteArray("/a.jpg");
    QTest::newRow("a folder's own name") << QByteArray("/www/") << QByteArray() << QByteArray("/www/");
    QTest::newRow("ending in no slash") << QByteArray("/www") << QByteArray() << QByteArray("/www/");
    QTest::newRow("a name not in UTF-8") << QByteArray("/f\xe9te") << QByteArray("\xe9t\xe9.jpg")
                                         << QByteArray("/f\xe9te/\xe9t\xe9.jpg");
    // clang-format on
}

// The names a connection sends and the names the upload keeps are joined alike.
void UploadPartsTest::joinsNamesToFolders()
{
    QFETCH(QByteArray, directory);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, joined);
    QCOMPARE(RemotePath::join(directory, name), joined);
    QCOMPARE(RemotePath::join(pathFromLocal(directory), pathFromLocal(name)),
             pathFromLocal(joined));
}

void UploadPartsTest::countsFilesOnTheServer_data()
{
    QTest::addColumn<bool>("dryRun");
    QTest::addColumn<int>("toSend");
    QTest::addColumn<int>("sent");
    QTest::addColumn<int>("unchanged");
    QTest::addColumn<QString>("plan"); // a letter a step: Make folder, Send, sKip, Remove
    QTest::addColumn<bool>("allThere");

    // clang-format off
    QTest::newRow("sent or unchanged") << false << 3 << 2 << 1 << "" << true;
    QTest::newRow("one not sent") << false << 3 << 1 << 1 << "" << false;
    QTest::newRow("an upload's plan sends nothing") << false << 2 << 0 << 0 << "SS" << false;
    QTest::newRow("a dry run would send the rest") << true << 3 << 0 << 1 << "MSSKR" << true;
    QTest::newRow("a dry run would send too few") << true << 3 << 0 << 1 << "MSKRR" << false;
    QTest::newRow("a dry run sends nothing itself") << true << 2 << 2 << 0 << "KK" << false;
    // clang-format on
}

void UploadPartsTest::countsFilesOnTheServer()
{
    QFETCH(bool, dryRun);
    QFETCH(QString, plan);
    QFETCH(bool, allThere);
    UploadResult result;
    result.connected = true;
    result.dryRun = dryRun;
    QFETCH(int, toSend);
    QFETCH(int, sent);
    QFETCH(int, unchanged);
    result.toSend = toSend;
    result.sent = sent;
    result.unchanged = unchanged;
    const QHash<QChar, UploadStep::Kind> kinds = {{'M', UploadStep::Kind::MakeFolder},
                                                  {'S', UploadStep::Kind::Send},
                                                  {'K', UploadStep::Kind::Skip},
                                                  {'R', UploadStep::Kind::Remove}};
    for (const QChar letter : plan)
        result.plan.push_back({kinds.value(letter), "/www/x"});

    for (auto kind = kinds.cbegin(); kind != kinds.cend(); ++kind)
        QCOMPARE(result.steps(kind.value()), plan.count(kind.key()));
    QCOMPARE(result.allFilesThere(), allThere);
    QCOMPARE(result.complete(), allThere);
    result.notRemoved = 1;
    QVERIFY(!result.complete());
}

void UploadPartsTest::walksFoldersAsTheUploadReachesThem_data()
{
    QTest::addColumn<QStringList>("folders"); // on the server, besides / and /home/site
    QTest::addColumn<bool>("make");
    QTest::addColumn<QString>("thumbnailDir");
    QTest::addColumn<QString>("imageDir");
    QTest::addColumn<QStringList>("visits"); // "outcome path", in order
    QTest::addColumn<QStringList>("made");

    const QStringList site = {"/home", "/home/site"};
    // clang-format off
    QTest::newRow("both there, side by side")
        << site + QStringList{"/home/site/www", "/home/site/www/thumbs", "/home/site/www/images"}
        << true << "www/thumbs" << "images"
        << QStringList{"entered /home/site/www/thumbs", "entered /home/site/www/images"}
        << QStringList{};
    QTest::newRow("both made, parents first")
        << site << true << "www/thumbs" << "images"
        << QStringList{"made /home/site/www/thumbs", "made /home/site/www/images"}
        << QStringList{"/home/site/www", "/home/site/www/thumbs", "/home/site/www/images"};
    QTest::newRow("looking only: both would be made")
        << site << false << "www/thumbs" << "images"
        << QStringList{"would make /home/site/www/thumbs", "would make /home/site/www/images"}
        << QStringList{};
    QTest::newRow("looking only: beside a folder that would be made")
        << site + QStringList{"/home/site/www", "/home/site/www/images"} << false
        << "www/thumbs" << "images"
        << QStringList{"would make /home/site/www/thumbs", "entered /home/site/www/images"}
        << QStringList{};
    QTest::newRow("looking only: an absolute second folder")
        << site + QStringList{"/pub"} << false << "new/thumbs" << "/pub"
        << QStringList{"would make /home/site/new/thumbs", "entered /pub"} << QStringList{};
    QTest::newRow("a file in the way: the next starts where the walk stood")
        << site + QStringList{"/home/site/images"} << true << "blocked/thumbs" << "images"
        << QStringList{"failed /home/site/blocked/thumbs", "entered /home/site/images"}
        << QStringList{};
    // clang-format on
}

void UploadPartsTest::walksFoldersAsTheUploadReachesThem()
{
    QFETCH(QStringList, folders);
    QFETCH(bool, make);
    QFETCH(QString, thumbnailDir);
    QFETCH(QString, imageDir);
    QFETCH(QStringList, made);
    FolderTree tree(QSet<QString>(folders.begin(), folders.end()), {"/home/site/blocked"});
    FolderWalk walk(tree, make);

    QStringList visits;
    for (const QString& folder : {thumbnailDir, imageDir}) {
        const FolderVisit visit = walk.enter(folder);
        visits << outcomeName(visit.outcome) + ' ' + visit.path;
    }
    QTEST(visits, "visits");
    QCOMPARE(tree.made, made);
}

void UploadPartsTest::recordKeepsEachServerApart()
{
    QTemporaryDir folder;
    const UploadRecord::Entry entry{1234, QByteArray(32, 'h')};
    {
        UploadRecord record = UploadRecord::load(folder.path(), "ftp.example.org", 21, "site");
        QVERIFY(!record.changed());
        record.set("/www/thumbs", "a01_t.jpg", entry);
        record.set("/www/thumbs", "a02_t.jpg", entry);
        record.set("/www/images", "a01.jpg", {99, QByteArray(32, 'i')});
        record.forget("/www/thumbs", "a02_t.jpg");
        QVERIFY(record.changed());
        QVERIFY(record.save());
        QVERIFY(!record.changed());
        // The same entry again changes nothing.
        record.set("/www/thumbs", "a01_t.jpg", entry);
        QVERIFY(!record.changed());
    }
    const UploadRecord again = UploadRecord::load(folder.path(), "FTP.example.org", 21, "site");
    QCOMPARE(again.entry("/www/thumbs", "a01_t.jpg"), std::optional(entry));
    QCOMPARE(again.names("/www/thumbs"), QStringList{"a01_t.jpg"});
    QCOMPARE(again.names("/www/images"), QStringList{"a01.jpg"});
    QCOMPARE(again.entry("/www/images", "a01_t.jpg"), std::nullopt);
    // Another port or user is another record.
    QVERIFY(UploadRecord::load(folder.path(), "ftp.example.org", 2121, "site")
                .names("/www/thumbs")
                .isEmpty());
    QVERIFY(UploadRecord::load(folder.path(), "ftp.example.org", 21, "other")
                .names("/www/thumbs")
                .isEmpty());
    // Nobody else may read it.
    QCOMPARE(QFile::permissions(again.path()) & 0x0077, QFileDevice::Permissions());
}

void UploadPartsTest::recordHoldsAnyName()
{
    QTemporaryDir folder;
    const QString odd = QStringLiteral("lat") + QChar(0xdced) + QStringLiteral("n \"%2F\".jpg");
    const QString dir = QStringLiteral("/www/d") + QChar(0xdcff);
    {
        UploadRecord record = UploadRecord::load(folder.path(), "host", 22, "");
        record.set(dir, odd, {5, QByteArray(32, '\0')});
        QVERIFY(record.save());
    }
    QCOMPARE(UploadRecord::load(folder.path(), "host", 22, "").names(dir), QStringList{odd});
}

// Files finish in any order; the reporting thread still meets them in list order, each once.
void UploadPartsTest::queueHandsOutcomesBackInListOrder()
{
    constexpr int files = 6;
    TransferQueue queue(std::vector<qint64>(files, 10), 2);
    std::latch taken(files);
    std::vector<size_t> order;
    // One sender takes every file, then finishes them from the last to the first.
    std::thread sender([&] {
        std::vector<size_t> mine;
        while (const std::optional<size_t> index = queue.take()) {
            mine.push_back(*index);
            taken.count_down();
        }
        for (auto it = mine.rbegin(); it != mine.rend(); ++it)
            queue.finish(*it, {*it == 3 ? TransferResult::Failed : TransferResult::Stored, {}});
        queue.senderGone();
    });
    std::thread idle([&] {
        taken.wait();
        queue.senderGone();
    });
    for (size_t index = 0; index < files; ++index) {
        const TransferOutcome outcome = queue.waitFor(index, [] {});
        QCOMPARE(outcome.result, index == 3 ? TransferResult::Failed : TransferResult::Stored);
        order.push_back(index);
    }
    sender.join();
    idle.join();
    QCOMPARE(order, (std::vector<size_t>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(queue.bytesDone(), qint64(60));
}

void UploadPartsTest::queueEndsAfterTwoTimeOutsInARow_data()
{
    QTest::addColumn<QList<int>>("timedOut"); // files, the others are stored
    QTest::addColumn<bool>("ended");

    QTest::newRow("one") << QList<int>{1} << false;
    QTest::newRow("two apart") << QList<int>{0, 2} << false;
    QTest::newRow("two in a row") << QList<int>{1, 2} << true;
    QTest::newRow("two in a row, the later first") << QList<int>{2, 1} << true;
}

void UploadPartsTest::queueEndsAfterTwoTimeOutsInARow()
{
    QFETCH(QList<int>, timedOut);
    QFETCH(bool, ended);
    TransferQueue queue(std::vector<qint64>(5, 1), 1);
    for (int index = 0; index < 3; ++index)
        QCOMPARE(queue.take(), std::optional<size_t>(index));
    for (const int index : timedOut)
        queue.finish(size_t(index), {TransferResult::TimedOut, {}});
    QCOMPARE(queue.take().has_value(), !ended);
}

void UploadPartsTest::queueGivesUpFilesNobodyIsLeftToSend()
{
    TransferQueue queue(std::vector<qint64>(3, 1), 2);
    QCOMPARE(queue.take(), std::optional<size_t>(0));
    queue.finish(0, {TransferResult::Stored, {}});
    queue.senderGone();
    queue.senderGone();
    QCOMPARE(queue.waitFor(0, [] {}).result, TransferResult::Stored);
    const TransferOutcome lost = queue.waitFor(1, [] {});
    QCOMPARE(lost.result, TransferResult::Failed);
    QCOMPARE(lost.reason, QStringLiteral("The connection to the server was lost."));
    QCOMPARE(queue.take(), std::nullopt);

    // Ended on purpose, the files not taken were only not tried.
    TransferQueue stopped(std::vector<qint64>(3, 1), 1);
    QCOMPARE(stopped.take(), std::optional<size_t>(0));
    stopped.end();
    stopped.senderGone();
    QCOMPARE(stopped.waitFor(1, [] {}).result, TransferResult::Stopped);
    QCOMPARE(stopped.outcome(1), std::nullopt);
}

void UploadPartsTest::progressSaysFilesBytesAndTimeLeft_data()
{
    QTest::addColumn<int>("filesDone");
    QTest::addColumn<int>("files");
    QTest::addColumn<qint64>("bytesDone");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<int>("elapsedMs");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left"); // empty: none yet

    // clang-format off
    QTest::newRow("as the status bar shows it")
        << 12 << 80 << qint64(3100000) << qint64(9800000) << 6000
        << "Uploading 12 of 80 files (3.1 of 9.8 MB)..." << "0:13";
    QTest::newRow("small files in kilobytes")
        << 0 << 1 << qint64(0) << qint64(45600) << 0 << "Uploading 0 of 1 file (0.0 of 45.6 KB)..." << "";
    QTest::newRow("too early to tell")
        << 1 << 2 << qint64(5000) << qint64(10000) << 500 << "Uploading 1 of 2 files (5.0 of 10.0 KB)..." << "";
    QTest::newRow("an hour and more")
        << 1 << 100 << qint64(10000) << qint64(10000000) << 4000
        << "Uploading 1 of 100 files (0.0 of 10.0 MB)..." << "1:06:36";
    // clang-format on
}

void UploadPartsTest::progressSaysFilesBytesAndTimeLeft()
{
    QFETCH(int, filesDone);
    QFETCH(int, files);
    QFETCH(qint64, bytesDone);
    QFETCH(qint64, bytes);
    QFETCH(int, elapsedMs);
    QFETCH(QString, left);
    const TransferProgress progress{filesDone, files, bytesDone, bytes,
                                    std::chrono::milliseconds(elapsedMs)};
    QTEST(progress.text(), "text");
    const std::optional<std::chrono::seconds> timeLeft = progress.timeLeft();
    QCOMPARE(timeLeft ? durationText(*timeLeft) : QString(), left);
}

QTEST_APPLESS_MAIN(UploadPartsTest)
#include "tst_uploadparts.moc"
