#pragma once

#include "settings/ImageSettings.h"

#include <QDialog>

class Prompter;

// The "Image Properties" dialog and the program's one holder of the image settings.
class CImagePropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CImagePropertiesDlg(Prompter& prompter, QWidget* parent = nullptr);

    const ImageSettings& settings() const { return m_settings; }

    int DoModal();
    // Reads morvane.cfg into the settings, then shows them when pushToControls is set.
    void Load(bool pushToControls);
    void Save();

private:
    Prompter& m_prompter;
    ImageSettings m_settings;
};
