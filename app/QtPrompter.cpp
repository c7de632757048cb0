#include "app/QtPrompter.h"

#include "settings/gui/CFolderDialog.h"
#include "view/CSelectGroupDlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QWidget* owner()
{
    return QApplication::activeWindow();
}

} // namespace

Answer QtPrompter::message(const QString& text, MessageStyle style)
{
    const QMessageBox::Icon icon = style == MessageStyle::YesNoQuestion ? QMessageBox::Question
                                   : style == MessageStyle::Warning     ? QMessageBox::Warning
                                                                        : QMessageBox::NoIcon;
    const QMessageBox::StandardButtons buttons =
        style == MessageStyle::YesNoQuestion ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(icon, QStringLiteral("Morvane"), text, buttons, owner());
    return box.exec() == QMessageBox::Yes         ? Answer::Yes
           : style == MessageStyle::YesNoQuestion ? Answer::No
                                                  : Answer::Ok;
}

QStringList QtPrompter::openJpegFiles(const QString& startFolder)
{
    // The first filter is the one the dialog starts with. Phones write HEIC; what a file
    // holds is told from its content later, so the filters only help the user find it.
    const QStringList filters = {
        QCoreApplication::translate("QtPrompter", "JPEG Files (*.jpg, *.jpeg) (*.jpeg *.jpg)"),
        QCoreApplication::translate("QtPrompter", "HEIF Files (*.heic, *.heif) (*.heic *.heif)"),
        QCoreApplication::translate("QtPrompter", "All Pictures (*.jpeg *.jpg *.heic *.heif)")};
    return QFileDialog::getOpenFileNames(owner(), QCoreApplication::translate("QtPrompter", "Open"),
                                         startFolder, filters.join(QStringLiteral(";;")));
}

QString QtPrompter::openDocumentFile()
{
    return QFileDialog::getOpenFileName(owner(), QCoreApplication::translate("QtPrompter", "Open"));
}

std::optional<int> QtPrompter::chooseGroup(const QStringList& groupNames)
{
    CSelectGroupDlg dialog(groupNames, owner());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.m_selection;
}

std::optional<QString> QtPrompter::chooseFolder(const QString& caption, const QString& instruction,
                                                const QString& initialFolder)
{
    CFolderDialog dialog(caption, instruction, initialFolder, *this, owner());
    if (dialog.DoModal() != 1)
        return std::nullopt;
    return dialog.GetPath();
}
