#include "view/CMorvaneView.h"

#include "base/EventWait.h"
#include "dialogkit/DialogTemplate.h"
#include "dialogkit/Prompter.h"
#include "dialogkit/WaitCursor.h"
#include "imaging/ImageBatch.h"
#include "imaging/PreviewGeometry.h"
#include "imaging/PreviewThumbnail.h"
#include "settings/gui/CImagePropertiesDlg.h"
#include "upload/UploadReportRelay.h"
#include "upload/gui/CFtpSettingsDlg.h"
#include "view/CMSFlexGrid.h"
#include "view/PreviewFrame.h"
#include "view/StatusText.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <QtConcurrent>

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
    IDC_GENERATE = 3,
    IDC_GENERATE_UPLOAD = 4,
};

// In template order, which is the tab order: group names, buttons, then the grid.
constexpr ControlSpec formControls[] = {
    {IDC_GROUP1, ControlKind::Edit, "", 360, 24, 73, 14},
    {IDC_GROUP1 + 1, ControlKind::Edit, "", 360, 72, 73, 14},
    {IDC_GROUP1 + 2, ControlKind::Edit, "", 360, 122, 73, 14},
    {IDC_GROUP1 + 3, ControlKind::Edit, "", 360, 168, 73, 14},
    {IDC_GROUP1 + 4, ControlKind::Edit, "", 360, 216, 73, 14},
    {IDC_ADD, ControlKind::PushButton, "Add", 124, 203, 50, 14},
    {IDC_REMOVE, ControlKind::PushButton, "Remove", 193, 203, 50, 14},
    {IDC_GROUP, ControlKind::PushButton, "Group", 260, 203, 50, 14},
    {IDC_GENERATE, ControlKind::PushButton, "Generate", 106, 279, 50, 14},
    {IDC_GENERATE_UPLOAD, ControlKind::PushButton, "Generate / Upload", 191, 279, 67, 14},
    {IDC_GRID, ControlKind::Custom, "", 17, 20, 312, 162},
    {0, ControlKind::GroupBox, "Images", 7, 7, 332, 266},
    {0, ControlKind::GroupBox, "Group 1 Text", 350, 7, 92, 40},
    {0, ControlKind::GroupBox, "Group 2 Text", 350, 55, 92, 40},
    {0, ControlKind::GroupBox, "Group 3 Text", 350, 105, 92, 40},
    {0, ControlKind::GroupBox, "Group 4 Text", 350, 152, 92, 40},
    {0, ControlKind::GroupBox, "Group 5 Text", 350, 200, 92, 40},
    {IDC_PROGRESS, ControlKind::ProgressBar, "", 357, 279, 80, 14},
    {0, ControlKind::Label, "Progress Bar", 375, 266, 41, 8},
    {IDC_PREVIEW, ControlKind::Custom, "", 18, 188, 80, 80},
};

constexpr const char* previewFile = "thumbPreview.jpg";
constexpr int statusTimeoutMs = 20000;
constexpr const char* settingsOrganization = "Quarnel";
constexpr const char* commonFilePathKey = "CommonFilePath";

} // namespace

