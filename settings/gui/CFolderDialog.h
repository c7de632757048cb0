#pragma once

#include <QDialog>
#include <QPersistentModelIndex>

#include <optional>

class Prompter;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

// The folder chooser: an instruction, an edit box holding the path, the folder tree, OK and
// Cancel. OK hands back only a well-formed path that exists, creating a missing folder once
// the user agrees; until then the chooser stays open.
class CFolderDialog : public QDialog
{
    Q_OBJECT

public:
    // Without an initial folder the working directory is selected.
    CFolderDialog(const QString& caption, const QString& instruction,
                  const std::optional<QString>& initialFolder, Prompter& prompter,
                  QWidget* parent = nullptr);

    // 1 when a path was confirmed with OK, -1 when the chooser was cancelled.
    int DoModal();
    // The confirmed path, meaningful after DoModal returned 1.
    QString GetPath() const { return m_szPath; }

private slots:
    void OnOK();
    void OnEditChange(const QString& text);

private:
    void selectFolder(const QString& path);
    void followShownFolder();

    Prompter& m_prompter;
    QString m_szPath;
    QLineEdit* m_edit;
    QFileSystemModel* m_model;
    QTreeView* m_tree;
    QPushButton* m_ok;
    bool m_followSelection = true;
    // The folder kept in sight: the selected one, or the working directory when the
    // initial folder names none.
    QPersistentModelIndex m_shownFolder;
};
