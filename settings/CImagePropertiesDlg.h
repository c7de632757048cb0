#pragma once

#include "app/DataExchange.h"
#include "settings/ImageSettings.h"

#include <QDialog>

class Prompter;
class QLineEdit;
class QPushButton;
class QSlider;

// The "Image Properties" dialog and the program's one holder of the image settings.
class CImagePropertiesDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CImagePropertiesDlg(Prompter& prompter, QWidget* parent = nullptr);

    const ImageSettings& settings() const { return m_settings; }

    // Shows the settings file's contents; OK writes the file, Cancel reloads it.
    int DoModal();
    // Reads morvane.cfg into the settings, then shows them when pushToControls is set.
    void Load(bool pushToControls);
    void Save();

    // Cancel, Escape and the close box all end here.
    void reject() override;

private slots:
    void OnOK();
    void OnThumbBrowse();
    void OnLargeBrowse();

private:
    void OnInitDialog();
    void browse(const QString& caption, const QString& instruction, QString& saveDir);

    Prompter& m_prompter;
    ImageSettings m_settings;
    QSlider* m_thumbQuality;
    QSlider* m_largeQuality;
    QPushButton* m_ok;
    DataExchange m_exchange;
};
