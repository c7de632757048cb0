#pragma once

#include <QDialog>

class QComboBox;

// "Select Group": picks group 1 to 5, or None.
class CSelectGroupDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSelectGroupDlg(QWidget* parent = nullptr);

    // The index chosen with OK: "1" .. "5" are 0 .. 4, "None" is 5, -1 when nothing was.
    int m_selection = -1;

    void accept() override;

private:
    QComboBox* m_combo;
};
