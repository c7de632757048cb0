#include "FtpServer.h"
#include "ScriptedPrompter.h"
#include "UploadPeer.h"

#include "upload/NetworkLibrary.h"
#include "upload/gui/CFtpSettingsDlg.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString integerWanted = QStringLiteral("Please enter an integer.");
const QString connected =
    QStringLiteral("Successful connection to FTP server!\n\nBoth folders exist.");
const QString notConnected =
    QStringLiteral("Failed to connect to FTP server.\nCheck FTP Settings.\n\n");

FtpSettings savedSettings()
{
    FtpSettings settings;
    settings.load();
    return settings;
}

} // namespace

class FtpSettingsDlgTest : public QObject
{
    Q_OBJECT

private:
    QLineEdit* edit(int id) { return m_dialog->findChild<QLineEdit*>(QString::number(id)); }
    QPushButton* button(int id) { return m_dialog->findChild<QPushButton*>(QString::number(id)); }
    QComboBox* security() { return m_dialog->findChild<QComboBox*>("1030"); }
    QSpinBox* connections() { return m_dialog->findChild<QSpinBox*>("1033"); }
    void type(int id, const QString& text) { edit(id)->setText(text); }

    // Opens the dialog, runs the steps while it is shown, and closes it if they left it open.
    int runModal(const std::function<void()>& steps)
    {
        QTimer::singleShot(0, this, [this, steps] {
            steps();
            if (m_dialog->isVisible())
                m_dialog->reject();
        });
        return m_dialog->DoModal();
    }

    void writeSettings(const FtpSettings& settings)
    {
        FtpSettings copy = settings;
        QVERIFY(copy.save());
    }

    NetworkLibrary m_network;
    QTemporaryDir m_home;
    ScriptedPrompter m_prompter;
    FtpSettings m_settings;
    std::unique_ptr<CFtpSettingsDlg> m_dialog;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void followsItsTemplate();
    void opensWithTheFileAsItIsNow();
    void okWritesEveryKey();
    void badPortKeepsTheDialogOpen();
    void closingWithoutOkReloadsTheFile_data();
    void closingWithoutOkReloadsTheFile();
    void testConnectionUsesTheValuesOnScreen_data();
    void testConnectionUsesTheValuesOnScreen();
    void securityFollowsTheFile_data();
    void securityFollowsTheFile();
    void testConnectionAsksBeforeTrusting_data();
    void testConnectionAsksBeforeTrusting();
    void testConnectionSaysWhenNotEncrypted();
    void anotherServerForgetsTheTrustedKey_data();
    void anotherServerForgetsTheTrustedKey();
    void uploadChoicesFollowTheFile_data();
    void uploadChoicesFollowTheFile();
    void testConnectionSaysWhichFoldersTheUploadWouldMake_data();
    void testConnectionSaysWhichFoldersTheUploadWouldMake();
};

void FtpSettingsDlgTest::initTestCase()
{
    QVERIFY(m_network.isReady());
    QVERIFY(QDir::setCurrent(m_home.path()));
}

void FtpSettingsDlgTest::init()
{
    QFile::remove(FtpSettings::fileName);
    m_prompter = ScriptedPrompter();
    m_settings = FtpSettings();
    m_dialog = std::make_unique<CFtpSettingsDlg>(m_settings, m_prompter);
}

void FtpSettingsDlgTest::cleanup()
{
    m_dialog.reset();
}

