#include "cli/BatchArguments.h"

#include <QTest>

class BatchArgumentsTest : public QObject
{
    Q_OBJECT

private slots:
    void groupsApplyToTheFilesThatFollow_data();
    void groupsApplyToTheFilesThatFollow();
    void readsOptions();
    void readsWhatTheUploadMayDo_data();
    void readsWhatTheUploadMayDo();
    void helpAndVersionStopReading_data();
    void helpAndVersionStopReading();
    void refusesBadArguments_data();
    void refusesBadArguments();
    void readsAnUndo_data();
    void readsAnUndo();
};

namespace {

// The files of the job as "path:group".
QStringList filesOf(const BatchJob& job)
{
    QStringList files;
    for (const BatchFile& file : job.files)
        files << file.path + ':' + file.group;
    return files;
}

} // namespace

void BatchArgumentsTest::groupsApplyToTheFilesThatFollow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("group 1 before any --group")
        << QStringList{"a.jpg", "b.jpg"} << QStringList{"a.jpg:1", "b.jpg:1"};
    QTest::newRow("groups in turn")
        << QStringList{"a.jpg", "--group", "3", "b.jpg", "c.jpg", "--group", "5", "d.jpg"}
        << QStringList{"a.jpg:1", "b.jpg:3", "c.jpg:3", "d.jpg:5"};
    QTest::newRow("none leaves the group cell empty")
        << QStringList{"--group", "none", "a.jpg", "--group", "2", "b.jpg"}
        << QStringList{"a.jpg:", "b.jpg:2"};
    QTest::newRow("options between files keep the group")
        << QStringList{"--group", "4", "a.jpg", "--upload", "b.jpg"}
        << QStringList{"a.jpg:4", "b.jpg:4"};
    QTest::newRow("repeats are kept for the list to judge")
        << QStringList{"a.jpg", "--group", "2", "a.jpg"} << QStringList{"a.jpg:1", "a.jpg:2"};
    QTest::newRow("a lone dash is a file name") << QStringList{"-"} << QStringList{"-:1"};
}

void BatchArgumentsTest::groupsApplyToTheFilesThatFollow()
{
    QFETCH(QStringList, arguments);
    const BatchArguments parsed(arguments);
    QVERIFY2(parsed.isValid(), qPrintable(parsed.error()));
    QTEST(filesOf(parsed.job()), "files");
    QCOMPARE(parsed.job().action, BatchJob::Action::Run);
}

void BatchArgumentsTest::readsOptions()
{
    const BatchArguments parsed({"--prefix", "1=beach", "--config-dir", "/site", "--prefix", "3=",
                                 "--prefix", "2=a=b", "--upload", "x.jpg", "--prefix", "1=city"});
    QVERIFY2(parsed.isValid(), qPrintable(parsed.error()));
    const BatchJob& job = parsed.job();
    QVERIFY(job.upload);
    QCOMPARE(job.configDir, QStringLiteral("/site"));
    // The last prefix given for a group holds; everything after the first "=" is the text.
    QCOMPARE(job.groupText, (std::array<QString, 5>{"city", "a=b", "", "", ""}));

    QVERIFY(!job.dryRun && !job.removeStale && !job.removeEveryStaleFile);

    const BatchJob plain = BatchArguments({"x.jpg"}).job();
    QVERIFY(!plain.upload);
    QVERIFY(plain.configDir.isEmpty());
}

void BatchArgumentsTest::readsWhatTheUploadMayDo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("dryRun");
    QTest::addColumn<bool>("removeStale");
    QTest::addColumn<bool>("everyStaleFile");

    // clang-format off
    QTest::newRow("dry run") << QStringList{"--upload", "--dry-run", "a.jpg"} << true << false << false;
    QTest::newRow("remove stale files") << QStringList{"a.jpg", "--remove-stale", "--upload"}
                                        << false << true << false;
    QTest::newRow("every stale file") << QStringList{"--upload", "--remove-stale=all", "a.jpg"}
                                      << false << true << true;
    QTest::newRow("both") << QStringList{"--dry-run", "--remove-stale", "--upload", "a.jpg"}
                          << true << true << false;
    // clang-format on
}

void BatchArgumentsTest::readsWhatTheUploadMayDo()
{
    QFETCH(QStringList, arguments);
    const BatchArguments parsed(arguments);
    QVERIFY2(parsed.isValid(), qPrintable(parsed.error()));
    QTEST(parsed.job().dryRun, "dryRun");
    QTEST(parsed.job().removeStale, "removeStale");
    QTEST(parsed.job().removeEveryStaleFile, "everyStaleFile");
}

