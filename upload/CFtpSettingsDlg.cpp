#include "upload/CFtpSettingsDlg.h"

CFtpSettingsDlg::CFtpSettingsDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    Load(false);
}

int CFtpSettingsDlg::DoModal()
{
    return QDialog::Rejected;
}

void CFtpSettingsDlg::Load(bool pushToControls)
{
    m_settings.load();
    Q_UNUSED(pushToControls);
}

void CFtpSettingsDlg::Save()
{
    m_settings.save();
}
