#include "view/CSelectGroupDlg.h"

#include "dialogkit/DialogTemplate.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>

namespace {

constexpr ControlSpec controls[] = {
    {1000, ControlKind::ComboBox, "", 63, 3, 57, 69},
    {1, ControlKind::DefaultButton, QT_TRANSLATE_NOOP("CSelectGroupDlg", "OK"), 31, 32, 50, 14},
    {2, ControlKind::PushButton, QT_TRANSLATE_NOOP("CSelectGroupDlg", "Cancel"), 104, 32, 50, 14},
};

constexpr int groupCount = 5;

} // namespace

CSelectGroupDlg::CSelectGroupDlg(const QStringList& groupNames, QWidget* parent) : QDialog(parent)
{
    const DialogTemplate form(this, {"CSelectGroupDlg",
                                     QT_TRANSLATE_NOOP("CSelectGroupDlg", "Select Group"), 186, 53,
                                     controls});
    m_combo = form.control<QComboBox>(1000);
    for (int group = 1; group <= groupCount; ++group) {
        const QString name = groupNames.value(group - 1);
        m_combo->addItem(name.isEmpty() ? QString::number(group)
                                        : QStringLiteral("%1 %2").arg(group).arg(name));
    }
    m_combo->addItem(tr("None"));
    m_combo->setAccessibleName(tr("Group"));
    // Long names are read in the open list, which may be wider than the box.
    m_combo->view()->setMinimumWidth(m_combo->view()->sizeHintForColumn(0) +
                                     m_combo->view()->frameWidth() * 2);
    m_combo->setCurrentIndex(0);
    connect(form.control<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
    connect(form.control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

void CSelectGroupDlg::accept()
{
    m_selection = m_combo->currentIndex();
    QDialog::accept();
}