void BatchArgumentsTest::helpAndVersionStopReading_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<BatchJob::Action>("action");

    QTest::newRow("help alone") << QStringList{"--help"} << BatchJob::Action::ShowHelp;
    QTest::newRow("version alone") << QStringList{"--version"} << BatchJob::Action::ShowVersion;
    QTest::newRow("help before a bad option")
        << QStringList{"a.jpg", "--help", "--bogus"} << BatchJob::Action::ShowHelp;
}

void BatchArgumentsTest::helpAndVersionStopReading()
{
    QFETCH(QStringList, arguments);
    const BatchArguments parsed(arguments);
    QVERIFY2(parsed.isValid(), qPrintable(parsed.error()));
    QTEST(parsed.job().action, "action");
}

void BatchArgumentsTest::refusesBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");

    // clang-format off
    QTest::newRow("unknown option") << QStringList{"--bogus", "a.jpg"} << "unknown option --bogus";
    QTest::newRow("unknown short option") << QStringList{"-u", "a.jpg"} << "unknown option -u";
    QTest::newRow("group 0") << QStringList{"--group", "0", "a.jpg"}
                             << "--group 0: the group is 1 to 5 or none";
    QTest::newRow("group 6") << QStringList{"--group", "6", "a.jpg"}
                             << "--group 6: the group is 1 to 5 or none";
    QTest::newRow("group with a leading zero") << QStringList{"--group", "01", "a.jpg"}
                                               << "--group 01: the group is 1 to 5 or none";
    QTest::newRow("group not a number") << QStringList{"--group", "two", "a.jpg"}
                                        << "--group two: the group is 1 to 5 or none";
    QTest::newRow("group without a value") << QStringList{"a.jpg", "--group"}
                                           << "--group needs a value";
    QTest::newRow("prefix without =") << QStringList{"--prefix", "beach", "a.jpg"}
                                      << "--prefix beach: write it as N=TEXT";
    QTest::newRow("prefix of group 6") << QStringList{"--prefix", "6=beach", "a.jpg"}
                                       << "--prefix 6=beach: the group is 1 to 5";
    QTest::newRow("prefix of no group") << QStringList{"--prefix", "=beach", "a.jpg"}
                                        << "--prefix =beach: the group is 1 to 5";
    QTest::newRow("config dir without a value") << QStringList{"a.jpg", "--config-dir"}
                                                << "--config-dir needs a value";
    QTest::newRow("no files") << QStringList{"--upload", "--group", "2"} << "no pictures given";
    QTest::newRow("nothing at all") << QStringList{} << "no pictures given";
    const QString alone = "--undo-renames takes no other options or files";
    QTest::newRow("undo after a file") << QStringList{"a.jpg", "--undo-renames"} << alone;
    QTest::newRow("undo after an option") << QStringList{"--upload", "--undo-renames"} << alone;
    QTest::newRow("undo with an option") << QStringList{"--undo-renames", "--upload"} << alone;
    QTest::newRow("undo with two records") << QStringList{"--undo-renames", "a.tsv", "b.tsv"}
                                           << alone;
    QTest::newRow("dry run without upload") << QStringList{"--dry-run", "a.jpg"}
                                            << "--dry-run goes with --upload";
    QTest::newRow("stale files without upload") << QStringList{"a.jpg", "--remove-stale=all"}
                                                << "--remove-stale goes with --upload";
    QTest::newRow("stale files, some") << QStringList{"--upload", "--remove-stale=50", "a.jpg"}
                                       << "unknown option --remove-stale=50";
    // clang-format on
}

void BatchArgumentsTest::refusesBadArguments()
{
    QFETCH(QStringList, arguments);
    const BatchArguments parsed(arguments);
    QVERIFY(!parsed.isValid());
    QTEST(parsed.error(), "error");
}

void BatchArgumentsTest::readsAnUndo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<BatchJob::Action>("action");
    QTest::addColumn<QString>("record");

    QTest::newRow("the user's record")
        << QStringList{"--undo-renames"} << BatchJob::Action::UndoRenames << "";
    QTest::newRow("a record named") << QStringList{"--undo-renames", "old/renames.tsv"}
                                    << BatchJob::Action::UndoRenames << "old/renames.tsv";
    QTest::newRow("a record named like a dash")
        << QStringList{"--undo-renames", "-"} << BatchJob::Action::UndoRenames << "-";
    QTest::newRow("help") << QStringList{"--undo-renames", "--help"} << BatchJob::Action::ShowHelp
                          << "";
}

void BatchArgumentsTest::readsAnUndo()
{
    QFETCH(QStringList, arguments);
    const BatchArguments parsed(arguments);
    QVERIFY2(parsed.isValid(), qPrintable(parsed.error()));
    QTEST(parsed.job().action, "action");
    QTEST(parsed.job().renameRecord, "record");
    QVERIFY(parsed.job().files.empty());
}

QTEST_APPLESS_MAIN(BatchArgumentsTest)
#include "tst_batcharguments.moc"
