#pragma once

#include "settings/FtpSettings.h"

#include <QDialog>

class Prompter;

// The "FTP Settings" dialog and the program's one holder of the FTP settings.
class CFtpSettingsDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CFtpSettingsDlg(Prompter& prompter, QWidget* parent = nullptr);

    const FtpSettings& settings() const { return m_settings; }

    int DoModal();
    // Reads ftpsettings.cfg into the settings, then shows them when pushToControls is set.
    void Load(bool pushToControls);
    void Save();

private:
    Prompter& m_prompter;
    FtpSettings m_settings;
};
