#include "view/CSelectGroupDlg.h"

#include "dialogkit/DialogTemplate.h"

#include <QComboBox>
#include <QPushButton>

namespace {

constexpr ControlSpec controls[] = {
    {1000, ControlKind::ComboBox, "", 63, 3, 57, 69},
    {1, ControlKind::DefaultButton, "OK", 31, 32, 50, 14},
    {2, ControlKind::PushButton, "Cancel", 104, 32, 50, 14},
};

} // namespace

CSelectGroupDlg::CSelectGroupDlg(QWidget* parent) : QDialog(parent)
{
    const DialogTemplate form(this, {"Select Group", 186, 53, controls});
    m_combo = form.control<QComboBox>(1000);
    m_combo->addItems({"1", "2", "3", "4", "5", "None"});
    m_combo->setAccessibleName(QStringLiteral("Group"));
    m_combo->setCurrentIndex(0);
    connect(form.control<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
    connect(form.control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

void CSelectGroupDlg::accept()
{
    m_selection = m_combo->currentIndex();
    QDialog::accept();
}