CMorvaneView::CMorvaneView(Prompter& prompter, StatusText& status, QWidget* parent)
    : QWidget(parent), m_prompter(prompter), m_status(status), m_exchange(prompter)
{
    m_grid = new CMSFlexGrid(3);
    m_grid->setAccessibleName(QStringLiteral("Images"));
    m_previewFrame = new PreviewFrame;
    m_previewFrame->setAccessibleName(QStringLiteral("Preview"));
    const DialogTemplate form(this, {nullptr, 449, 300, formControls},
                              {{IDC_GRID, m_grid}, {IDC_PREVIEW, m_previewFrame}});
    m_progress = form.control<QProgressBar>(IDC_PROGRESS);
    m_progress->setAccessibleName(QStringLiteral("Progress Bar"));
    for (int group = 0; group < 5; ++group) {
        auto* edit = form.control<QLineEdit>(IDC_GROUP1 + group);
        edit->setAccessibleName(QStringLiteral("Group %1 Text").arg(group + 1));
        m_exchange.bindText(edit, &m_groupText[group]);
    }
    connect(form.control<QPushButton>(IDC_ADD), &QPushButton::clicked, this, &CMorvaneView::OnAdd);
    connect(form.control<QPushButton>(IDC_REMOVE), &QPushButton::clicked, this,
            &CMorvaneView::OnRemove);
    connect(form.control<QPushButton>(IDC_GROUP), &QPushButton::clicked, this,
            &CMorvaneView::OnGroup);
    connect(form.control<QPushButton>(IDC_GENERATE), &QPushButton::clicked, this,
            &CMorvaneView::OnGenerate);
    connect(form.control<QPushButton>(IDC_GENERATE_UPLOAD), &QPushButton::clicked, this,
            &CMorvaneView::UploadImages);
    m_statusTimer = new QTimer(this);
    m_statusTimer->setObjectName(QStringLiteral("statusTimer"));
    m_statusTimer->setInterval(statusTimeoutMs);
    connect(m_statusTimer, &QTimer::timeout, this, &CMorvaneView::OnTimer);
    connect(m_grid, &CMSFlexGrid::Click, this, &CMorvaneView::OnClickGrid);
    connect(m_grid, &CMSFlexGrid::filesDropped, this, &CMorvaneView::addPictures);
    connect(m_grid, &CMSFlexGrid::deletePressed, this, &CMorvaneView::OnRemove);
}

CMorvaneView::~CMorvaneView()
{
    // Preview workers use this view until they end.
    for (QThread* worker : findChildren<QThread*>(Qt::FindDirectChildrenOnly))
        worker->wait();
}

void CMorvaneView::OnInitialUpdate()
{
    m_pImageProperties = std::make_unique<CImagePropertiesDlg>(m_prompter);
    m_pFtpSettings = std::make_unique<CFtpSettingsDlg>(m_prompter);
    ClearImageList();
    m_grid->SetRowCount(1);
    m_grid->SetColumnWidth(0, 300);
    m_grid->SetColumnWidth(1, 5780);
    m_grid->SetColumnWidth(2, 640);
    m_grid->SetCellText(0, 1, QStringLiteral("Image Files"));
    m_grid->SetCellText(0, 2, QStringLiteral("Group"));
}

void CMorvaneView::OnAdd()
{
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
    QString firstFolder;
    for (const QString& path : paths) {
        if (!m_images.addNew(path))
            continue;
        const int row = m_grid->GetRowCount();
        m_grid->SetRowCount(row + 1);
        m_grid->SetCellText(row, 0, QString::number(row));
        m_grid->SetCellText(row, 1, m_images.last().GetFileName());
        if (firstFolder.isEmpty())
            firstFolder = m_images.last().GetFolder();
    }
    // Remembers where the first picture really added came from; the next Add starts there.
    if (!firstFolder.isEmpty())
        QSettings(settingsOrganization).setValue(commonFilePathKey, firstFolder);
}

