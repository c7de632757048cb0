#include "upload/gui/CFtpSettingsDlg.h"

#include "dialogkit/DialogTemplate.h"
#include "dialogkit/Prompter.h"
#include "dialogkit/WaitCursor.h"
#include "upload/FtpConnection.h"
#include "upload/FtpSession.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

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
};

// In template order, which is the tab order.
constexpr ControlSpec controls[] = {
    {IDOK, ControlKind::DefaultButton, "OK", 37, 163, 50, 14},
    {IDCANCEL, ControlKind::PushButton, "Cancel", 113, 163, 50, 14},
    {0, ControlKind::Label, "Server", 32, 10, 22, 8},
    {0, ControlKind::Label, "Port", 40, 27, 14, 8},
    {0, ControlKind::Label, "User name", 19, 43, 35, 8},
    {0, ControlKind::Label, "Password", 22, 59, 32, 8},
    {IDC_ANONYMOUS, ControlKind::CheckBox, "Anonymous", 59, 76, 53, 10},
    {0, ControlKind::Label, "Image Dir", 23, 93, 31, 8},
    {0, ControlKind::Label, "Thumbnail Dir", 10, 109, 44, 8},
    {IDC_PASSIVE, ControlKind::CheckBox, "Passive", 59, 125, 41, 10},
    {IDC_SERVER, ControlKind::Edit, "", 58, 8, 141, 14},
    {IDC_PORT, ControlKind::Edit, "", 58, 24, 141, 14},
    {IDC_USERNAME, ControlKind::Edit, "", 58, 40, 141, 14},
    {IDC_PASSWORD, ControlKind::PasswordEdit, "", 58, 56, 141, 14},
    {IDC_IMAGEDIR, ControlKind::Edit, "", 58, 90, 141, 14},
    {IDC_THUMBNAILDIR, ControlKind::Edit, "", 58, 106, 141, 14},
    {IDC_TEST_CONNECTION, ControlKind::PushButton, "Test Connection", 72, 143, 61, 14},
};

} // namespace

CFtpSettingsDlg::CFtpSettingsDlg(Prompter& prompter, QWidget* parent)
    : SettingsDialog(prompter, parent)
{
    const DialogTemplate dialog(this, {"FTP Settings", 206, 185, controls});
    m_ok = dialog.control<QPushButton>(IDOK);
    const auto edit = [&dialog](int id, const char* name) {
        auto* box = dialog.control<QLineEdit>(id);
        box->setAccessibleName(QString::fromUtf8(name));
        return box;
    };
    m_exchange.bindText(edit(IDC_SERVER, "Server"), &m_settings.Server);
    m_exchange.bindInteger(edit(IDC_PORT, "Port"), &m_settings.Port);
    m_exchange.bindText(edit(IDC_PASSWORD, "Password"), &m_settings.Password);
    m_exchange.bindText(edit(IDC_USERNAME, "User name"), &m_settings.UserName);
    m_exchange.bindText(edit(IDC_IMAGEDIR, "Image Dir"), &m_settings.ImageFtpDir);
    m_exchange.bindText(edit(IDC_THUMBNAILDIR, "Thumbnail Dir"), &m_settings.ThumbnailFtpDir);
    m_exchange.bindCheck(dialog.control<QCheckBox>(IDC_PASSIVE), &m_settings.Passive);
    m_exchange.bindCheck(dialog.control<QCheckBox>(IDC_ANONYMOUS), &m_settings.Anonymous);

    connect(m_ok, &QPushButton::clicked, this, &CFtpSettingsDlg::accept);
    connect(dialog.control<QPushButton>(IDCANCEL), &QPushButton::clicked, this,
            &CFtpSettingsDlg::reject);
    connect(dialog.control<QPushButton>(IDC_TEST_CONNECTION), &QPushButton::clicked, this,
            &CFtpSettingsDlg::OnTestConnection);
}

void CFtpSettingsDlg::OnTestConnection()
{
    bool connected = false;
    {
        const WaitCursor wait;
        m_exchange.UpdateData(true);
        FtpSession session;
        connected =
            session.GetFtpConnection(m_settings.Server, m_settings.UserName, m_settings.Password,
                                     quint16(m_settings.Port), m_settings.Passive != 0) != nullptr;
    }
    m_prompter.message(connected ? QStringLiteral("Successful connection to FTP server!")
                                 : QStringLiteral("Failed to connect to FTP server.\n"
                                                  "Check FTP Settings."));
}

void CFtpSettingsDlg::OnOK()
{
    m_exchange.UpdateData(true);
    Save();
    // A refused Port box keeps the dialog open, with its message shown once more.
    if (m_exchange.UpdateData(true))
        QDialog::accept();
}