void FtpSettingsDlgTest::followsItsTemplate()
{
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("FTP Settings"));
    QCOMPARE(edit(1025)->echoMode(), QLineEdit::Password);
    QVERIFY(button(1)->isDefault());

    const QStringList tabOrder = {"1",    "2",    "1018", "1020", "1030", "1033", "1032", "1035",
                                  "1022", "1023", "1024", "1025", "1026", "1027", "1028"};
    QWidget* widget = button(1);
    QStringList order;
    for (int i = 0; i < tabOrder.size(); ++i) {
        order << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        // A spin box's own line edit is part of the box.
        while (!(widget->focusPolicy() & Qt::TabFocus) || widget->objectName().isEmpty() ||
               widget->objectName().startsWith("qt_"));
    }
    QCOMPARE(order, tabOrder);

    const auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    const QStringList editNames = {"Server",   "Port",      "User name",
                                   "Password", "Image Dir", "Thumbnail Dir"};
    for (int id = 1022; id <= 1027; ++id)
        QCOMPARE(name(edit(id)), editNames[id - 1022]);
    QCOMPARE(name(button(1028)), QStringLiteral("Test Connection"));
    QCOMPARE(name(m_dialog->findChild<QCheckBox*>("1018")), QStringLiteral("Anonymous"));
    QCOMPARE(security()->accessibleName(), QStringLiteral("Security"));
    QCOMPARE(name(connections()), QStringLiteral("Connections"));
    QCOMPARE(m_dialog->findChild<QCheckBox*>("1032")->text(),
             QStringLiteral("Send unchanged files too"));
    QCOMPARE(m_dialog->findChild<QCheckBox*>("1035")->text(),
             QStringLiteral("Remove files this set no longer makes"));
    const auto labels =
        QAccessible::queryAccessibleInterface(security())->relations(QAccessible::Label);
    QVERIFY(!labels.isEmpty());
    QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("Security"));
    QStringList choices;
    for (int i = 0; i < security()->count(); ++i)
        choices << security()->itemText(i);
    QCOMPARE(choices, QStringList({"Plain FTP", "TLS if offered", "TLS required", "SFTP"}));
}

void FtpSettingsDlgTest::opensWithTheFileAsItIsNow()
{
    FtpSettings changed;
    changed.Server = "ftp.example.org";
    changed.Port = 2121;
    changed.Password = "pw";
    changed.ThumbnailFtpDir = "www/thumbs";
    changed.Passive = 1;
    writeSettings(changed);

    runModal([this] {
        QCOMPARE(m_dialog->focusWidget(), button(1));
        QCOMPARE(edit(1022)->text(), QStringLiteral("ftp.example.org"));
        QCOMPARE(edit(1023)->text(), QStringLiteral("2121"));
        QCOMPARE(edit(1025)->text(), QStringLiteral("pw"));
        QCOMPARE(edit(1027)->text(), QStringLiteral("www/thumbs"));
        QVERIFY(m_dialog->findChild<QCheckBox*>("1020")->isChecked());
        QVERIFY(!m_dialog->findChild<QCheckBox*>("1018")->isChecked());
    });
    QVERIFY(!QTest::currentTestFailed());
}

