#include "settings/gui/CImagePropertiesDlg.h"

#include "dialogkit/DialogTemplate.h"
#include "dialogkit/Prompter.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace {

enum ControlId
{
    IDOK = 1,
    IDCANCEL = 2,
    IDC_THUMB_SAVEDIR = 1001,
    IDC_THUMB_BROWSE = 1002,
    IDC_THUMB_WIDTH = 1003,
    IDC_THUMB_HEIGHT = 1004,
    IDC_THUMB_USEWIDTH = 1005,
    IDC_THUMB_USEHEIGHT = 1006,
    IDC_THUMB_EXTENSION = 1007,
    IDC_THUMB_QUALITY = 1008,
    IDC_LARGE_SAVEDIR = 1009,
    IDC_LARGE_BROWSE = 1010,
    IDC_LARGE_WIDTH = 1011,
    IDC_LARGE_HEIGHT = 1012,
    IDC_LARGE_USEWIDTH = 1013,
    IDC_LARGE_USEHEIGHT = 1014,
    IDC_LARGE_EXTENSION = 1015,
    IDC_LARGE_QUALITY = 1016,
    IDC_ORIGINAL_EXTENSION = 1017,
    IDC_RENAME_ORIGINAL = 1033,
};

// Template 134, in template order, which is also the tab order.
constexpr ControlSpec controls[] = {
    {IDOK, ControlKind::DefaultButton, "OK", 116, 231, 50, 14},
    {0, ControlKind::GroupBox, "Thumbnail Properties", 7, 6, 179, 180},
    {IDC_THUMB_SAVEDIR, ControlKind::Edit, "", 15, 32, 164, 14},
    {0, ControlKind::Label, "Save Directory", 16, 21, 48, 8},
    {IDC_THUMB_BROWSE, ControlKind::PushButton, "Browse", 74, 18, 34, 12},
    {IDC_THUMB_WIDTH, ControlKind::Edit, "", 16, 63, 40, 14},
    {0, ControlKind::Label, "Width", 16, 53, 20, 8},
    {IDC_THUMB_HEIGHT, ControlKind::Edit, "", 16, 91, 40, 14},
    {0, ControlKind::Label, "Height", 16, 80, 22, 8},
    {IDC_THUMB_USEWIDTH, ControlKind::CheckBox, "Use Width", 68, 65, 49, 10},
    {IDC_THUMB_USEHEIGHT, ControlKind::CheckBox, "Use Height", 67, 94, 51, 10},
    {IDC_THUMB_EXTENSION, ControlKind::Edit, "", 17, 123, 64, 14},
    {0, ControlKind::Label, "Extension", 17, 113, 32, 8},
    {IDC_THUMB_QUALITY, ControlKind::Trackbar, "", 35, 156, 126, 24},
    {0, ControlKind::Label, "High", 144, 147, 16, 8},
    {0, ControlKind::Label, "Low", 35, 147, 14, 8},
    {0, ControlKind::GroupBox, "Image Properties", 196, 6, 179, 181},
    {IDC_LARGE_SAVEDIR, ControlKind::Edit, "", 204, 32, 164, 14},
    {0, ControlKind::Label, "Save Directory", 205, 21, 48, 8},
    {IDC_LARGE_BROWSE, ControlKind::PushButton, "Browse", 263, 18, 34, 12},
    {IDC_LARGE_WIDTH, ControlKind::Edit, "", 205, 63, 40, 14},
    {0, ControlKind::Label, "Width", 205, 53, 20, 8},
    {IDC_LARGE_HEIGHT, ControlKind::Edit, "", 205, 91, 40, 14},
    {0, ControlKind::Label, "Height", 205, 80, 22, 8},
    {IDC_LARGE_USEWIDTH, ControlKind::CheckBox, "Use Width", 257, 65, 49, 10},
    {IDC_LARGE_USEHEIGHT, ControlKind::CheckBox, "Use Height", 256, 94, 51, 10},
    {IDC_LARGE_EXTENSION, ControlKind::Edit, "", 206, 123, 64, 14},
    {0, ControlKind::Label, "Extension", 206, 113, 32, 8},
    {IDC_LARGE_QUALITY, ControlKind::Trackbar, "", 224, 156, 126, 24},
    {0, ControlKind::Label, "High", 333, 147, 16, 8},
    {0, ControlKind::Label, "Low", 224, 147, 14, 8},
    {IDCANCEL, ControlKind::PushButton, "Cancel", 212, 231, 50, 14},
    {0, ControlKind::Label, "JPEG Quality", 78, 147, 42, 8},
    {0, ControlKind::Label, "JPEG Quality", 267, 147, 42, 8},
    {0, ControlKind::GroupBox, "Original Image Options", 7, 192, 368, 28},
    {IDC_RENAME_ORIGINAL, ControlKind::CheckBox, "Rename Original Image", 25, 205, 89, 10},
    {0, ControlKind::Label, "Extension", 140, 204, 32, 8},
    {IDC_ORIGINAL_EXTENSION, ControlKind::Edit, "", 176, 201, 64, 14},
};

