#include "settings/CImagePropertiesDlg.h"

CImagePropertiesDlg::CImagePropertiesDlg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    Load(false);
}

int CImagePropertiesDlg::DoModal()
{
    return QDialog::Rejected;
}

void CImagePropertiesDlg::Load(bool pushToControls)
{
    m_settings.load();
    Q_UNUSED(pushToControls);
}

void CImagePropertiesDlg::Save()
{
    m_settings.save();
}