void FtpSettingsDlgTest::okWritesEveryKey()
{
    const int result = runModal([this] {
        QCOMPARE(edit(1023)->text(), QStringLiteral("0"));
        type(1022, "ftp.example.org");
        type(1024, "site");
        m_dialog->findChild<QCheckBox*>("1018")->setChecked(true);
        QTest::keyClick(m_dialog.get(), Qt::Key_Return);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QFile file(FtpSettings::fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Server = ftp.example.org\nPort = 0\nPassword = \n"
                                        "UserName = site\nImageFtpDir = \nThumbnailFtpDir = \n"
                                        "Passive = 0\nAnonymous = 1\nSecurity = 0\n"
                                        "TrustedFingerprint = \nSendAll = 0\nConnections = 4\n"
                                        "RemoveStale = 0\n"));
    QCOMPARE(m_dialog->settings().UserName, QStringLiteral("site"));
}

void FtpSettingsDlgTest::badPortKeepsTheDialogOpen()
{
    FtpSettings before;
    before.Server = "old.example.org";
    before.Port = 21;
    before.UserName = "before";
    writeSettings(before);

    const int result = runModal([this] {
        type(1022, "new.example.org");
        type(1023, "abc");
        type(1024, "after");
        QTest::mouseClick(button(1), Qt::LeftButton);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_prompter.messages, (QStringList{integerWanted, integerWanted}));
        QCOMPARE(m_dialog->focusWidget(), edit(1023));
        QTest::mouseClick(button(2), Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    const FtpSettings saved = savedSettings();
    QCOMPARE(saved.Server, QStringLiteral("new.example.org"));
    QCOMPARE(saved.Port, 21);
    QCOMPARE(saved.UserName, QStringLiteral("before"));
    QCOMPARE(m_dialog->settings().Server, QStringLiteral("new.example.org"));
    QCOMPARE(m_dialog->settings().UserName, QStringLiteral("before"));
}

void FtpSettingsDlgTest::closingWithoutOkReloadsTheFile_data()
{
    QTest::addColumn<int>("how");
    // clang-format off
    QTest::newRow("Cancel") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
    // clang-format on
}

void FtpSettingsDlgTest::closingWithoutOkReloadsTheFile()
{
    QFETCH(int, how);
    FtpSettings before;
    before.Server = "127.0.0.1";
    before.Port = 1; // nothing listens there, so the test fails at once
    writeSettings(before);

    const int result = runModal([this, how] {
        type(1022, "localhost");
        QTest::mouseClick(button(1028), Qt::LeftButton);
        QCOMPARE(m_dialog->settings().Server, QStringLiteral("localhost"));
        if (how == 0)
            QTest::mouseClick(button(2), Qt::LeftButton);
        else if (how == 1)
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        else
            m_dialog->close();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(m_prompter.messages, QStringList{notConnected + "The server refused the connection."});
    QCOMPARE(m_dialog->settings().Server, QStringLiteral("127.0.0.1"));
    QCOMPARE(savedSettings().Server, QStringLiteral("127.0.0.1"));
}

void FtpSettingsDlgTest::testConnectionUsesTheValuesOnScreen_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("portText");
    QTest::addColumn<bool>("passive");
    QTest::addColumn<QStringList>("messages");

    // clang-format off
    QTest::newRow("right password, passive")
        << "s3cret pass" << "" << true << QStringList{connected};
    QTest::newRow("right password, active")
        << "s3cret pass" << "" << false << QStringList{connected};
    QTest::newRow("wrong password")
        << "wrong" << "" << true << QStringList{notConnected + "Login incorrect."};
    // clang-format on
    // The exchange stops at the Port box: the later boxes are not taken either.
    // clang-format off
    QTest::newRow("port refused: the stored values are tried")
        << "wrong" << "abc" << false << QStringList{integerWanted, connected};
    // clang-format on
}

void FtpSettingsDlgTest::testConnectionUsesTheValuesOnScreen()
{
    QFETCH(QString, password);
    QFETCH(QString, portText);
    QFETCH(bool, passive);
    REQUIRE_FTP_SERVER();
    const FtpServer::Account account;
    FtpServer server;
    QVERIFY(server.start(account));
    FtpSettings stored;
    stored.Port = server.port();
    stored.UserName = account.userName;
    stored.Password = account.password;
    stored.Passive = 1;
    writeSettings(stored);

    runModal([&] {
        type(1022, "127.0.0.1");
        if (!portText.isEmpty())
            type(1023, portText);
        type(1024, account.userName);
        type(1025, password);
        m_dialog->findChild<QCheckBox*>("1020")->setChecked(passive);
        QTest::mouseClick(button(1028), Qt::LeftButton);
        QVERIFY(m_dialog->isVisible());
    });
    QTEST(m_prompter.messages, "messages");
    QCOMPARE(savedSettings().Server, QString());
}

void FtpSettingsDlgTest::securityFollowsTheFile_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");  // the index of the choice shown, -1 for none
    QTest::addColumn<int>("chosen"); // -1: left as it is
    QTest::addColumn<int>("saved");

    // clang-format off
    QTest::newRow("plain FTP, SFTP chosen") << 0 << 0 << 3 << 3;
    QTest::newRow("TLS required, left") << 2 << 2 << -1 << 2;
    QTest::newRow("unknown value, left") << 7 << -1 << -1 << 7;
    QTest::newRow("unknown value, TLS if offered chosen") << 7 << -1 << 1 << 1;
    // clang-format on
}

void FtpSettingsDlgTest::securityFollowsTheFile()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, chosen);
    FtpSettings before;
    before.Security = stored;
    writeSettings(before);

    runModal([&] {
        QCOMPARE(security()->currentIndex(), shown);
        if (chosen >= 0)
            security()->setCurrentIndex(chosen);
        QTest::mouseClick(button(1), Qt::LeftButton);
    });
    QTEST(savedSettings().Security, "saved");
}

void FtpSettingsDlgTest::testConnectionAsksBeforeTrusting_data()
{
    QTest::addColumn<UploadPeer::Kind>("kind");
    QTest::addColumn<bool>("trust");

    for (const bool trust : {true, false}) {
        const char* answer = trust ? "Yes" : "No";
        QTest::addRow("SFTP host key, %s", answer) << UploadPeer::Kind::Sftp << trust;
        QTest::addRow("self-signed certificate, %s", answer) << UploadPeer::Kind::FtpTls << trust;
    }
}

void FtpSettingsDlgTest::testConnectionAsksBeforeTrusting()
{
    QFETCH(UploadPeer::Kind, kind);
    QFETCH(bool, trust);
    REQUIRE_UPLOAD_PEER(kind);
    UploadPeer peer;
    QVERIFY(peer.start(kind, {}, UploadPeer::Certificate::SelfSigned));
    FtpSettings stored = peer.settings();
    stored.TrustedFingerprint.clear();
    writeSettings(stored);
    m_prompter.answers = {trust ? Answer::Yes : Answer::No};

    runModal([&] {
        QTest::mouseClick(button(1028), Qt::LeftButton);
        // The key is kept as the other values are: written by OK, dropped by Cancel.
        QCOMPARE(savedSettings().TrustedFingerprint, QString());
        QTest::mouseClick(button(1), Qt::LeftButton);
    });
    QCOMPARE(m_prompter.messages.size(), 2);
    const QString question = m_prompter.messages[0];
    QCOMPARE(m_prompter.messageStyles[0], MessageStyle::YesNoQuestion);
    QVERIFY(question.contains(peer.keyFingerprint()));
    QVERIFY(question.endsWith("Trust this server from now on and connect? Answer Yes only if "
                              "you know this is your server's key."));
    if (trust) {
        QCOMPARE(m_prompter.messages[1], connected);
        QCOMPARE(savedSettings().TrustedFingerprint, peer.keyFingerprint());
    } else {
        QVERIFY(m_prompter.messages[1].startsWith(notConnected + "The server's "));
        QCOMPARE(savedSettings().TrustedFingerprint, QString());
    }
}

void FtpSettingsDlgTest::testConnectionSaysWhenNotEncrypted()
{
    REQUIRE_UPLOAD_PEER(UploadPeer::Kind::Ftp);
    UploadPeer peer;
    QVERIFY(peer.start(UploadPeer::Kind::Ftp));
    FtpSettings stored = peer.settings();
    stored.Security = 1;
    writeSettings(stored);

    runModal([&] { QTest::mouseClick(button(1028), Qt::LeftButton); });
    QCOMPARE(m_prompter.messages,
             QStringList{connected + "\n\nThe server offers no TLS: this connection is not "
                                     "encrypted."});
}

void FtpSettingsDlgTest::anotherServerForgetsTheTrustedKey_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");

    const QString key = QString(64, u'a');
    // clang-format off
    QTest::newRow("another server") << 1022 << "ftp.example.net" << "";
    QTest::newRow("another port") << 1023 << "2222" << "";
    QTest::newRow("another password") << 1025 << "new password" << key;
    // clang-format on
}

