#include "view/CMorvaneView.h"

#include "base/ErrorText.h"
#include "base/LocalPath.h"
#include "base/ReadyText.h"
#include "dialogkit/DialogUnits.h"
#include "dialogkit/Prompter.h"
#include "dialogkit/WaitCursor.h"
#include "imaging/PreviewGeometry.h"
#include "imaging/PreviewThumbnail.h"
#include "settings/ProgramSettings.h"
#include "settings/gui/CImagePropertiesDlg.h"
#include "upload/gui/CFtpSettingsDlg.h"
#include "view/CMSFlexGrid.h"
#include "view/PreviewBox.h"
#include "view/PreviewFrame.h"
#include "view/RowReader.h"
#include "view/StatusText.h"

#include <QAction>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QtConcurrent>

#include <algorithm>

namespace {

enum ControlId
{
    IDC_GRID = 1001,
    IDC_GROUP1 = 1002,
    IDC_ADD = 1007,
    IDC_REMOVE = 1008,
    IDC_GROUP = 1009,
    IDC_PROGRESS = 1029,
    IDC_PREVIEW = 1032,
    IDC_CANCEL = 1034,
    IDC_GENERATE = 3,
    IDC_GENERATE_UPLOAD = 4,
};

// The form's first size, and the sizes in it, in dialog units.
constexpr QSize formSize(449, 300);
constexpr int previewBoxSide = 80;
constexpr int groupNameBoxWidth = 92;
constexpr int groupNameBoxHeight = 40;

constexpr const char* previewFile = "thumbPreview.jpg";
constexpr int statusTimeoutMs = 20000;
constexpr const char* settingsOrganization = "Quarnel";
constexpr const char* commonFilePathKey = "CommonFilePath";
constexpr int groupCount = 5;
// Times in a row's tooltip, as the camera's clock or the file's, in local time.
constexpr const char* detailsTimeFormat = "yyyy-MM-dd HH:mm:ss";

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QPushButton* button(const QString& text, int id, int width, const DialogUnits& units)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QString::number(id));
    button->setMinimumSize(units.size(width, 14));
    return button;
}

} // namespace

CMorvaneView::CMorvaneView(Prompter& prompter, StatusText& status, ProgramSettings& settings,
                           QWidget* parent)
    : QWidget(parent), m_prompter(prompter), m_status(status), m_settings(settings),
      m_exchange(prompter), m_publisher(m_stop), m_relay(this, *this, *this)
{
    buildForm();
    m_statusTimer = new QTimer(this);
    m_statusTimer->setObjectName(QStringLiteral("statusTimer"));
    m_statusTimer->setInterval(statusTimeoutMs);
    connect(m_statusTimer, &QTimer::timeout, this, &CMorvaneView::OnTimer);
    connect(m_grid, &CMSFlexGrid::Click, this, &CMorvaneView::OnClickGrid);
    connect(m_grid, &CMSFlexGrid::filesDropped, this, &CMorvaneView::addPictures);
    connect(m_grid, &CMSFlexGrid::deletePressed, this, &CMorvaneView::OnRemove);
    connect(m_grid, &CMSFlexGrid::rowsDropped, this, &CMorvaneView::moveSelectionTo);
    connect(m_grid, &CMSFlexGrid::groupKeyPressed, this, &CMorvaneView::setSelectionGroup);
    connect(m_grid, &CMSFlexGrid::nameHeaderClicked, this, &CMorvaneView::sortByNameHeader);

    m_reader = std::make_unique<RowReader>(m_grid->rowPictureBox(), devicePixelRatioF());
    connect(m_reader.get(), &RowReader::factsRead, this, &CMorvaneView::factsRead);
    connect(m_reader.get(), &RowReader::pictureMade, this, &CMorvaneView::pictureMade);
    // Once a scroll or a resize has settled for this turn of the event loop.
    m_preferTimer = new QTimer(this);
    m_preferTimer->setSingleShot(true);
    m_preferTimer->setInterval(0);
    connect(m_preferTimer, &QTimer::timeout, this, &CMorvaneView::preferVisibleRows);
    connect(m_grid, &CMSFlexGrid::visibleRowsChanged, m_preferTimer, qOverload<>(&QTimer::start));
}

