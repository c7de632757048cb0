#include "app/CAboutDlg.h"

#include "dialogkit/DialogTemplate.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int IDC_ICON = 1000;
constexpr int IDC_VERSION = 1001;

constexpr ControlSpec controls[] = {
    {1, ControlKind::DefaultButton, QT_TRANSLATE_NOOP("CAboutDlg", "OK"), 178, 7, 50, 14},
    {IDC_ICON, ControlKind::Label, "", 11, 17, 20, 20},
    {0, ControlKind::Label, QT_TRANSLATE_NOOP("CAboutDlg", "Morvane Application"), 40, 10, 119, 8},
    {IDC_VERSION, ControlKind::Label, "", 40, 25, 119, 8},
    {0, ControlKind::Label,
     QT_TRANSLATE_NOOP("CAboutDlg", "This program uses the GD Graphics Library."), 40, 40, 180, 8},
};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    const DialogTemplate form(
        this, {"CAboutDlg", QT_TRANSLATE_NOOP("CAboutDlg", "About Quarnel"), 235, 81, controls});
    form.control<QLabel>(IDC_VERSION)
        ->setText(tr("Version %1").arg(QLatin1String(MORVANE_VERSION)));
    auto* icon = form.control<QLabel>(IDC_ICON);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Morvane"));
    connect(form.control<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
}