void FtpSettingsDlgTest::anotherServerForgetsTheTrustedKey()
{
    QFETCH(int, box);
    QFETCH(QString, text);
    FtpSettings stored;
    stored.Server = "ftp.example.org";
    stored.Security = 3;
    stored.TrustedFingerprint = QString(64, u'a');
    writeSettings(stored);

    runModal([&] {
        type(box, text);
        QTest::mouseClick(button(1), Qt::LeftButton);
    });
    QTEST(savedSettings().TrustedFingerprint, "kept");
}

void FtpSettingsDlgTest::uploadChoicesFollowTheFile_data()
{
    QTest::addColumn<int>("stored"); // Connections in the file
    QTest::addColumn<int>("shown");  // in the box
    QTest::addColumn<int>("typed");  // 0: left as it is
    QTest::addColumn<QByteArray>("saved");

    // clang-format off
    QTest::newRow("as stored") << 2 << 2 << 0 << QByteArray("SendAll = 1\nConnections = 2\nRemoveStale = 1\n");
    QTest::newRow("too many shows the most") << 12 << 8 << 0 << QByteArray("SendAll = 1\nConnections = 8\nRemoveStale = 1\n");
    QTest::newRow("none shows one") << 0 << 1 << 0 << QByteArray("SendAll = 1\nConnections = 1\nRemoveStale = 1\n");
    QTest::newRow("changed") << 4 << 4 << 6 << QByteArray("SendAll = 1\nConnections = 6\nRemoveStale = 1\n");
    // clang-format on
}