CMorvaneView::~CMorvaneView()
{
    // The window asks before it closes during a run; should the view go all the same, the
    // run stops, and its reports, which wait for this thread, are taken while it ends.
    if (m_run) {
        m_stop = true;
        while (!m_run->wait(QDeadlineTimer(20)))
            QCoreApplication::processEvents();
    }
    // Preview workers use this view until they end.
    for (QThread* worker : findChildren<QThread*>(Qt::FindDirectChildrenOnly))
        worker->wait();
}

// The arrangement of the form's first size, in layouts: the list and the preview take what
// the window grows by, the group names and the buttons keep their size.
void CMorvaneView::buildForm()
{
    const DialogUnits units(font());

    m_grid = new CMSFlexGrid(3);
    m_grid->setObjectName(QString::number(IDC_GRID));
    m_grid->setAccessibleName(tr("Images"));
    m_grid->setMinimumSize(units.size(120, 40));
    m_previewFrame = new PreviewFrame;
    m_previewFrame->setObjectName(QString::number(IDC_PREVIEW));
    m_previewFrame->setAccessibleName(tr("Preview"));
    m_previewBox = new PreviewBox(m_previewFrame, units.x(previewBoxSide));

    QPushButton* add = button(tr("Add"), IDC_ADD, 50, units);
    QPushButton* remove = button(tr("Remove"), IDC_REMOVE, 50, units);
    QPushButton* group = button(tr("Group"), IDC_GROUP, 50, units);
    auto* listButtons = new QHBoxLayout;
    listButtons->addStretch(26);
    listButtons->addWidget(add);
    listButtons->addStretch(19);
    listButtons->addWidget(remove);
    listButtons->addStretch(17);
    listButtons->addWidget(group);
    listButtons->addSpacing(units.x(19));
    auto* buttonsBeside = new QVBoxLayout;
    buttonsBeside->addSpacing(units.y(15));
    buttonsBeside->addLayout(listButtons);
    buttonsBeside->addStretch();

    auto* images = new QGroupBox(tr("Images"));
    auto* imagesLayout = new QGridLayout(images);
    imagesLayout->setContentsMargins(units.x(10), units.y(6), units.x(10), units.y(5));
    imagesLayout->setVerticalSpacing(units.y(6));
    imagesLayout->setHorizontalSpacing(0);
    imagesLayout->addWidget(m_grid, 0, 0, 1, 2);
    imagesLayout->addWidget(m_previewBox, 1, 0);
    imagesLayout->addLayout(buttonsBeside, 1, 1);
    // The list and the preview grow as they stand in the form: 162 to 80.
    imagesLayout->setRowStretch(0, 162);
    imagesLayout->setRowStretch(1, 80);
    imagesLayout->setColumnStretch(1, 1);

    auto* groupNames = new QVBoxLayout;
    groupNames->setSpacing(0);
    for (int g = 0; g < 5; ++g) {
        auto* box = new QGroupBox(tr("Group %1 Text").arg(g + 1));
        box->setFixedWidth(units.x(groupNameBoxWidth));
        box->setMaximumHeight(units.y(groupNameBoxHeight));
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::number(IDC_GROUP1 + g));
        edit->setAccessibleName(box->title());
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(units.x(9), units.y(4), units.x(9), units.y(4));
        boxLayout->addWidget(edit);
        m_exchange.bindText(edit, &m_groupText[g]);
        m_groupEdits[g] = edit;
        m_idleOnly << edit;
        if (g > 0)
            groupNames->addStretch(8);
        groupNames->addWidget(box, 40);
    }
    groupNames->addStretch(26);
    auto* progressLabel = new QLabel(tr("Progress Bar"));
    progressLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    groupNames->addWidget(progressLabel);

    QPushButton* generate = button(tr("Generate"), IDC_GENERATE, 50, units);
    QPushButton* generateUpload = button(tr("Generate / Upload"), IDC_GENERATE_UPLOAD, 67, units);
    m_cancel = button(tr("Cancel"), IDC_CANCEL, 50, units);
    m_cancel->setToolTip(tr("Stop the run (Esc)"));
    m_cancel->setEnabled(false);
    // Escape anywhere in the window, as long as Cancel can be pressed.
    auto* escape = new QAction(this);
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, m_cancel, &QPushButton::click);
    addAction(escape);
    auto* runButtons = new QHBoxLayout;
    runButtons->addSpacing(units.x(99));
    runButtons->addWidget(generate);
    runButtons->addSpacing(units.x(35));
    runButtons->addWidget(generateUpload);
    runButtons->addSpacing(units.x(12));
    runButtons->addWidget(m_cancel);
    runButtons->addStretch();

    m_progress = new QProgressBar;
    m_progress->setObjectName(QString::number(IDC_PROGRESS));
    m_progress->setAccessibleName(progressLabel->text());
    m_progress->setTextVisible(false);
    m_progress->setFixedSize(units.size(80, 14));
    progressLabel->setBuddy(m_progress);

    auto* form = new QGridLayout(this);
    form->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    form->setHorizontalSpacing(units.x(11));
    form->setVerticalSpacing(units.y(6));
    form->addWidget(images, 0, 0);
    form->addLayout(groupNames, 0, 1);
    form->addLayout(runButtons, 1, 0);
    form->addWidget(m_progress, 1, 1, Qt::AlignHCenter);
    form->setRowStretch(0, 1);
    form->setColumnStretch(0, 1);

    m_idleOnly << add << remove << group << generate << generateUpload;
    // Group names, the list's buttons, the run's buttons, then the grid: the group names
    // and buttons are in m_idleOnly in that order.
    QList<QWidget*> tabOrder = m_idleOnly;
    tabOrder << m_cancel << m_grid;
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    resize(sizeHint());

    connect(add, &QPushButton::clicked, this, &CMorvaneView::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CMorvaneView::OnRemove);
    connect(group, &QPushButton::clicked, this, &CMorvaneView::OnGroup);
    connect(generate, &QPushButton::clicked, this, &CMorvaneView::OnGenerate);
    connect(generateUpload, &QPushButton::clicked, this, &CMorvaneView::UploadImages);
    connect(m_cancel, &QPushButton::clicked, this, &CMorvaneView::stopRun);
}

