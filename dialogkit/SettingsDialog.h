#pragma once

#include "dialogkit/DataExchange.h"

#include <QDialog>
#include <QPushButton>

class Prompter;

// A dialog that edits the program's settings of one file, which the application holds. The
// dialog loads the file when it is made; every opening and every Cancel reload it and OK
// writes it, so outside the dialog the settings equal the file.
template <class Settings>
class SettingsDialog : public QDialog
{
public:
    const Settings& settings() const { return m_settings; }

    // Shows the file's current contents until OK or Cancel.
    int DoModal()
    {
        OnInitDialog();
        return exec();
    }

    // Reads the file into the fields, then shows them when pushToControls is set. A missing
    // file leaves the fields as they are.
    void Load(bool pushToControls)
    {
        m_settings.load();
        if (pushToControls)
            m_exchange.UpdateData(false);
    }

    void Save() { m_settings.save(); }

    // Cancel, Escape and the close box: drops whatever was taken from the boxes since the
    // file was last written.
    void reject() override
    {
        Load(true);
        QDialog::reject();
    }

protected:
    SettingsDialog(Settings& settings, Prompter& prompter, QWidget* parent)
        : QDialog(parent), m_prompter(prompter), m_settings(settings), m_exchange(prompter)
    {
        Load(false);
    }

    // The focus goes to OK, the first control in tab order.
    void OnInitDialog()
    {
        Load(true);
        m_ok->setFocus();
    }

    Prompter& m_prompter;
    Settings& m_settings;
    DataExchange m_exchange;
    QPushButton* m_ok = nullptr;
};
