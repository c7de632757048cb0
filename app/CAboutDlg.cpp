#include "app/CAboutDlg.h"

#include "dialogkit/DialogTemplate.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int IDC_ICON = 1000;

constexpr ControlSpec controls[] = {
    {1, ControlKind::DefaultButton, "OK", 178, 7, 50, 14},
    {IDC_ICON, ControlKind::Label, "", 11, 17, 20, 20},
    {0, ControlKind::Label, "Morvane Application", 40, 10, 119, 8},
    {0, ControlKind::Label, "Version " MORVANE_VERSION, 40, 25, 119, 8},
    {0, ControlKind::Label, "This program uses the GD Graphics Library.", 40, 40, 180, 8},
};

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    const DialogTemplate form(this, {"About Quarnel", 235, 81, controls});
    auto* icon = form.control<QLabel>(IDC_ICON);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    icon->setAccessibleName(QStringLiteral("Morvane"));
    connect(form.control<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
}
