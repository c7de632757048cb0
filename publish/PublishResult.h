#pragma once

#include "imaging/ImageBatch.h"
#include "upload/UploadResult.h"

#include <QString>

#include <optional>

// What one run of Generate, or of Generate / Upload, did.
struct PublishResult
{
    GeneratedImages generated;
    std::optional<UploadResult> upload; // none when nothing was to be sent, or the run ended first

    bool stopped() const { return generated.stopped || (upload && upload->stopped); }
    // Everything asked for was done: every picture made (and renamed), every file stored.
    bool complete() const { return generated.complete() && (!upload || upload->complete()); }

    // The status text that ends the run: "Ready" or "Upload Complete" only when nothing
    // failed, else what was done: "21 of 25 pictures made; 4 could not be read.",
    // "Upload finished: 48 of 50 files sent.", "Cancelled: 12 of 40 pictures made."
    QString statusText() const;
};
