#pragma once

#include "dialogkit/SettingsDialog.h"
#include "settings/FtpSettings.h"
#include "upload/ServerTrust.h"

// The "FTP Settings" dialog and the program's one holder of the FTP settings.
class CFtpSettingsDlg : public SettingsDialog<FtpSettings>, public ServerTrust
{
    Q_OBJECT

public:
    // Edits settings, which must outlive the dialog.
    CFtpSettingsDlg(FtpSettings& settings, Prompter& prompter, QWidget* parent = nullptr);

    // Enter and the OK button.
    void accept() override { OnOK(); }

    // Shows the key and asks whether to trust the server; Yes keeps its fingerprint in the
    // settings, written with the next Save.
    bool trustServer(const ServerKey& key) override;

public slots:
    void OnTestConnection();

private:
    void OnOK();
    // Takes the controls into the settings; a trusted key stays only while its server does.
    void takeControls();
};