// Edit boxes and trackbars are named after the label beside them.
constexpr std::pair<int, const char*> accessibleNames[] = {
    {IDC_THUMB_SAVEDIR, "Save Directory"},
    {IDC_THUMB_WIDTH, "Width"},
    {IDC_THUMB_HEIGHT, "Height"},
    {IDC_THUMB_EXTENSION, "Extension"},
    {IDC_THUMB_QUALITY, "JPEG Quality"},
    {IDC_LARGE_SAVEDIR, "Save Directory"},
    {IDC_LARGE_WIDTH, "Width"},
    {IDC_LARGE_HEIGHT, "Height"},
    {IDC_LARGE_EXTENSION, "Extension"},
    {IDC_LARGE_QUALITY, "JPEG Quality"},
    {IDC_ORIGINAL_EXTENSION, "Extension"},
};

constexpr int lowestQuality = 20;
constexpr int highestQuality = 100;
constexpr int qualityTickInterval = 10;

} // namespace

CImagePropertiesDlg::CImagePropertiesDlg(ImageSettings& settings, Prompter& prompter, QWidget* parent)
    : SettingsDialog(settings, prompter, parent)
{
    const DialogTemplate form(this, {"Image Properties", 382, 252, controls});
    for (const auto& [id, name] : accessibleNames)
        form.control(id)->setAccessibleName(QString::fromUtf8(name));

    m_thumbQuality = form.control<QSlider>(IDC_THUMB_QUALITY);
    m_largeQuality = form.control<QSlider>(IDC_LARGE_QUALITY);
    for (QSlider* slider : {m_thumbQuality, m_largeQuality}) {
        slider->setRange(lowestQuality, highestQuality);
        slider->setTickInterval(qualityTickInterval);
    }

    OutputProfile& large = m_settings.large;
    OutputProfile& thumb = m_settings.thumbnail;
    m_exchange.bindText(form.control<QLineEdit>(IDC_LARGE_EXTENSION), &large.Extension);
    m_exchange.bindInteger(form.control<QLineEdit>(IDC_LARGE_HEIGHT), &large.Height);
    m_exchange.bindSlider(m_largeQuality, &large.Quality);
    m_exchange.bindText(form.control<QLineEdit>(IDC_LARGE_SAVEDIR), &large.SaveDir);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_LARGE_USEHEIGHT), &large.UseHeight);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_LARGE_USEWIDTH), &large.UseWidth);
    m_exchange.bindInteger(form.control<QLineEdit>(IDC_LARGE_WIDTH), &large.Width);
    m_exchange.bindText(form.control<QLineEdit>(IDC_THUMB_EXTENSION), &thumb.Extension);
    m_exchange.bindInteger(form.control<QLineEdit>(IDC_THUMB_HEIGHT), &thumb.Height);
    m_exchange.bindSlider(m_thumbQuality, &thumb.Quality);
    m_exchange.bindText(form.control<QLineEdit>(IDC_THUMB_SAVEDIR), &thumb.SaveDir);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_THUMB_USEHEIGHT), &thumb.UseHeight);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_THUMB_USEWIDTH), &thumb.UseWidth);
    m_exchange.bindInteger(form.control<QLineEdit>(IDC_THUMB_WIDTH), &thumb.Width);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_RENAME_ORIGINAL),
                         &m_settings.RenameOriginalFile);
    m_exchange.bindText(form.control<QLineEdit>(IDC_ORIGINAL_EXTENSION),
                        &m_settings.OriginalExtension);

    m_ok = form.control<QPushButton>(IDOK);
    connect(m_ok, &QPushButton::clicked, this, &CImagePropertiesDlg::OnOK);
    connect(form.control<QPushButton>(IDCANCEL), &QPushButton::clicked, this,
            &CImagePropertiesDlg::reject);
    connect(form.control<QPushButton>(IDC_THUMB_BROWSE), &QPushButton::clicked, this,
            &CImagePropertiesDlg::OnThumbBrowse);
    connect(form.control<QPushButton>(IDC_LARGE_BROWSE), &QPushButton::clicked, this,
            &CImagePropertiesDlg::OnLargeBrowse);
}

// A refused box stops here: writing the fields taken before it would save a half-edited file.
void CImagePropertiesDlg::OnOK()
{
    if (!m_exchange.UpdateData(true))
        return;
    Save();
    accept();
}

void CImagePropertiesDlg::OnThumbBrowse()
{
    browse(QStringLiteral("Select the directory for the thumb images."),
           QStringLiteral("Thumb Image Directory"), m_settings.thumbnail.SaveDir);
}

void CImagePropertiesDlg::OnLargeBrowse()
{
    browse(QStringLiteral("Select the directory for the large images."),
           QStringLiteral("Large Image Directory"), m_settings.large.SaveDir);
}

// The controls are taken first so that the edits made so far are shown again afterwards; a
// refused box stops here, before the chooser, so that no edit is lost.
void CImagePropertiesDlg::browse(const QString& caption, const QString& instruction,
                                 QString& saveDir)
{
    if (!m_exchange.UpdateData(true))
        return;
    if (const std::optional<QString> folder =
            m_prompter.chooseFolder(caption, instruction, saveDir))
        saveDir = *folder;
    m_exchange.UpdateData(false);
}
