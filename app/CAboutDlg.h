#pragma once

#include <QDialog>

// "About Quarnel": the icon, the product, its version and the libraries it stands on.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
