#pragma once

#include "base/BusyFlag.h"
#include "base/ImageList.h"
#include "dialogkit/DataExchange.h"
#include "imaging/BatchObserver.h"
#include "imaging/ColourTransforms.h"
#include "upload/ServerTrust.h"
#include "upload/Uploader.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <atomic>
#include <memory>
#include <utility>

class CFtpSettingsDlg;
class CImagePropertiesDlg;
class CMSFlexGrid;
class PreviewFrame;
class Prompter;
class QProgressBar;
class QTimer;
class StatusText;

// The form inside the main window: the picture grid, the group names, the list commands,
// generation, upload and the preview.
class CMorvaneView : public QWidget, private BatchObserver, private ServerTrust
{
    Q_OBJECT

public:
    CMorvaneView(Prompter& prompter, StatusText& status, QWidget* parent = nullptr);
    ~CMorvaneView() override;

    // Empties the list and the grid and reloads both settings holders; group names and the
    // preview stay.
    void OnInitialUpdate();

    bool UpdateData(bool saveAndValidate) { return m_exchange.UpdateData(saveAndValidate); }

    CImagePropertiesDlg& imageProperties() const { return *m_pImageProperties; }
    CFtpSettingsDlg& ftpSettings() const { return *m_pFtpSettings; }
    CMSFlexGrid& grid() const { return *m_grid; }
    const ImageList& images() const { return m_images; }

    // Writes the outputs of the grid's grouped rows and appends the paths written.
    void GenerateImages(QStringList& thumbnails, QStringList& largeImages);

public slots:
    void OnAdd();
    // Lists the pictures as Add lists the files chosen in its dialog: a path listed already
    // is left out, and the folder of the first one really added is remembered for the next
    // Add. Files handed over at start and files dropped onto the list come this way too.
    void addPictures(const QStringList& paths);
    void OnRemove();
    void OnGroup();
    void OnGenerate();
    // Generates, then sends every file made to the FTP server. The upload runs on a worker
    // thread while the window keeps painting; input waits until it is done.
    void UploadImages();
    // Puts "Ready" back in place of "Upload Complete".
    void OnTimer();
    // Starts a worker that writes the clicked picture's preview; the header row does nothing.
    void OnClickGrid();
    // Repaints the preview frame's whole box at once, so a larger earlier preview is erased.
    void RedrawPreview();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // How a generation run shows itself: status bar, message boxes, progress bar, and the
    // list and grid following renamed pictures.
    void status(const QString& text) override;
    void message(const QString& text) override;
    void progressRange(int maximum) override;
    void progressStep() override;
    void progressReset() override;
    void renamed(int row, const QString& newPath) override;
    void unreadable(int row, const QString& path) override;
    void notWritten(int row, const QString& path) override;
    // Asks through the FTP settings and writes a key trusted into their file at once.
    bool trustServer(const ServerKey& key) override;

    void ClearImageList();
    void OnPaint();
    static void PreviewThreadProc(CMorvaneView* view, const QString& path, int click);
    void SetStatusText(const QString& text);
    // The selected data rows as first and last; first is 0 when the header row is current.
    std::pair<int, int> selectedRows() const;

    Prompter& m_prompter;
    StatusText& m_status;
    DataExchange m_exchange;
    QProgressBar* m_progress;
    CMSFlexGrid* m_grid;
    PreviewFrame* m_previewFrame;
    std::array<QString, 5> m_groupText;
    std::unique_ptr<CImagePropertiesDlg> m_pImageProperties;
    std::unique_ptr<CFtpSettingsDlg> m_pFtpSettings;
    ImageList m_images;
    QString m_previewPath;
    QSize m_frameSize; // the preview frame as laid out, captured at the first paint
    BusyFlag m_busy;
    // Counts the clicks, so that a preview worker of an earlier click, finishing late, does
    // not replace the preview of the last one.
    std::atomic<int> m_lastClick = 0;
    // The colour profiles previews have met, shared by their workers.
    ColourTransforms m_previewColours;
    Uploader m_uploader; // keeps the last upload's session and connection open
    QTimer* m_statusTimer;
    // The batch counts data rows; the progress bar counts the grid's header row as well.
    bool m_generating = false;
};
