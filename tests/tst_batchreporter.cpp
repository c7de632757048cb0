#include "cli/BatchReporter.h"
#include "publish/PublishResult.h"

#include <QBuffer>
#include <QTest>

class BatchReporterTest : public QObject
{
    Q_OBJECT

private:
    QStringList lines() const { return QString::fromLocal8Bit(m_out.data()).split(u'\n'); }

    QBuffer m_out;

private slots:
    void init();

    void writesEachReportOnOneLine();
    void escapesLineFeedsOfNamesInMessages_data();
    void escapesLineFeedsOfNamesInMessages();
    void countsFailuresAndWhatWasMade();
    void drawsFilesGoingOutByTheirBytes();
    void listsADryRunOneStepALine();
    void drawsProgressOnlyWhenAsked_data();
    void drawsProgressOnlyWhenAsked();
};

void BatchReporterTest::init()
{
    m_out.close();
    m_out.setData({});
    QVERIFY(m_out.open(QIODevice::WriteOnly));
}

void BatchReporterTest::writesEachReportOnOneLine()
{
    BatchReporter reporter(m_out, false);
    reporter.missing("/p/gone.jpg");
    reporter.status("Generating Images...");
    reporter.unreadable(0, "/p/bad.jpg", DecodeFailure::CutOff);
    reporter.notWritten(1, "/t/a01.jpg", {OutputFailure::Kind::NotWritten,
                                           std::make_error_code(std::errc::no_space_on_device)});
    reporter.notWritten(1, "/l/a01.jpg", {OutputFailure::Kind::TooLarge});
    reporter.notRenamed(2, "/p/a02.jpg", std::make_error_code(std::errc::permission_denied));
    reporter.status("Ready");
    reporter.message("Failed to connect to FTP server.\nCheck FTP Settings under Options.");
    reporter.missing("/p/two\nlines.jpg");

    QCOMPARE(lines(), QStringList({"Failed to find file /p/gone.jpg", "Generating Images...",
                                   "Failed to read picture /p/bad.jpg: Cut off",
                                   "Failed to write file /t/a01.jpg: disk full",
                                   "Did not make file /l/a01.jpg: too large for a picture file",
                                   "Failed to rename picture to /p/a02.jpg: permission denied",
                                   "Ready",
                                   "Failed to connect to FTP server. Check FTP Settings under "
                                   "Options.",
                                   "Failed to find file /p/two\\nlines.jpg", ""}));
}

void BatchReporterTest::escapesLineFeedsOfNamesInMessages_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("line");

    QTest::newRow("a name with a line feed") << "Failed to upload file /l/two\nlines.jpg"
                                             << "Failed to upload file /l/two\\nlines.jpg";
    QTest::newRow("a name with a line feed, then a blank line")
        << "Failed to upload file /l/a\nb.jpg\n\nConnection timed out."
        << "Failed to upload file /l/a\\nb.jpg Connection timed out.";
    QTest::newRow("a name ending a line")
        << "Failed to upload file /l/a.jpg\n\nConnection timed out."
        << "Failed to upload file /l/a.jpg Connection timed out.";
    QTest::newRow("lines of the message")
        << "The server's key has changed.\nTrusted key: 0a:1b\nKey presented now: 2c:3d"
        << "The server's key has changed. Trusted key: 0a:1b Key presented now: 2c:3d";
    QTest::newRow("lines of a translated message")
        << QString::fromUtf8("La clé du serveur a changé.\nÉtait: 0a:1b\n¿Confiar?")
        << QString::fromUtf8("La clé du serveur a changé. Était: 0a:1b ¿Confiar?");
    QTest::newRow("a name with a tab and a return") << "Failed to upload file /l/a\tb\rc.jpg"
                                                    << "Failed to upload file /l/a\\tb\\rc.jpg";
}

// As every other report names files, whatever their names hold.
void BatchReporterTest::escapesLineFeedsOfNamesInMessages()
{
    QFETCH(QString, message);
    BatchReporter reporter(m_out, false);
    reporter.message(message);
    QTEST(lines().first(), "line");
    QCOMPARE(lines().size(), 2);
}

