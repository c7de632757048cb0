#pragma once

#include "dialogkit/SettingsDialog.h"
#include "settings/FtpSettings.h"

// The "FTP Settings" dialog and the program's one holder of the FTP settings.
class CFtpSettingsDlg : public SettingsDialog<FtpSettings>
{
    Q_OBJECT

public:
    explicit CFtpSettingsDlg(Prompter& prompter, QWidget* parent = nullptr);

    // Enter and the OK button.
    void accept() override { OnOK(); }

public slots:
    void OnTestConnection();

private:
    void OnOK();
};
