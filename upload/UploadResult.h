#pragma once

#include <QString>

#include <algorithm>
#include <vector>

// One thing an upload does or, in a dry run, would do.
struct UploadStep
{
    enum class Kind
    {
        MakeFolder,
        Send,
        Skip, // the server has the file as it is
        Remove,
    };

    Kind kind;
    QString remotePath; // from the top
};

// What became of an upload.
struct UploadResult
{
    int toSend = 0;     // the files handed to the upload
    int sent = 0;       // the files the server stored
    int unchanged = 0;  // the files the server already had as they are, not sent again
    int removed = 0;    // files this set no longer makes, removed from the server
    int notRemoved = 0; // such files the server refused to remove
    bool connected = false;
    bool stopped = false;     // a stop came before every file was tried
    bool tlsDeclined = false; // sent in clear, as the server offers no TLS
    bool dryRun = false;
    // A dry run's plan, in order: folders to make, then each file to send or skip, then the
    // files to remove.
    std::vector<UploadStep> plan;

    // Files that had to go, as the server's own did not match them.
    int changed() const { return toSend - unchanged; }
    // The steps of a kind in the plan.
    int steps(UploadStep::Kind kind) const;
    // Files a dry run would send.
    int planned() const { return steps(UploadStep::Kind::Send); }
    // Every file handed over is on the server as it is here, or would be after the dry run.
    bool allFilesThere() const { return (dryRun ? planned() : sent) + unchanged == toSend; }

    // Every file handed over is on the server as it is here; nothing refused to go.
    bool complete() const { return connected && !stopped && notRemoved == 0 && allFilesThere(); }
};

inline int UploadResult::steps(UploadStep::Kind kind) const
{
    return int(std::ranges::count(plan, kind, &UploadStep::kind));
}
