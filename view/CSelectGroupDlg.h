#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;

// "Select Group": picks group 1 to 5, or None.
class CSelectGroupDlg : public QDialog
{
    Q_OBJECT

public:
    // groupNames holds the names of groups 1 to 5 as typed; each item shows its group's
    // name beside the number ("1 beach"), or the number alone while the name is empty.
    explicit CSelectGroupDlg(const QStringList& groupNames = {}, QWidget* parent = nullptr);

    // The index chosen with OK: "1" .. "5" are 0 .. 4, "None" is 5, -1 when nothing was.
    int m_selection = -1;

    void accept() override;

private:
    QComboBox* m_combo;
};