QSize CMorvaneView::sizeHint() const
{
    return DialogUnits(font()).size(formSize.width(), formSize.height());
}

void CMorvaneView::OnInitialUpdate()
{
    // Freshly loaded settings: the dialogs read their files as they are made.
    m_settings = {};
    m_pImageProperties = std::make_unique<CImagePropertiesDlg>(m_settings.image, m_prompter);
    m_pFtpSettings = std::make_unique<CFtpSettingsDlg>(m_settings.ftp, m_prompter);
    ClearImageList();
    m_grid->SetRowCount(1);
    m_grid->SetColumnWidth(0, 300);
    m_grid->SetColumnWidth(1, 5780);
    m_grid->SetColumnWidth(2, 640);
    m_grid->SetCellText(0, 1, tr("Image Files"));
    m_grid->SetCellText(0, 2, tr("Group"));
}

void CMorvaneView::OnAdd()
{
    if (isRunning())
        return;
    {
        // No preview is written while the user chooses; paints meanwhile leave the preview be.
        const BusyLock busy(m_busy);
        const QString startFolder =
            QSettings(settingsOrganization).value(commonFilePathKey).toString();
        addPictures(m_prompter.openJpegFiles(startFolder));
    }
    // Paints skipped the preview while the file dialog ran.
    RedrawPreview();
}

void CMorvaneView::addPictures(const QStringList& paths)
{
    // A run works through the rows as they were when it started.
    if (isRunning())
        return;
    QString firstFolder;
    QList<RowReader::Row> toRead;
    for (const QString& path : paths) {
        if (!m_images.addNew(path))
            continue;
        const int row = m_grid->GetRowCount();
        m_grid->SetRowCount(row + 1);
        m_grid->SetCellText(row, 0, QString::number(row));
        m_grid->SetCellText(row, 1, m_images.last().GetFileName());
        if (firstFolder.isEmpty())
            firstFolder = m_images.last().GetFolder();
        const qint64 key = m_images.addedOrder(row - 1);
        if (!m_rowsMoved)
            m_rowOfKey.insert(key, row);
        showRowDetails(row);
        toRead.append({key, m_images.last().GetFullPath()});
    }
    // Remembers where the first picture really added came from; the next Add starts there.
    if (!firstFolder.isEmpty())
        QSettings(settingsOrganization).setValue(commonFilePathKey, firstFolder);
    if (toRead.isEmpty())
        return;
    // The new rows stand at the end, in no order of names.
    m_grid->showNameOrder(std::nullopt);
    // Their facts and pictures come in later, so listing them never waits for their files.
    m_reader->read(toRead);
    m_preferTimer->start();
}

