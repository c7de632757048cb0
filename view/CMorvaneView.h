#pragma once

#include "base/BusyFlag.h"
#include "base/ImageList.h"
#include "dialogkit/DataExchange.h"
#include "imaging/BatchObserver.h"
#include "imaging/ColourTransforms.h"
#include "imaging/ListOrder.h"
#include "imaging/PictureFacts.h"
#include "publish/PublishJob.h"
#include "publish/ReportRelay.h"
#include "upload/ServerTrust.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QSize>
#include <QString>
#include <QWidget>

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CFtpSettingsDlg;
class CImagePropertiesDlg;
class CMSFlexGrid;
class PreviewBox;
class PreviewFrame;
class Prompter;
class RowReader;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;
class StatusText;
struct ProgramSettings;

// The form inside the main window: the picture grid, the group names, the list commands,
// generation, upload and the preview. Runs work on a thread of their own while the window
// goes on; what would change the list or the settings, or start another run, is disabled
// meanwhile, and Cancel (or Escape) stops the run.
class CMorvaneView : public QWidget, private BatchObserver, private ServerTrust
{
    Q_OBJECT

public:
    // The settings must outlive the view.
    CMorvaneView(Prompter& prompter, StatusText& status, ProgramSettings& settings,
                 QWidget* parent = nullptr);
    ~CMorvaneView() override;

    // Empties the list and the grid and reloads both settings from their files; group names
    // and the preview stay.
    void OnInitialUpdate();

    bool UpdateData(bool saveAndValidate) { return m_exchange.UpdateData(saveAndValidate); }

    CImagePropertiesDlg& imageProperties() const { return *m_pImageProperties; }
    CFtpSettingsDlg& ftpSettings() const { return *m_pFtpSettings; }
    CMSFlexGrid& grid() const { return *m_grid; }
    const ImageList& images() const { return m_images; }

    // The form's first size.
    QSize sizeHint() const override;

    // A run of Generate or Generate / Upload is under way.
    bool isRunning() const { return m_run != nullptr; }
    // Reads the rows' facts and pictures.
    const RowReader& rowReader() const { return *m_reader; }
    // What the last run did; meaningful once it has ended.

public slots:
    void OnAdd();
    // Lists the pictures as Add lists the files chosen in its dialog: a path listed already
    // is left out, and the folder of the first one really added is remembered for the next
    // Add. Files handed over at start and files dropped onto the list come this way too.
    void addPictures(const QStringList& paths);
    void OnRemove();
    void OnGroup();
    // Sorts the list, and the grid with it: by file name, by the date taken or back to the
    // order added. The selected picture stays current wherever it lands.
    void sortList(ListOrder order);
    // The click on "Image Files": by file name, or, when the list is in that order already,
    // in the reverse order.
    void sortByNameHeader();
    // Ctrl+Up and Ctrl+Down: the selected rows change places with the row above or below.
    void moveSelectionUp();
    void moveSelectionDown();
    // The selected rows, dragged to stand before data row gap.
    void moveSelectionTo(int gap);
    // Group 1 to 5 for the selected rows, or none for 0, as Group sets it.
    void setSelectionGroup(int group);
    // Writes the outputs of the grid's grouped rows.
    void OnGenerate();
    // Generates, then sends every file made to the FTP server.
    void UploadImages();
    // Cancel and Escape: the run finishes the file it is writing, or gives up the one it is
    // sending, and ends, saying what it did.
    void stopRun();
    // Puts "Ready" back in place of "Upload Complete".
    void OnTimer();
    // Starts a worker that writes the clicked picture's preview; the header row does nothing.
    void OnClickGrid();
    // Repaints the preview box at once, so a larger earlier preview is erased.
    void RedrawPreview();

signals:
    void runningChanged(bool running);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // How a run shows itself: status bar, message boxes, progress bar, the list and grid
    // following renamed pictures, and a note on each row that did not come out whole.
    void status(const QString& text) override;
    void message(const QString& text) override;
    void progressRange(int maximum) override;
    void progressStep() override;
    void progressReset() override;
    void transferProgress(const TransferProgress& progress) override;
    void renamed(int row, const QString& newPath) override;
    void notRenamed(int row, const QString& newPath, std::error_code why) override;
    void unreadable(int row, const QString& path, DecodeFailure why) override;
    void notWritten(int row, const QString& path, const OutputFailure& why) override;
    // Asks through the FTP settings and writes a key trusted into their file at once.
    bool trustServer(const ServerKey& key) override;

