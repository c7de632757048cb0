#include "settings/gui/CFolderDialog.h"

#include "settings/gui/ConfirmFolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The longest path the program keeps; longer text is cut before it is checked.
constexpr qsizetype maxPath = 259;

constexpr int editId = 14148;

} // namespace

CFolderDialog::CFolderDialog(const QString& caption, const QString& instruction,
                             const std::optional<QString>& initialFolder, Prompter& prompter,
                             QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_edit(new QLineEdit(this)),
      m_model(new QFileSystemModel(this)), m_tree(new QTreeView(this))
{
    if (!caption.isEmpty())
        setWindowTitle(caption);

    auto* label = new QLabel(instruction, this);
    label->setBuddy(m_edit);
    m_edit->setObjectName(QString::number(editId));
    m_edit->setAccessibleName(instruction);

    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setSortingEnabled(true);
    m_tree->sortByColumn(0, Qt::AscendingOrder);
    m_tree->setAccessibleName(tr("Folders"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    m_ok->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(m_tree);
    layout->addWidget(buttons);
    resize(420, 480);

    connect(m_edit, &QLineEdit::textChanged, this, &CFolderDialog::OnEditChange);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { m_edit->setText(m_model->filePath(current)); });
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &CFolderDialog::followShownFolder);
    connect(m_model, &QFileSystemModel::layoutChanged, this, &CFolderDialog::followShownFolder);
    connect(m_model, &QFileSystemModel::rowsInserted, this, &CFolderDialog::followShownFolder);
    connect(m_tree, &QTreeView::pressed, this, [this] { m_followSelection = false; });
    connect(m_tree->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { m_followSelection = false; });
    connect(m_ok, &QPushButton::clicked, this, &CFolderDialog::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    selectFolder(initialFolder.value_or(QDir::currentPath()));
}

int CFolderDialog::DoModal()
{
    return exec() == QDialog::Accepted ? 1 : -1;
}

void CFolderDialog::OnOK()
{
    m_szPath = m_edit->text().left(maxPath);
    if (ConfirmFolder(m_szPath, m_prompter) != 0) {
        m_edit->setFocus();
        return;
    }
    accept();
}

void CFolderDialog::OnEditChange(const QString& text)
{
    m_szPath = text.left(maxPath);
    m_ok->setEnabled(!text.isEmpty());
}

// A folder that does not exist selects nothing, and the tree opens where the program was
// started instead, so the user need not dig down from the root.
void CFolderDialog::selectFolder(const QString& path)
{
    const bool exists = !path.isEmpty() && QFileInfo(path).isDir();
    if (exists) {
        m_shownFolder = m_model->index(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
        m_tree->setCurrentIndex(m_shownFolder);
    } else {
        m_shownFolder = m_model->index(QDir::currentPath());
    }
    followShownFolder();
}

// The tree fills and sorts itself in the background, which moves the shown folder; keep it
// in sight until the user takes over the tree.
void CFolderDialog::followShownFolder()
{
    if (m_followSelection && m_shownFolder.isValid())
        m_tree->scrollTo(m_shownFolder, QAbstractItemView::PositionAtCenter);
}