void CMorvaneView::OnRemove()
{
    if (isRunning())
        return;
    const auto [first, last] = m_grid->selectedRows();
    if (first > 0) {
        forgetRows(first, last);
        // Rows below move up after each removal, so row first is removed again and again.
        for (int count = last - first + 1; count > 0; --count) {
            if (m_grid->GetRowCount() < 3) {
                m_grid->SetRowCount(1);
                ClearImageList();
            } else {
                m_grid->RemoveRow(first);
                m_images.removeAt(first - 1);
            }
        }
    }
    for (int row = 1; row < m_grid->GetRowCount(); ++row)
        m_grid->SetCellText(row, 0, QString::number(row));
}

void CMorvaneView::OnGroup()
{
    if (isRunning())
        return;
    const std::optional<int> selection = m_prompter.chooseGroup(typedGroupNames());
    if (!selection)
        return;
    const int group = *selection + 1;
    if (group <= 0)
        return;
    writeGroupCells(group > groupCount ? QString() : QString::number(group));
}

void CMorvaneView::setSelectionGroup(int group)
{
    if (isRunning() || group < 0 || group > groupCount)
        return;
    writeGroupCells(group == 0 ? QString() : QString::number(group));
}

void CMorvaneView::writeGroupCells(const QString& text)
{
    const auto [first, last] = m_grid->selectedRows();
    if (first <= 0)
        return;
    for (int row = first; row <= last; ++row)
        m_grid->SetCellText(row, 2, text);
}

QStringList CMorvaneView::typedGroupNames() const
{
    QStringList names;
    for (const QLineEdit* edit : m_groupEdits)
        names << edit->text();
    return names;
}

void CMorvaneView::sortList(ListOrder order)
{
    if (isRunning())
        return;
    std::vector<PictureFacts> facts;
    if (order == ListOrder::DateTaken)
        facts = factsOfEveryRow();
    reorderRows(listOrder(order, m_images, facts));
    if (order == ListOrder::FileName)
        m_grid->showNameOrder(Qt::AscendingOrder);
}

void CMorvaneView::sortByNameHeader()
{
    if (isRunning())
        return;
    if (m_grid->nameOrder() != Qt::AscendingOrder) {
        sortList(ListOrder::FileName);
        return;
    }
    std::vector<int> order = listOrder(ListOrder::FileName, m_images, {});
    std::reverse(order.begin(), order.end());
    reorderRows(order);
    m_grid->showNameOrder(Qt::DescendingOrder);
}

void CMorvaneView::moveSelectionUp()
{
    const auto [first, last] = m_grid->selectedRows();
    if (!isRunning() && first > 1)
        moveRows(first, last, first - 1);
}

void CMorvaneView::moveSelectionDown()
{
    const auto [first, last] = m_grid->selectedRows();
    if (!isRunning() && first > 0 && last < m_images.size())
        moveRows(first, last, last + 2);
}

void CMorvaneView::moveSelectionTo(int gap)
{
    const auto [first, last] = m_grid->selectedRows();
    if (!isRunning())
        moveRows(first, last, gap);
}

void CMorvaneView::moveRows(int first, int last, int gap)
{
    const int rows = m_images.size();
    if (first <= 0 || last > rows || gap < 1 || gap > rows + 1 || (gap >= first && gap <= last + 1))
        return;
    // The other rows in their order, with the moved ones put in where the gap is.
    std::vector<int> order;
    order.reserve(size_t(rows));
    for (int index = 0; index < rows; ++index) {
        if (index == gap - 1)
            for (int moved = first - 1; moved < last; ++moved)
                order.push_back(moved);
        if (index < first - 1 || index >= last)
            order.push_back(index);
    }
    if (gap == rows + 1)
        for (int moved = first - 1; moved < last; ++moved)
            order.push_back(moved);
    reorderRows(order);
}

