#include "settings/gui/CImagePropertiesDlg.h"

#include "dialogkit/DialogTemplate.h"
#include "dialogkit/Prompter.h"

#include <QCheckBox>
#include <QLabel>
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
    IDC_THUMB_WEBP = 1034,
    IDC_THUMB_AVIF = 1035,
    IDC_THUMB_DOUBLE = 1036,
    IDC_THUMB_KEEPRATIO = 1037,
    IDC_THUMB_NOENLARGE = 1038,
    IDC_THUMB_QUALITY_VALUE = 1039,
    IDC_LARGE_WEBP = 1040,
    IDC_LARGE_AVIF = 1041,
    IDC_LARGE_DOUBLE = 1042,
    IDC_LARGE_KEEPRATIO = 1043,
    IDC_LARGE_NOENLARGE = 1044,
    IDC_LARGE_QUALITY_VALUE = 1045,
    IDC_PROGRESSIVE_JPEG = 1046,
    IDC_KEEP_CREDITS = 1047,
    IDC_WRITE_MARKUP = 1048,
    IDC_WEB_SAFE_NAMES = 1049,
};

// The web options grow the dialog by one row, below the boxes; OK and Cancel stay at its foot.
constexpr int webRow = 20;

// Template 134, in template order, which is also the tab order. Each profile's box holds its
// web options in the room right of the size and extension boxes, and the quality's number
// beside its slider. The Browse buttons are wider than the form's own 34 units, so that the
// word fits in every language.
constexpr ControlSpec controls[] = {
    {IDOK, ControlKind::DefaultButton, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "OK"), 116,
     231 + webRow, 50, 14},
    {0, ControlKind::GroupBox, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Thumbnail Properties"), 7,
     6, 179, 180},
    {IDC_THUMB_SAVEDIR, ControlKind::Edit, "", 15, 32, 164, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Save Directory"), 16, 21, 48,
     8},
    {IDC_THUMB_BROWSE, ControlKind::PushButton, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Browse"),
     74, 18, 56, 12},
    {IDC_THUMB_WIDTH, ControlKind::Edit, "", 16, 63, 40, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Width"), 16, 53, 20, 8},
    {IDC_THUMB_HEIGHT, ControlKind::Edit, "", 16, 91, 40, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Height"), 16, 80, 22, 8},
    {IDC_THUMB_USEWIDTH, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Use Width"), 68, 65, 49, 10},
    {IDC_THUMB_USEHEIGHT, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Use Height"), 67, 94, 51, 10},
    {IDC_THUMB_EXTENSION, ControlKind::Edit, "", 17, 123, 64, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Extension"), 17, 113, 32, 8},
    {IDC_THUMB_QUALITY, ControlKind::Trackbar, "", 35, 156, 126, 24},
    {IDC_THUMB_QUALITY_VALUE, ControlKind::Label, "", 164, 164, 16, 8},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "High"), 144, 147, 16, 8},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Low"), 35, 147, 14, 8},
    {IDC_THUMB_WEBP, ControlKind::CheckBox, "WebP", 125, 53, 50, 10},
    {IDC_THUMB_AVIF, ControlKind::CheckBox, "AVIF", 125, 67, 50, 10},
    {IDC_THUMB_DOUBLE, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "2x version"), 125, 81, 55, 10},
    {IDC_THUMB_KEEPRATIO, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Keep proportions"), 90, 113, 90, 10},
    {IDC_THUMB_NOENLARGE, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Never enlarge"), 90, 126, 90, 10},
    {0, ControlKind::GroupBox, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Image Properties"), 196, 6,
     179, 181},
    {IDC_LARGE_SAVEDIR, ControlKind::Edit, "", 204, 32, 164, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Save Directory"), 205, 21, 48,
     8},
    {IDC_LARGE_BROWSE, ControlKind::PushButton, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Browse"),
     263, 18, 56, 12},
    {IDC_LARGE_WIDTH, ControlKind::Edit, "", 205, 63, 40, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Width"), 205, 53, 20, 8},
    {IDC_LARGE_HEIGHT, ControlKind::Edit, "", 205, 91, 40, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Height"), 205, 80, 22, 8},
    {IDC_LARGE_USEWIDTH, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Use Width"), 257, 65, 49, 10},
    {IDC_LARGE_USEHEIGHT, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Use Height"), 256, 94, 51, 10},
    {IDC_LARGE_EXTENSION, ControlKind::Edit, "", 206, 123, 64, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Extension"), 206, 113, 32, 8},
    {IDC_LARGE_QUALITY, ControlKind::Trackbar, "", 224, 156, 126, 24},
    {IDC_LARGE_QUALITY_VALUE, ControlKind::Label, "", 353, 164, 16, 8},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "High"), 333, 147, 16, 8},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Low"), 224, 147, 14, 8},
    {IDC_LARGE_WEBP, ControlKind::CheckBox, "WebP", 314, 53, 50, 10},
    {IDC_LARGE_AVIF, ControlKind::CheckBox, "AVIF", 314, 67, 50, 10},
    {IDC_LARGE_DOUBLE, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "2x version"), 314, 81, 55, 10},
    {IDC_LARGE_KEEPRATIO, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Keep proportions"), 279, 113, 90, 10},
    {IDC_LARGE_NOENLARGE, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Never enlarge"), 279, 126, 90, 10},
    {IDCANCEL, ControlKind::PushButton, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Cancel"), 212,
     231 + webRow, 50, 14},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "JPEG Quality"), 78, 147, 42,
     8},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "JPEG Quality"), 267, 147, 42,
     8},
    {0, ControlKind::GroupBox, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Original Image Options"),
     7, 192, 368, 28},
    {IDC_RENAME_ORIGINAL, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Rename Original Image"), 25, 205, 89, 10},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Extension"), 140, 204, 32, 8},
    {IDC_ORIGINAL_EXTENSION, ControlKind::Edit, "", 176, 201, 64, 14},
    // Beside the original's name, in the room the box has right of it; it names the outputs
    // too, as its tooltip says.
    {IDC_WEB_SAFE_NAMES, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Web-safe file names"), 250, 205, 100, 10},
    {IDC_PROGRESSIVE_JPEG, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Progressive JPEG"), 25, 227, 80, 10},
    {IDC_KEEP_CREDITS, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Keep artist and copyright"), 120, 227, 110, 10},
    {IDC_WRITE_MARKUP, ControlKind::CheckBox,
     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Write HTML fragment"), 250, 227, 100, 10},
};

// Edit boxes and trackbars are named after the label beside them.
constexpr std::pair<int, const char*> accessibleNames[] = {
    {IDC_THUMB_SAVEDIR, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Save Directory")},
    {IDC_THUMB_WIDTH, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Width")},
    {IDC_THUMB_HEIGHT, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Height")},
    {IDC_THUMB_EXTENSION, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Extension")},
    {IDC_THUMB_QUALITY, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "JPEG Quality")},
    {IDC_LARGE_SAVEDIR, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Save Directory")},
    {IDC_LARGE_WIDTH, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Width")},
    {IDC_LARGE_HEIGHT, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Height")},
    {IDC_LARGE_EXTENSION, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Extension")},
    {IDC_LARGE_QUALITY, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "JPEG Quality")},
    {IDC_ORIGINAL_EXTENSION, QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Extension")},
};

constexpr int lowestQuality = 20;
constexpr int highestQuality = 100;
constexpr int qualityTickInterval = 10;

} // namespace

CImagePropertiesDlg::CImagePropertiesDlg(ImageSettings& settings, Prompter& prompter,
                                         QWidget* parent)
    : SettingsDialog(settings, prompter, parent)
{
    const DialogTemplate form(this, {"CImagePropertiesDlg",
                                     QT_TRANSLATE_NOOP("CImagePropertiesDlg", "Image Properties"),
                                     382, 252 + webRow, controls});
    for (const auto& [id, name] : accessibleNames)
        form.control(id)->setAccessibleName(tr(name));

    m_thumbQuality = form.control<QSlider>(IDC_THUMB_QUALITY);
    m_largeQuality = form.control<QSlider>(IDC_LARGE_QUALITY);
    const std::pair<QSlider*, QLabel*> qualities[] = {
        {m_thumbQuality, form.control<QLabel>(IDC_THUMB_QUALITY_VALUE)},
        {m_largeQuality, form.control<QLabel>(IDC_LARGE_QUALITY_VALUE)}};
    for (const auto& [slider, number] : qualities) {
        slider->setRange(lowestQuality, highestQuality);
        slider->setTickInterval(qualityTickInterval);
        // The number the file will hold, which the ticks alone do not tell.
        number->setNum(slider->value());
        connect(slider, &QSlider::valueChanged, number, qOverload<int>(&QLabel::setNum));
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
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_THUMB_WEBP), &thumb.Webp);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_THUMB_AVIF), &thumb.Avif);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_THUMB_DOUBLE), &thumb.Double);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_THUMB_KEEPRATIO), &thumb.KeepRatio);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_THUMB_NOENLARGE), &thumb.NoEnlarge);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_LARGE_WEBP), &large.Webp);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_LARGE_AVIF), &large.Avif);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_LARGE_DOUBLE), &large.Double);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_LARGE_KEEPRATIO), &large.KeepRatio);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_LARGE_NOENLARGE), &large.NoEnlarge);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_PROGRESSIVE_JPEG),
                         &m_settings.ProgressiveJpeg);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_KEEP_CREDITS), &m_settings.KeepCredits);
    m_exchange.bindCheck(form.control<QCheckBox>(IDC_WRITE_MARKUP), &m_settings.WriteMarkup);
    auto* webSafeNames = form.control<QCheckBox>(IDC_WEB_SAFE_NAMES);
    m_exchange.bindCheck(webSafeNames, &m_settings.WebSafeNames);
    webSafeNames->setToolTip(
        tr("Outputs and renamed originals get names in lower-case ASCII without blanks, and\n"
           "numbers as wide as a group's largest: \"\u00c9t\u00e9 \u00e0 Paris\" gives "
           "ete-a-paris01.jpg."));

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
    browse(tr("Select the directory for the thumb images."), tr("Thumb Image Directory"),
           m_settings.thumbnail.SaveDir);
}

void CImagePropertiesDlg::OnLargeBrowse()
{
    browse(tr("Select the directory for the large images."), tr("Large Image Directory"),
           m_settings.large.SaveDir);
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