void BatchReporterTest::countsFailuresAndWhatWasMade()
{
    BatchReporter reporter(m_out, false);
    PublishResult result;
    GeneratedImages& generated = result.generated;
    generated.profiles = {{"thumbnails", {"/t/a01.jpg", "/t/a02.jpg", "/t/a03.jpg"}, false},
                          {"large images", {"/l/a01.jpg", "/l/a02.jpg", "/l/a03.jpg"}, false}};
    result.upload = UploadResult();
    result.upload->sent = 6;
    QCOMPARE(reporter.summary(4, result),
             QStringLiteral("4 pictures listed, 3 thumbnails and 3 large images written, "
                            "0 sources renamed, 6 files uploaded, 0 unchanged, 0 removed, "
                            "0 failures"));
    QCOMPARE(reporter.failures(), 0);

    generated.renamed = 2;
    // Not written, so not among the paths either.
    reporter.notWritten(1, "/t/a02.jpg", {OutputFailure::Kind::NotEncoded});
    generated.profiles[0].written.removeAt(1);
    reporter.unreadable(3, "/p/bad.jpg", DecodeFailure::NotAPicture);
    reporter.message("Failed to upload file /l/a02.jpg");
    result.upload->sent = 5;
    QCOMPARE(reporter.summary(4, result),
             QStringLiteral("4 pictures listed, 2 thumbnails and 3 large images written, "
                            "2 sources renamed, 5 files uploaded, 0 unchanged, 0 removed, "
                            "3 failures"));
    QCOMPARE(reporter.failures(), 3);

    result.upload->unchanged = 70;
    result.upload->removed = 2;
    QCOMPARE(reporter.summary(4, result),
             QStringLiteral("4 pictures listed, 2 thumbnails and 3 large images written, "
                            "2 sources renamed, 5 files uploaded, 70 unchanged, 2 removed, "
                            "3 failures"));
    // Without an upload the same words stand, with nothing counted.
    result.upload.reset();
    QCOMPARE(reporter.summary(4, result),
             QStringLiteral("4 pictures listed, 2 thumbnails and 3 large images written, "
                            "2 sources renamed, 0 files uploaded, 0 unchanged, 0 removed, "
                            "3 failures"));
}

void BatchReporterTest::drawsFilesGoingOutByTheirBytes()
{
    using std::chrono::seconds;
    BatchReporter reporter(m_out, true);
    reporter.status("Uploading Images...");
    reporter.progressRange(2);
    reporter.transferProgress({0, 2, 0, 2000000, seconds(0)});
    reporter.transferProgress({0, 2, 1000000, 2000000, seconds(10)});
    reporter.progressStep();
    reporter.progressReset();
    reporter.status("Upload Complete");

    const QByteArray erase = "\r\033[K";
    QCOMPARE(m_out.data(),
             "Uploading Images...\n" + erase + "Uploading Images... [" + QByteArray(30, '.') +
                 "] 0/2" + erase + "Uploading 0 of 2 files (0.0 of 2.0 MB)... [" +
                 QByteArray(30, '.') + "]" + erase + "Uploading 0 of 2 files (1.0 of 2.0 MB)... [" +
                 QByteArray(15, '#') + QByteArray(15, '.') + "] about 0:10 left" + erase +
                 "Uploading 0 of 2 files (1.0 of 2.0 MB)... [" + QByteArray(15, '#') +
                 QByteArray(15, '.') + "] about 0:10 left" + erase + "Upload Complete\n");
}

void BatchReporterTest::listsADryRunOneStepALine()
{
    UploadResult upload;
    upload.dryRun = true;
    upload.plan = {{UploadStep::Kind::MakeFolder, "/www/new"},
                   {UploadStep::Kind::Send, "/www/new/a01.jpg"},
                   {UploadStep::Kind::Skip, "/www/thumbs/two\nlines.jpg"},
                   {UploadStep::Kind::Remove, "/www/thumbs/old01_t.jpg"}};
    QCOMPARE(BatchReporter::planLines(upload),
             QStringList({"make folder /www/new", "send /www/new/a01.jpg",
                          "skip /www/thumbs/two\\nlines.jpg", "remove /www/thumbs/old01_t.jpg"}));
}

void BatchReporterTest::drawsProgressOnlyWhenAsked_data()
{
    QTest::addColumn<bool>("showProgress");
    QTest::addColumn<QByteArray>("output");

    const QByteArray erase = "\r\033[K";
    const auto bar = [&](int filled, const char* count) {
        return erase + "Generating Images... [" + QByteArray(filled, '#') +
               QByteArray(30 - filled, '.') + "] " + count;
    };
    QTest::newRow("not a terminal")
        << false
        << QByteArray("Generating Images...\nFailed to read picture /p/b.jpg: Cut off\nReady\n");
    // A line written while the bar shows erases it first and draws it again below.
    QTest::newRow("terminal") << true
                              << "Generating Images...\n" + bar(0, "0/2") + bar(15, "1/2") + erase +
                                     "Failed to read picture /p/b.jpg: Cut off\n" + bar(15, "1/2") +
                                     bar(30, "2/2") + erase + "Ready\n";
}

void BatchReporterTest::drawsProgressOnlyWhenAsked()
{
    QFETCH(bool, showProgress);
    BatchReporter reporter(m_out, showProgress);
    reporter.status("Generating Images...");
    reporter.progressRange(2);
    reporter.progressStep();
    reporter.unreadable(1, "/p/b.jpg", DecodeFailure::CutOff);
    reporter.progressStep();
    reporter.progressReset();
    reporter.status("Ready");
    QTEST(m_out.data(), "output");
}

QTEST_APPLESS_MAIN(BatchReporterTest)
#include "tst_batchreporter.moc"