void CMorvaneView::reorderRows(const std::vector<int>& order)
{
    const auto [first, last] = m_grid->selectedRows();
    const int current = m_grid->GetRow();
    if (!m_images.reorder(order))
        return;
    m_grid->permuteRows(order);
    m_rowsMoved = true;
    m_grid->showNameOrder(std::nullopt);
    m_preferTimer->start();
    if (current <= 0)
        return;
    // Where each row went, as a data row.
    std::vector<int> rowOf(order.size());
    for (size_t index = 0; index < order.size(); ++index)
        rowOf[size_t(order[index])] = int(index) + 1;
    int newFirst = rowOf[size_t(first - 1)];
    int newLast = newFirst;
    for (int row = first; row <= last; ++row) {
        newFirst = std::min(newFirst, rowOf[size_t(row - 1)]);
        newLast = std::max(newLast, rowOf[size_t(row - 1)]);
    }
    const int newCurrent = rowOf[size_t(current - 1)];
    // Together, and with the current row at one end, as a row range is selected.
    if (newLast - newFirst == last - first && (newCurrent == newFirst || newCurrent == newLast))
        m_grid->selectRows(newFirst, newLast, newCurrent);
    else
        m_grid->selectRows(newCurrent, newCurrent, newCurrent);
}

std::vector<PictureFacts> CMorvaneView::factsOfEveryRow()
{
    QStringList unread;
    QList<int> unreadRows;
    QList<qint64> unreadKeys;
    for (int index = 0; index < m_images.size(); ++index) {
        const qint64 key = m_images.addedOrder(index);
        if (!m_facts.contains(key)) {
            unread << m_images[index].GetFullPath();
            unreadRows << index + 1;
            unreadKeys << key;
        }
    }
    if (!unread.isEmpty()) {
        // Only headers are read, on every core; the reader would bring them in later, and
        // need not read them again.
        m_reader->forgetFacts(unreadKeys);
        const WaitCursor wait;
        const QList<PictureFacts> read = QtConcurrent::blockingMapped(unread, readPictureFacts);
        for (qsizetype i = 0; i < read.size(); ++i) {
            m_facts.insert(unreadKeys[i], read[i]);
            showRowDetails(unreadRows[i]);
        }
    }
    std::vector<PictureFacts> facts;
    facts.reserve(size_t(m_images.size()));
    for (int index = 0; index < m_images.size(); ++index)
        facts.push_back(m_facts.value(m_images.addedOrder(index)));
    return facts;
}

int CMorvaneView::rowOfKey(qint64 key)
{
    if (m_rowsMoved) {
        m_rowOfKey.clear();
        for (int index = 0; index < m_images.size(); ++index)
            m_rowOfKey.insert(m_images.addedOrder(index), index + 1);
        m_rowsMoved = false;
    }
    return m_rowOfKey.value(key, 0);
}

void CMorvaneView::factsRead(qint64 key, const QString& path, const PictureFacts& facts)
{
    // A row removed since, or renamed: its new name is read again.
    const int row = rowOfKey(key);
    if (row <= 0 || m_images[row - 1].GetFullPath() != path)
        return;
    m_facts.insert(key, facts);
    showRowDetails(row);
}

void CMorvaneView::pictureMade(qint64 key, const QString& path, const QImage& picture)
{
    const int row = rowOfKey(key);
    if (row <= 0 || m_images[row - 1].GetFullPath() != path)
        return;
    m_pictured.insert(key);
    m_grid->setRowPicture(row, picture);
}

// The full path, as two pictures of one name from two cards are told apart by it; then its
// size and when it was taken, once they are read.
void CMorvaneView::showRowDetails(int row)
{
    QString details = m_images[row - 1].GetFullPath();
    const auto facts = m_facts.constFind(m_images.addedOrder(row - 1));
    if (facts != m_facts.cend()) {
        if (!facts->readable) {
            details += u'\n' + tr("Cannot be read as a picture");
        } else {
            details += u'\n' +
                       tr("%1 \u00d7 %2 pixels").arg(facts->size.width()).arg(facts->size.height());
            const QString format = QString::fromLatin1(detailsTimeFormat);
            if (facts->taken)
                details += u'\n' + tr("Taken %1").arg(facts->taken->toString(format));
            else if (facts->modified.isValid())
                details += u'\n' + tr("No date taken; file changed %1")
                                       .arg(facts->modified.toLocalTime().toString(format));
            else
                details += u'\n' + tr("No date taken");
        }
    }
    m_grid->setRowDetails(row, details);
}