void CMorvaneView::OnRemove()
{
    const auto [first, last] = selectedRows();
    if (first > 0) {
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
    const std::optional<int> selection = m_prompter.chooseGroup();
    if (!selection)
        return;
    const int group = *selection + 1;
    if (group <= 0)
        return;
    const auto [first, last] = selectedRows();
    if (first <= 0)
        return;
    const QString text = group > 5 ? QString() : QString::number(group);
    for (int row = first; row <= last; ++row)
        m_grid->SetCellText(row, 2, text);
}

void CMorvaneView::OnClickGrid()
{
    const int row = m_grid->GetRow();
    if (row == 0)
        return;
    m_previewPath = m_images[row - 1].GetFullPath();
    QThread* worker =
        QThread::create(&CMorvaneView::PreviewThreadProc, this, m_previewPath, ++m_lastClick);
    worker->setParent(this);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void CMorvaneView::PreviewThreadProc(CMorvaneView* view, const QString& path, int click)
{
    const auto isLastClick = [view, click] { return view->m_lastClick == click; };
    if (WritePreviewFile(path, QString::fromLatin1(previewFile), view->m_busy, isLastClick,
                         view->m_previewColours))
        QMetaObject::invokeMethod(view, &CMorvaneView::RedrawPreview, Qt::QueuedConnection);
}

void CMorvaneView::RedrawPreview()
{
    if (m_frameSize.isValid())
        repaint(QRect(m_previewFrame->pos(), m_frameSize));
}

void CMorvaneView::paintEvent(QPaintEvent*)
{
    OnPaint();
}

void CMorvaneView::OnPaint()
{
    if (!m_frameSize.isValid())
        m_frameSize = m_previewFrame->size();
    if (m_previewPath.isEmpty())
        return;
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
    if (!preview.isNull())
        m_previewFrame->resize(FitPreviewFrame(preview.size(), m_frameSize));
    m_previewFrame->setPicture(preview);
}

void CMorvaneView::OnGenerate()
{
    UpdateData(true);
    QStringList thumbnails;
    QStringList largeImages;
    GenerateImages(thumbnails, largeImages);
}

void CMorvaneView::GenerateImages(QStringList& thumbnails, QStringList& largeImages)
{
    const WaitCursor waitCursor;
    const QScopedValueRollback generating(m_generating, true);
    // The run keeps timers firing; "Ready" from an earlier upload must not cut into it.
    m_statusTimer->stop();
    std::vector<BatchRow> rows;
    for (int row = 1; row < m_grid->GetRowCount(); ++row)
        rows.push_back({m_images[row - 1], m_grid->GetCellText(row, 2)});
    const GeneratedImages generated =
        ::GenerateImages(rows, m_groupText, m_pImageProperties->settings(), *this);
    thumbnails += generated.thumbnails;
    largeImages += generated.largeImages;
}

void CMorvaneView::UploadImages()
{
    UpdateData(true);
    QStringList thumbnails;
    QStringList largeImages;
    GenerateImages(thumbnails, largeImages);

    const WaitCursor waitCursor;
    UpdateData(true);
    // Generation stopped the status timer, so "Ready" does not cut into the upload either.
    // The worker reads its own copy: a key trusted on the way changes the settings here.
    const FtpSettings settings = m_pFtpSettings->settings();
    UploadReportRelay reports(this, *this, *this);
    waitProcessingEvents(QtConcurrent::run(
        [&] { m_uploader.UploadImages(settings, thumbnails, largeImages, reports, reports); }));
    // Starting it again restarts the 20 seconds of a run still counting.
    m_statusTimer->start();
}

void CMorvaneView::OnTimer()
{
    SetStatusText(QStringLiteral("Ready"));
    m_statusTimer->stop();
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
    // Counting the header row, a generation run stops one step short of full just before
    // the bar goes back to 0.
    m_progress->setRange(0, m_generating ? maximum + 1 : maximum);
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

void CMorvaneView::renamed(int row, const QString& newPath)
{
    m_images[row].SetPath(newPath);
    m_grid->SetCellText(row + 1, 1, m_images[row].GetFileName());
}

void CMorvaneView::unreadable(int, const QString&)
{
    // The window passes over pictures it cannot read without a word.
}

void CMorvaneView::notWritten(int, const QString&)
{
    // Nor does it tell of outputs it could not write; an upload names those it lists.
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
}

void CMorvaneView::SetStatusText(const QString& text)
{
    m_status.SetMessageText(text);
}

std::pair<int, int> CMorvaneView::selectedRows() const
{
    const int current = m_grid->GetRow();
    const int other = m_grid->GetSelEndRow();
    return {std::min(current, other), std::max(current, other)};
}
