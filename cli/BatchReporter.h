#pragma once

#include "imaging/BatchObserver.h"
#include "upload/ServerTrust.h"

#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;
struct PublishResult;
struct UploadResult;

// Tells a command-line run on the terminal: status texts and messages one line each, in
// order, with file names escaped so that each report stays on its line, and on a terminal a
// progress bar redrawn in place. Counts what the summary needs. It never trusts a server key:
// it names the key and how to trust it.
class BatchReporter : public BatchObserver, public ServerTrust
{
public:
    BatchReporter(QIODevice& out, bool showProgress);

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
    bool trustServer(const ServerKey& key) override;

    // A file of the command line that does not exist.
    void missing(const QString& path);

    // Messages, unreadable pictures, outputs not written, renames that failed and missing
    // files.
    int failures() const { return m_failures; }
    // One line: pictures listed, outputs written, sources renamed, files uploaded, files
    // unchanged on the server, stale files removed, failures.
    QString summary(int listed, const PublishResult& result) const;
    // A dry run's plan, one step a line: "make folder PATH", "send PATH", "skip PATH",
    // "remove PATH", each path from the top of the server and escaped as every report is.
    static QStringList planLines(const UploadResult& upload);

private:
    void failure(const QString& text);
    void writeLine(const QString& text);
    void drawProgress();
    void clearProgress();

    QIODevice& m_out;
    const bool m_showProgress;
    QString m_status;
    int m_maximum = 0;
    int m_position = 0;
    bool m_progressShown = false;
    std::optional<TransferProgress> m_transfer; // while files go out
    int m_failures = 0;
};