void CMorvaneView::preferVisibleRows()
{
    const auto [first, last] = m_grid->visibleRows();
    QList<qint64> keys;
    for (int row = first; row <= last && row <= m_images.size(); ++row) {
        const qint64 key = m_images.addedOrder(row - 1);
        if (!m_pictured.contains(key))
            keys << key;
    }
    m_reader->prefer(keys);
}

void CMorvaneView::forgetRows(int first, int last)
{
    QList<qint64> keys;
    for (int row = first; row <= last && row <= m_images.size(); ++row) {
        const qint64 key = m_images.addedOrder(row - 1);
        keys << key;
        m_facts.remove(key);
        m_pictured.remove(key);
    }
    m_reader->forget(keys);
    m_rowsMoved = true;
}

void CMorvaneView::OnGenerate()
{
    startRun(false);
}

void CMorvaneView::UploadImages()
{
    startRun(true);
}

void CMorvaneView::startRun(bool upload)
{
    if (isRunning())
        return;
    UpdateData(true);
    PublishRequest request;
    for (int row = 1; row < m_grid->GetRowCount(); ++row)
        request.rows.push_back({m_images[row - 1], m_grid->GetCellText(row, 2)});
    request.groupText = m_groupText;
    request.imageSettings = m_settings.image;
    request.ftpSettings = m_settings.ftp;
    request.upload = upload;
    // "Ready" from an earlier upload must not cut into this run.
    m_statusTimer->stop();
    m_grid->clearRowNotes();
    m_stop = false;
    m_run.reset(QThread::create([this, request = std::move(request)] {
        m_result = m_publisher.run(request, m_relay, m_relay);
    }));
    connect(m_run.get(), &QThread::finished, this, &CMorvaneView::runEnded);
    setRunning(true);
    m_run->start();
}

void CMorvaneView::stopRun()
{
    if (isRunning())
        m_stop = true;
}

void CMorvaneView::runEnded()
{
    m_run->wait();
    m_run.reset();
    setRunning(false);
    // The run's last status stands; only a clean upload's "Upload Complete" gives way to
    // "Ready", 20 seconds on.
    if (m_result.upload && m_result.complete())
        m_statusTimer->start();
}

void CMorvaneView::setRunning(bool running)
{
    for (QWidget* control : std::as_const(m_idleOnly))
        control->setEnabled(!running);
    m_grid->setListLocked(running);
    m_cancel->setEnabled(running);
    // Busy, but not deaf: Cancel, the preview and the menus still answer.
    if (running)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
    emit runningChanged(running);
}

void CMorvaneView::OnTimer()
{
    SetStatusText(readyText());
    m_statusTimer->stop();
}