    void buildForm();
    // The group names as typed, which the view takes only when a run starts.
    QStringList typedGroupNames() const;
    void writeGroupCells(const QString& text);
    // Puts the rows in the order given, as ImageList::reorder takes it. When the selected
    // rows land together they stay selected; else the current one alone is.
    void reorderRows(const std::vector<int>& order);
    // Moves the data rows first to last to stand before data row gap.
    void moveRows(int first, int last, int gap);
    // The facts of every row, in grid order; those not read yet are read now.
    std::vector<PictureFacts> factsOfEveryRow();
    // Where the reader's results go: to the row of that key, while it holds that path.
    int rowOfKey(qint64 key);
    void factsRead(qint64 key, const QString& path, const PictureFacts& facts);
    void pictureMade(qint64 key, const QString& path, const QImage& picture);
    void showRowDetails(int row);
    // Asks for the pictures of the rows in sight before the others.
    void preferVisibleRows();
    // Forgets what was read of the rows first to last, before they leave the list.
    void forgetRows(int first, int last);
    void startRun(bool upload);
    void runEnded();
    void setRunning(bool running);
    void ClearImageList();
    void OnPaint();
    static void PreviewThreadProc(CMorvaneView* view, const QString& path, int click, int side);
    void previewFailed(int click, const QString& reason);
    // The longer side of a preview: 117 pixels at the form's first size, more as it grows.
    int previewLongerSide() const;
    void SetStatusText(const QString& text);

    Prompter& m_prompter;
    StatusText& m_status;
    ProgramSettings& m_settings;
    DataExchange m_exchange;
    QProgressBar* m_progress = nullptr;
    CMSFlexGrid* m_grid = nullptr;
    PreviewFrame* m_previewFrame = nullptr;
    PreviewBox* m_previewBox = nullptr;
    // The box's side at the first paint, when the form has its first size.
    int m_firstPreviewBox = 0;
    QPushButton* m_cancel = nullptr;
    QList<QWidget*> m_idleOnly; // what a run disables
    std::array<QString, 5> m_groupText;
    std::array<QLineEdit*, 5> m_groupEdits{};
    std::unique_ptr<CImagePropertiesDlg> m_pImageProperties;
    std::unique_ptr<CFtpSettingsDlg> m_pFtpSettings;
    ImageList m_images;
    // What was read of the pictures, by their key in the list (ImageList::addedOrder), which
    // stays with a picture wherever its row goes.
    std::unique_ptr<RowReader> m_reader;
    QHash<qint64, PictureFacts> m_facts;
    QSet<qint64> m_pictured;       // row pictures made, or found impossible to make
    QHash<qint64, int> m_rowOfKey; // data rows; rebuilt after rows move or leave
    bool m_rowsMoved = false;
    QTimer* m_preferTimer;
    QString m_previewPath;
    BusyFlag m_busy;
    // Counts the clicks, so that a preview worker of an earlier click, finishing late, does
    // not replace the preview of the last one.
    std::atomic<int> m_lastClick = 0;
    // The colour profiles previews have met, shared by their workers.
    ColourTransforms m_previewColours;
    std::atomic<bool> m_stop = false;
    PublishJob m_publisher; // keeps the last upload's connection open, idle
    ReportRelay m_relay;    // the run's reports, over to this thread
    std::unique_ptr<QThread> m_run;
    PublishResult m_result;
    QTimer* m_statusTimer;
};
