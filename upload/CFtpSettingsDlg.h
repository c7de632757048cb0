#pragma once

#include "app/DataExchange.h"
#include "settings/FtpSettings.h"

#include <QDialog>

class Prompter;
class QPushButton;

// The "FTP Settings" dialog and the program's one holder of the FTP settings.
class CFtpSettingsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFtpSettingsDlg(Prompter& prompter, QWidget* parent = nullptr);

    const FtpSettings& settings() const { return m_settings; }

    // Shows the dialog with the file's current values until OK or Cancel.
    int DoModal();
    // Reads ftpsettings.cfg into the settings, then shows them when pushToControls is set.
    void Load(bool pushToControls);
    void Save();

    // Enter and the OK button.
    void accept() override { OnOK(); }
    // Escape, the close box and the Cancel button.
    void reject() override { OnCancel(); }

public slots:
    void OnTestConnection();

private:
    void OnInitDialog();
    void OnOK();
    void OnCancel();

    Prompter& m_prompter;
    FtpSettings m_settings;
    DataExchange m_exchange;
    QPushButton* m_ok;
};