void CMorvaneView::OnClickGrid()
{
    const int row = m_grid->GetRow();
    if (row == 0)
        return;
    m_previewPath = m_images[row - 1].GetFullPath();
    QThread* worker = QThread::create(&CMorvaneView::PreviewThreadProc, this, m_previewPath,
                                      ++m_lastClick, previewLongerSide());
    worker->setParent(this);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void CMorvaneView::PreviewThreadProc(CMorvaneView* view, const QString& path, int click, int side)
{
    const auto isLastClick = [view, click] { return view->m_lastClick == click; };
    const PreviewResult result =
        WritePreviewFile(path, QString::fromLatin1(previewFile), view->m_busy, isLastClick,
                         view->m_previewColours, side);
    if (result.outcome == PreviewOutcome::Written)
        QMetaObject::invokeMethod(view, &CMorvaneView::RedrawPreview, Qt::QueuedConnection);
    else if (result.outcome == PreviewOutcome::Unreadable)
        QMetaObject::invokeMethod(
            view,
            [view, click, reason = decodeFailureReason(result.failure)] {
                view->previewFailed(click, reason);
            },
            Qt::QueuedConnection);
}

void CMorvaneView::previewFailed(int click, const QString& reason)
{
    // An earlier click's picture failing late says nothing about the last one.
    if (click != m_lastClick)
        return;
    m_previewPath.clear();
    m_previewFrame->resize(m_previewBox->size());
    m_previewFrame->setMessage(tr("Cannot be read:\n%1").arg(reason));
}

int CMorvaneView::previewLongerSide() const
{
    const int box = std::min(m_previewBox->width(), m_previewBox->height());
    if (m_firstPreviewBox <= 0)
        return previewSide;
    return std::max(previewSide, previewSide * box / m_firstPreviewBox);
}

void CMorvaneView::RedrawPreview()
{
    repaint(m_previewBox->geometry());
}

void CMorvaneView::paintEvent(QPaintEvent*)
{
    OnPaint();
}

void CMorvaneView::OnPaint()
{
    if (m_firstPreviewBox <= 0)
        m_firstPreviewBox = std::min(m_previewBox->width(), m_previewBox->height());
    // With no preview, or a note in its place, the frame fills its box.
    if (m_previewPath.isEmpty()) {
        m_previewFrame->resize(m_previewBox->size());
        return;
    }
    QImage preview;
    {
        // While the file is in use the frame keeps its picture; whoever holds the file asks
        // for a repaint when done.
        const BusyLock busy(m_busy, std::try_to_lock);
        if (!busy.ownsFlag())
            return;
        preview.load(QString::fromLatin1(previewFile));
    }
    // A preview not written yet, or unreadable, draws nothing and keeps the frame's size.
    if (preview.isNull())
        return;
    m_previewFrame->resize(FitPreviewFrame(preview.size(), m_previewBox->size()));
    m_previewFrame->setPicture(preview);
}

void CMorvaneView::status(const QString& text)
{
    SetStatusText(text);
}

void CMorvaneView::message(const QString& text)
{
    m_prompter.message(text);
}

void CMorvaneView::progressRange(int maximum)
{
    m_progress->setRange(0, maximum);
    m_progress->setValue(0);
}

void CMorvaneView::progressStep()
{
    m_progress->setValue(m_progress->value() + 1);
}

void CMorvaneView::progressReset()
{
    m_progress->setValue(0);
}

void CMorvaneView::transferProgress(const TransferProgress& progress)
{
    SetStatusText(progress.text());
}

void CMorvaneView::renamed(int row, const QString& newPath)
{
    m_images[row].SetPath(newPath);
    m_grid->SetCellText(row + 1, 1, m_images[row].GetFileName());
    showRowDetails(row + 1);
    // What was on its way under the old name is dropped, and read again under the new one.
    const qint64 key = m_images.addedOrder(row);
    if (!m_facts.contains(key) || !m_pictured.contains(key))
        m_reader->read({{key, newPath}});
    m_grid->showNameOrder(std::nullopt);
}

void CMorvaneView::notRenamed(int row, const QString& newPath, std::error_code why)
{
    m_grid->addRowNote(row + 1,
                       tr("Could not be renamed to %1: %2")
                           .arg(newPath.mid(lastPathSeparator(newPath) + 1), errorText(why)));
}

void CMorvaneView::unreadable(int row, const QString&, DecodeFailure why)
{
    // Still no message box: the note in the row says it, and the status bar counts it.
    m_grid->addRowNote(row + 1, decodeFailureReason(why));
}

void CMorvaneView::notWritten(int row, const QString& path, const OutputFailure& why)
{
    m_grid->addRowNote(row + 1,
                       QStringLiteral("%1 (%2)").arg(capitalized(why.reason()),
                                                     path.mid(lastPathSeparator(path) + 1)));
}

bool CMorvaneView::trustServer(const ServerKey& key)
{
    if (!m_pFtpSettings->trustServer(key))
        return false;
    m_pFtpSettings->Save();
    return true;
}

void CMorvaneView::ClearImageList()
{
    m_images.clear();
    m_reader->clear();
    m_facts.clear();
    m_pictured.clear();
    m_rowOfKey.clear();
    m_rowsMoved = false;
    m_grid->showNameOrder(std::nullopt);
}

void CMorvaneView::SetStatusText(const QString& text)
{
    m_status.SetMessageText(text);
}
