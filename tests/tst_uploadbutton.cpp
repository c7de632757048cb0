#include "FtpServer.h"
#include "PaintRecorder.h"
#include "RunningProgram.h"
#include "SftpServer.h"
#include "TestHome.h"
#include "TestPictures.h"

#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace TestPictures;

// "Generate / Upload" driven through the real window against a local FTP server.
class UploadButtonTest : public QObject
{
    Q_OBJECT

private:
    CMainFrame& frame() { return m_program.frame(); }
    CMorvaneView& view() { return m_program.view(); }
    QTimer* statusTimer() { return view().findChild<QTimer*>("statusTimer"); }

    void start(const FtpSettings& ftp)
    {
        ImageSettings images;
        images.thumbnail = {m_home.filePath("thumbs"), 40, 0, 1, 0, 70, "_t"};
        images.large = {m_home.filePath("images"), 80, 0, 1, 0, 85, ""};
        QVERIFY(images.save());
        FtpSettings(ftp).save();
        QVERIFY(m_program.start());

        m_program.add({m_home.filePath("a.jpg"), m_home.filePath("b.jpg")});
        for (int row = 1; row <= 2; ++row)
            m_program.setGroup(row, "1");
    }

    FtpSettings serverSettings() const
    {
        FtpSettings settings = m_server.settings();
        settings.ThumbnailFtpDir = "www/thumbs";
        settings.ImageFtpDir = "images";
        return settings;
    }

    TestHome m_home;
    FtpServer m_server;
    RunningProgram m_program;

private slots:
    void initTestCase();
    void cleanup();

    void uploadsEveryFileMadeAndShowsItsProgress();
    void failedConnectSaysSoAndStays();
    void readyReturnsWhenStatusTimerFires();
    void messageHoldsTheUploadUntilAnswered();
    void asksBeforeTrustingAServerAndKeepsItsKey_data();
    void asksBeforeTrustingAServerAndKeepsItsKey();
    void endsWhenTheServerStopsAnswering();
    void saysUntilReadyThatTheUploadWasNotEncrypted();
};

void UploadButtonTest::initTestCase()
{
    REQUIRE_FTP_SERVER();
    QVERIFY(m_home.enter());
    QVERIFY(QDir(m_home.path()).mkpath("thumbs"));
    QVERIFY(QDir(m_home.path()).mkpath("images"));
    QVERIFY(write(m_home.filePath("a.jpg"), jpeg({400, 300})));
    QVERIFY(write(m_home.filePath("b.jpg"), jpeg({300, 400})));
    QVERIFY(m_server.start(FtpServer::Account(), {"www/thumbs", "www/images", "images"}));
}

void UploadButtonTest::cleanup()
{
    m_program.quit();
    // Each test uploads as if for the first time.
    QDir(m_home.filePath("data")).removeRecursively();
}

void UploadButtonTest::uploadsEveryFileMadeAndShowsItsProgress()
{
    start(serverSettings());
    PaintRecorder status(frame().GetMessageBar());
    auto* progress = view().findChild<QProgressBar*>("1029");
    QList<int> maxima; // the bar's range at each step
    connect(progress, &QProgressBar::valueChanged, this, [&](int value) {
        if (value > 0 && (maxima.isEmpty() || maxima.last() != progress->maximum()))
            maxima << progress->maximum();
    });

    m_program.pressGenerateUpload();

    QCOMPARE(m_program.prompter.messages, QStringList());
    for (const char* name :
         {"www/thumbs/01_t.jpg", "www/thumbs/02_t.jpg", "www/images/01.jpg", "www/images/02.jpg"}) {
        const QString local =
            m_home.filePath(QString(name).startsWith("www/thumbs") ? "thumbs" : "images") + '/' +
            QFileInfo(name).fileName();
        QCOMPARE(read(m_server.homePath(name)), read(local));
    }
    QCOMPARE(status.painted.mid(0, 5),
             QStringList({"Generating Images...", "Ready", "Connecting to FTP Server...", "Ready",
                          "Uploading Images..."}));
    QCOMPARE(status.painted.last(), QStringLiteral("Upload Complete"));
    // Files and bytes as they go, up to all of them.
    qint64 bytes = 0;
    for (const QString& folder : {m_home.filePath("thumbs"), m_home.filePath("images")}) {
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files))
            bytes += file.size();
    }
    const QStringList going = status.painted.mid(5, status.painted.size() - 6);
    QVERIFY(!going.isEmpty());
    for (const QString& text : going)
        QVERIFY2(text.startsWith("Uploading ") && text.contains(" of 4 files (") &&
                     text.endsWith(" KB)..."),
                 qPrintable(text));
    QCOMPARE(going.last(), QStringLiteral("Uploading 4 of 4 files (%1 of %1 KB)...")
                               .arg(double(bytes) / 1000, 0, 'f', 1));
    // Generation counts its rows, the upload its files.
    QCOMPARE(maxima, QList<int>({2, 4}));
    QCOMPARE(progress->value(), 0);
    QVERIFY(statusTimer()->isActive());
    QCOMPARE(statusTimer()->interval(), 20000);
}

// A failure stays in the status bar: no "Upload Complete", and no "Ready" 20 seconds later.
void UploadButtonTest::failedConnectSaysSoAndStays()
{
    FtpSettings settings = serverSettings();
    settings.Password = "wrong";
    start(settings);
    m_program.pressGenerateUpload();
    QCOMPARE(m_program.prompter.messages,
             QStringList({"Failed to connect to FTP server.\nCheck FTP Settings under "
                          "Options.\n\nLogin incorrect."}));
    QCOMPARE(frame().GetMessageText(),
             QStringLiteral("Upload failed: no connection to the server."));
    QVERIFY(!statusTimer()->isActive());
}