void FtpSettingsDlgTest::uploadChoicesFollowTheFile()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, typed);
    QFETCH(QByteArray, saved);
    FtpSettings before;
    before.Connections = stored;
    writeSettings(before);

    runModal([&] {
        QCOMPARE(connections()->value(), shown);
        QVERIFY(!m_dialog->findChild<QCheckBox*>("1032")->isChecked());
        QVERIFY(!m_dialog->findChild<QCheckBox*>("1035")->isChecked());
        if (typed != 0)
            connections()->setValue(typed);
        m_dialog->findChild<QCheckBox*>("1032")->setChecked(true);
        m_dialog->findChild<QCheckBox*>("1035")->setChecked(true);
        QTest::mouseClick(button(1), Qt::LeftButton);
    });
    QFile file(FtpSettings::fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY2(written.endsWith(saved), written.constData());
}

void FtpSettingsDlgTest::testConnectionSaysWhichFoldersTheUploadWouldMake_data()
{
    QTest::addColumn<QStringList>("folders"); // on the server
    QTest::addColumn<QString>("message");

    const QString success = "Successful connection to FTP server!\n\n";
    // clang-format off
    QTest::newRow("both exist")
        << QStringList{"www/thumbs", "www/images"} << success + "Both folders exist.";
    QTest::newRow("the thumbnail folder is missing")
        << QStringList{"www/images"}
        << success + "The upload will make these folders:\nThumbnail Dir: /www/thumbs";
    QTest::newRow("both are missing")
        << QStringList{}
        << success + "The upload will make these folders:\nThumbnail Dir: /www/thumbs\n"
                     "Image Dir: /www/images";
    // clang-format on
}

// Looked for as the upload goes to them, beside each other, and nothing made.
void FtpSettingsDlgTest::testConnectionSaysWhichFoldersTheUploadWouldMake()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, message);
    REQUIRE_FTP_SERVER();
    FtpServer server;
    QVERIFY(server.start(FtpServer::Account(), folders));
    FtpSettings stored = server.settings();
    stored.ThumbnailFtpDir = "www/thumbs";
    stored.ImageFtpDir = "images";
    writeSettings(stored);

    runModal([&] { QTest::mouseClick(button(1028), Qt::LeftButton); });
    QCOMPARE(m_prompter.messages, QStringList{message});
    for (const char* folder : {"www/thumbs", "www/images"})
        QCOMPARE(QFileInfo::exists(server.homePath(folder)), folders.contains(folder));
}

QTEST_MAIN(FtpSettingsDlgTest)
#include "tst_ftpsettingsdlg.moc"
