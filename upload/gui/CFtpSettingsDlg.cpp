#include "upload/gui/CFtpSettingsDlg.h"

#include "dialogkit/DialogTemplate.h"
#include "dialogkit/Prompter.h"
#include "dialogkit/WaitCursor.h"
#include "upload/FolderWalk.h"
#include "upload/FtpLogin.h"
#include "upload/FtpSession.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

enum ControlId
{
    IDOK = 1,
    IDCANCEL = 2,
    IDC_ANONYMOUS = 1018,
    IDC_PASSIVE = 1020,
    IDC_SERVER = 1022,
    IDC_PORT = 1023,
    IDC_USERNAME = 1024,
    IDC_PASSWORD = 1025,
    IDC_IMAGEDIR = 1026,
    IDC_THUMBNAILDIR = 1027,
    IDC_TEST_CONNECTION = 1028,
    IDC_SECURITY = 1030,
    IDC_SECURITY_LABEL = 1031,
    IDC_SENDALL = 1032,
    IDC_CONNECTIONS = 1033,
    IDC_CONNECTIONS_LABEL = 1034,
    IDC_REMOVESTALE = 1035,
};

// In template order, which is the tab order. Test Connection is wider than the form had it,
// about the same middle, so that its words fit in every language.
constexpr ControlSpec controls[] = {
    {IDOK, ControlKind::DefaultButton, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "OK"), 37, 190, 50, 14},
    {IDCANCEL, ControlKind::PushButton, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Cancel"), 113, 190,
     50, 14},
    {0, ControlKind::RightLabel, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Server"), 32, 10, 22, 8},
    {0, ControlKind::RightLabel, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Port"), 40, 27, 14, 8},
    {0, ControlKind::RightLabel, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "User name"), 19, 43, 35, 8},
    {0, ControlKind::RightLabel, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Password"), 22, 59, 32, 8},
    {IDC_ANONYMOUS, ControlKind::CheckBox, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Anonymous"), 59,
     76, 53, 10},
    {0, ControlKind::RightLabel, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Image Dir"), 23, 93, 31, 8},
    {0, ControlKind::RightLabel, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Thumbnail Dir"), 10, 109, 44,
     8},
    {IDC_PASSIVE, ControlKind::CheckBox, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Passive"), 59, 125,
     41, 10},
    {IDC_SECURITY_LABEL, ControlKind::RightLabel, QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Security"),
     106, 126, 28, 8},
    {IDC_SECURITY, ControlKind::ComboBox, "", 136, 123, 63, 60},
    {IDC_CONNECTIONS_LABEL, ControlKind::RightLabel,
     QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Connections"), 14, 141, 40, 8},
    {IDC_CONNECTIONS, ControlKind::SpinBox, "", 58, 139, 30, 13},
    {IDC_SENDALL, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Send unchanged files too"), 100, 140, 99, 10},
    {IDC_REMOVESTALE, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Remove files this set no longer makes"), 59, 155, 140,
     10},
    {IDC_SERVER, ControlKind::Edit, "", 58, 8, 141, 14},
    {IDC_PORT, ControlKind::Edit, "", 58, 24, 141, 14},
    {IDC_USERNAME, ControlKind::Edit, "", 58, 40, 141, 14},
    {IDC_PASSWORD, ControlKind::PasswordEdit, "", 58, 56, 141, 14},
    {IDC_IMAGEDIR, ControlKind::Edit, "", 58, 90, 141, 14},
    {IDC_THUMBNAILDIR, ControlKind::Edit, "", 58, 106, 141, 14},
    {IDC_TEST_CONNECTION, ControlKind::PushButton,
     QT_TRANSLATE_NOOP("CFtpSettingsDlg", "Test Connection"), 65, 170, 75, 14},
};

} // namespace

CFtpSettingsDlg::CFtpSettingsDlg(FtpSettings& settings, Prompter& prompter, QWidget* parent)
    : SettingsDialog(settings, prompter, parent)
{
    const DialogTemplate dialog(this, {"CFtpSettingsDlg",
                                       QT_TRANSLATE_NOOP("CFtpSettingsDlg", "FTP Settings"), 206,
                                       212, controls});
    m_ok = dialog.control<QPushButton>(IDOK);
    const auto edit = [&dialog](int id, const QString& name) {
        auto* box = dialog.control<QLineEdit>(id);
        box->setAccessibleName(name);
        return box;
    };
    m_exchange.bindText(edit(IDC_SERVER, tr("Server")), &m_settings.Server);
    m_exchange.bindInteger(edit(IDC_PORT, tr("Port")), &m_settings.Port);
    m_exchange.bindText(edit(IDC_PASSWORD, tr("Password")), &m_settings.Password);
    m_exchange.bindText(edit(IDC_USERNAME, tr("User name")), &m_settings.UserName);
    m_exchange.bindText(edit(IDC_IMAGEDIR, tr("Image Dir")), &m_settings.ImageFtpDir);
    m_exchange.bindText(edit(IDC_THUMBNAILDIR, tr("Thumbnail Dir")), &m_settings.ThumbnailFtpDir);
    m_exchange.bindCheck(dialog.control<QCheckBox>(IDC_PASSIVE), &m_settings.Passive);
    m_exchange.bindCheck(dialog.control<QCheckBox>(IDC_ANONYMOUS), &m_settings.Anonymous);
    // In the order of the Security values.
    auto* security = dialog.control<QComboBox>(IDC_SECURITY);
    security->addItems(
        {tr("Plain FTP"), tr("TLS if offered"), tr("TLS required"), QStringLiteral("SFTP")});
    security->setAccessibleName(tr("Security"));
    // Screen readers name a drop-down by its label.
    dialog.control<QLabel>(IDC_SECURITY_LABEL)->setBuddy(security);
    m_exchange.bindIndex(security, &m_settings.Security);
    auto* connections = dialog.control<QSpinBox>(IDC_CONNECTIONS);
    connections->setRange(1, 8);
    connections->setAccessibleName(tr("Connections"));
    dialog.control<QLabel>(IDC_CONNECTIONS_LABEL)->setBuddy(connections);
    m_exchange.bindSpin(connections, &m_settings.Connections);
    m_exchange.bindCheck(dialog.control<QCheckBox>(IDC_SENDALL), &m_settings.SendAll);
    m_exchange.bindCheck(dialog.control<QCheckBox>(IDC_REMOVESTALE), &m_settings.RemoveStale);

    connect(m_ok, &QPushButton::clicked, this, &CFtpSettingsDlg::accept);
    connect(dialog.control<QPushButton>(IDCANCEL), &QPushButton::clicked, this,
            &CFtpSettingsDlg::reject);
    connect(dialog.control<QPushButton>(IDC_TEST_CONNECTION), &QPushButton::clicked, this,
            &CFtpSettingsDlg::OnTestConnection);
}

bool CFtpSettingsDlg::trustServer(const ServerKey& key)
{
    const QString question =
        key.untrustedReason() + QStringLiteral("\n\n") + key.description() +
        QStringLiteral("\n\n") +
        tr("Trust this server from now on and connect? Answer Yes only if you know this is your "
           "server's key.");
    if (m_prompter.message(question, MessageStyle::YesNoQuestion) != Answer::Yes)
        return false;
    m_settings.TrustedFingerprint = key.fingerprint();
    return true;
}

void CFtpSettingsDlg::OnTestConnection()
{
    FtpConnectResult result;
    QStringList toMake;
    {
        const WaitCursor wait;
        takeControls();
        FtpSession session;
        result = session.GetFtpConnection(FtpLogin::fromSettings(m_settings), *this);
        if (result.connection) {
            // Looked for as the upload goes to them, and nothing made.
            FolderWalk walk(*result.connection, false);
            const std::pair<QString, QString> folders[] = {
                {tr("Thumbnail Dir"), m_settings.ThumbnailFtpDir},
                {tr("Image Dir"), m_settings.ImageFtpDir}};
            for (const auto& [name, remoteDir] : folders) {
                const FolderVisit visit = walk.enter(remoteDir);
                if (!visit.reached())
                    toMake << QStringLiteral("%1: %2").arg(name, visit.path);
            }
        }
    }
    if (!result.connection) {
        m_prompter.message(
            tr("Failed to connect to FTP server.\nCheck FTP Settings.\n\n%1").arg(result.reason()));
        return;
    }
    QString text =
        tr("Successful connection to FTP server!") + QStringLiteral("\n\n") +
        (toMake.isEmpty() ? tr("Both folders exist.")
                          : tr("The upload will make these folders:") + u'\n' + toMake.join(u'\n'));
    if (result.tlsDeclined)
        text += QStringLiteral("\n\n") +
                tr("The server offers no TLS: this connection is not encrypted.");
    m_prompter.message(text);
    // The connection closes once the message is dismissed.
}

void CFtpSettingsDlg::OnOK()
{
    takeControls();
    Save();
    // A refused Port box keeps the dialog open, with its message shown once more.
    if (m_exchange.UpdateData(true))
        QDialog::accept();
}

void CFtpSettingsDlg::takeControls()
{
    const FtpSettings before = m_settings;
    m_exchange.UpdateData(true);
    m_settings.keepTrustOnlyFor(before);
}