void UploadButtonTest::readyReturnsWhenStatusTimerFires()
{
    start(serverSettings());
    m_program.pressGenerateUpload();
    QVERIFY(statusTimer()->isActive());
    view().OnTimer();
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Ready"));
    QVERIFY(!statusTimer()->isActive());

    // A second upload starts the 20 seconds afresh, though the server has every file already.
    m_program.pressGenerateUpload();
    QCOMPARE(frame().GetMessageText(),
             QStringLiteral("Upload Complete: 0 files sent, 4 unchanged."));
    QVERIFY(statusTimer()->isActive());
    QVERIFY(statusTimer()->remainingTime() > 19000);
}

void UploadButtonTest::messageHoldsTheUploadUntilAnswered()
{
    FtpSettings settings = serverSettings();
    // A file stands where the folder would be made.
    settings.ThumbnailFtpDir = "blocked/thumbs";
    QVERIFY(write(m_server.homePath("blocked"), "a file"));
    QDir(m_server.homePath("images")).removeRecursively();
    QVERIFY(QDir().mkpath(m_server.homePath("images")));
    start(settings);
    QStringList sentWhileShown;
    m_program.prompter.whileShowingMessage = [&](const QString&) {
        sentWhileShown = QDir(m_server.homePath("images")).entryList(QDir::Files);
    };

    m_program.pressGenerateUpload();

    QCOMPARE(m_program.prompter.messages,
             QStringList({"Failed to find thumbnail directory on FTP server.\nCheck FTP "
                          "Settings under Options.\n\nThe folder /blocked/thumbs does not "
                          "exist and could not be made."}));
    QCOMPARE(sentWhileShown, QStringList());
    QCOMPARE(QDir(m_server.homePath("images")).entryList(QDir::Files),
             QStringList({"01.jpg", "02.jpg"}));
}

void UploadButtonTest::asksBeforeTrustingAServerAndKeepsItsKey_data()
{
    QTest::addColumn<bool>("trust");
    QTest::newRow("trusted") << true;
    QTest::newRow("not trusted") << false;
}

void UploadButtonTest::asksBeforeTrustingAServerAndKeepsItsKey()
{
    QFETCH(bool, trust);
    REQUIRE_SFTP_SERVER();
    SftpServer server;
    QVERIFY(server.start(SftpServer::Account(), {"www/thumbs", "www/images"}));
    FtpSettings settings = serverSettings();
    settings.Port = server.port();
    settings.Security = 3;
    start(settings);
    m_program.prompter.answers = {trust ? Answer::Yes : Answer::No};

    m_program.pressGenerateUpload();

    const QStringList& messages = m_program.prompter.messages;
    QVERIFY(!messages.isEmpty());
    const QString question = messages.first();
    QCOMPARE(m_program.prompter.messageStyles.first(), MessageStyle::YesNoQuestion);
    QVERIFY(question.startsWith("The server's host key is not known yet.\n\n"));
    QVERIFY(question.contains(server.hostKeyFingerprint()));
    QVERIFY(!question.contains(settings.Password));
    FtpSettings saved;
    saved.load();
    if (!trust) {
        QCOMPARE(messages,
                 QStringList({question, "Failed to connect to FTP server.\nCheck FTP Settings "
                                        "under Options.\n\nThe server's host key is not known "
                                        "yet."}));
        QCOMPARE(saved.TrustedFingerprint, QString());
        QVERIFY(QDir(server.homePath("www/images")).isEmpty());
        return;
    }
    QCOMPARE(messages, QStringList{question});
    QCOMPARE(saved.TrustedFingerprint, server.hostKeyFingerprint());
    QCOMPARE(QDir(server.homePath("www/images")).entryList(QDir::Files),
             QStringList({"01.jpg", "02.jpg"}));

    // From now on that key is accepted without a question.
    m_program.pressGenerateUpload();
    QCOMPARE(messages, QStringList{question});
}

void UploadButtonTest::endsWhenTheServerStopsAnswering()
{
    FtpServer stalling;
    FtpServer::Behaviour behaviour;
    behaviour.stallOn = {"*"};
    QVERIFY(stalling.start(FtpServer::Account(), {"www/thumbs", "www/images"}, behaviour));
    FtpSettings settings = serverSettings();
    settings.Port = stalling.port();
    start(settings);

    // The first two files wait out their time-outs, then the upload ends; the others went out
    // beside them.
    m_program.pressGenerateUpload();

    QCOMPARE(m_program.prompter.messages,
             QStringList({"The server stopped answering; 4 files were not uploaded."}));
    const qsizetype stores = stalling.commandLog().count("<- STOR");
    QVERIFY2(stores >= 2 && stores <= 4, qPrintable(QString::number(stores)));
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Upload failed: 0 of 4 files sent."));
}

void UploadButtonTest::saysUntilReadyThatTheUploadWasNotEncrypted()
{
    FtpSettings settings = serverSettings();
    settings.Security = 1;
    start(settings);
    PaintRecorder status(frame().GetMessageBar());

    m_program.pressGenerateUpload();

    QCOMPARE(m_program.prompter.messages, QStringList());
    QCOMPARE(status.painted.count("Upload Complete, without encryption: the server offers no TLS."),
             1);
    QCOMPARE(frame().GetMessageText(),
             QStringLiteral("Upload Complete, without encryption: the server offers no TLS."));
    view().OnTimer();
    QCOMPARE(frame().GetMessageText(), QStringLiteral("Ready"));
}

QTEST_MAIN(UploadButtonTest)
#include "tst_uploadbutton.moc"
