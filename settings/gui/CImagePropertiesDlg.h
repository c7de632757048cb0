#pragma once

#include "dialogkit/SettingsDialog.h"
#include "settings/ImageSettings.h"

class QSlider;

// The "Image Properties" dialog and the program's one holder of the image settings.
class CImagePropertiesDlg : public SettingsDialog<ImageSettings>
{
    Q_OBJECT

public:
    // Edits settings, which must outlive the dialog.
    CImagePropertiesDlg(ImageSettings& settings, Prompter& prompter, QWidget* parent = nullptr);

private slots:
    void OnOK();
    void OnThumbBrowse();
    void OnLargeBrowse();

private:
    void browse(const QString& caption, const QString& instruction, QString& saveDir);

    QSlider* m_thumbQuality;
    QSlider* m_largeQuality;
};
